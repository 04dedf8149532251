#pragma once

#include "core/point_set.h"
#include "raster/bitmap32.h"
#include "raster/map_fit.h"
#include "raster/map_shapes.h"

#include <cstdint>
#include <functional>

// Draws the whole map afresh at width x height (see DrawMapShapes): white
// ground, per point in index order its square and then its link, a grey
// frame over the outermost pixels. The surface reports its size even when
// it kept it, and the drawing itself reaches the view as a single change
// notification. With fit off every point sits at its own coordinates.
void RenderMap(TBitmap32& surface, int32_t width, int32_t height, const TPointArray& points,
               const std::function<bool(int32_t)>& isSelected, const TMapFit& fit = TMapFit());
