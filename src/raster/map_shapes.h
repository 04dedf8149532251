#pragma once

#include <cstdint>
#include <functional>

#include "core/point_set.h"
#include "raster/bitmap32.h"
#include "raster/map_fit.h"

inline constexpr TColor32 MapBackgroundColor = 0xFFFFFFFFu;
inline constexpr TColor32 MapPointColor = 0xFF000000u;
inline constexpr TColor32 MapSelectedPointColor = 0xFFFF0000u;
inline constexpr TColor32 MapLinkColor = 0xFF000000u;
inline constexpr TColor32 MapFrameColor = 0xFF7F7F7Fu;

// Squares have the point as their top-left pixel, not as their centre.
inline constexpr int32_t MapPointSizePx = 4;
inline constexpr int32_t MapSelectedPointSizePx = 6;

// Whatever draws the map: the bitmap behind the window and the PNG, the
// SVG picture. Coordinates are map pixels and may lie far outside the map;
// each sink clips.
class TMapSink {
public:
    virtual ~TMapSink() = default;
    // The ground: every pixel of the map.
    virtual void Clear(TColor32 colour) = 0;
    // Half-open: x1 <= x < x2, y1 <= y < y2.
    virtual void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) = 0;
    // One pixel wide, from the pixel (x1, y1) up to, not including, (x2, y2).
    virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) = 0;
    // The outermost pixels of the half-open rectangle.
    virtual void FrameRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) = 0;
};

// The map at width x height (a negative size counts as 0), shape by shape:
// white ground, per point in index order its square (red and larger when
// isSelected says so) at the point's place under fit and then its link to
// the successor, and a grey frame over the outermost pixels last. An empty
// isSelected selects nothing.
void DrawMapShapes(TMapSink& sink, int32_t width, int32_t height, const TPointArray& points,
                   const std::function<bool(int32_t)>& isSelected, const TMapFit& fit);
