#pragma once

#include <string>

#include "raster/bitmap32.h"

// The surface's red, green and blue as a PNG file's bytes (the alpha byte
// is not part of the picture). Empty if the encoder fails.
std::string EncodePng(const TBitmap32& surface);
