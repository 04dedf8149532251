#pragma once

#include <string>
#include <vector>

#include "raster/map_view_picture.h"

// The view's picture (see BuildMapViewPicture) as an SVG file's bytes,
// written by hand so that it stays small: places unrounded (to a hundredth
// of a pixel), all links one path, the marks of a kind one path each, the
// numbers as text.
std::string EncodeMapViewSvg(const TMapViewPicture& picture);

// The numbers alone, as an SVG group to go into a picture of the map.
std::string SvgLabels(const std::vector<TViewLabel>& labels);
