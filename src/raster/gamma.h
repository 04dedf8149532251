#pragma once

#include <array>
#include <cstdint>

using TGammaTable = std::array<uint8_t, 256>;

// Weights of the two pixels of an anti-aliased line step, lightened so that
// the pair looks as dark as one full pixel: entry i = round(255 * (i / 255)^0.7).
// Built on first use and never changed afterwards.
const TGammaTable& GammaTable();
