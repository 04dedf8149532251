#pragma once

#include "core/point_set.h"
#include "raster/bitmap32.h"

#include <cstdint>
#include <functional>

inline constexpr TColor32 MapBackgroundColor = 0xFFFFFFFFu;
inline constexpr TColor32 MapPointColor = 0xFF000000u;
inline constexpr TColor32 MapSelectedPointColor = 0xFFFF0000u;
inline constexpr TColor32 MapLinkColor = 0xFF000000u;
inline constexpr TColor32 MapFrameColor = 0xFF7F7F7Fu;

// Squares have the point as their top-left pixel, not as their centre.
inline constexpr int32_t MapPointSizePx = 4;
inline constexpr int32_t MapSelectedPointSizePx = 6;

// Draws the whole map afresh at width x height: white ground, per point in
// index order its square (red and larger when isSelected says so) and then
// its link to the successor, and a grey frame over the outermost pixels.
// The surface reports its size even when it kept it, and the drawing
// itself reaches the view as a single change notification.
// An empty isSelected selects nothing.
void RenderMap(TBitmap32& surface, int32_t width, int32_t height, const TPointArray& points,
               const std::function<bool(int32_t)>& isSelected);
