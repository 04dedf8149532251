#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/point_set.h"
#include "raster/map_fit.h"

// The map as an SVG file's bytes: the same shapes as the PNG (see
// DrawMapShapes), as rectangles and lines rather than pixels, so the
// picture stays sharp at any size. width x height is the picture's size in
// pixels; shapes are cut at its edge. An empty isSelected selects nothing.
std::string EncodeMapSvg(const TPointArray& points, int32_t width, int32_t height,
                         const std::function<bool(int32_t)>& isSelected, const TMapFit& fit = TMapFit());
