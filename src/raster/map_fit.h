#pragma once

#include <cstdint>

#include "core/point_set.h"

// Where the map draws its points. Off, every point sits at its own
// coordinates (map pixels). On, map = point * Scale + Offset, rounded to the
// nearest pixel, both axes with one scale so shapes keep their proportions;
// y still grows downwards.
struct TMapFit {
    bool On = false;
    double Scale = 1.0;
    double OffsetX = 0.0;
    double OffsetY = 0.0;

    int32_t MapX(int32_t x) const;
    int32_t MapY(int32_t y) const;
    // The inverse, rounded to the nearest integer: the point that a click on
    // map pixel (mapX, mapY) adds.
    int32_t PointX(int32_t mapX) const;
    int32_t PointY(int32_t mapY) const;
};

// Clear space between the map's edge and the nearest square.
inline constexpr int32_t MapFitMarginPx = 10;

// The points' bounding box; points must not be empty.
struct TPointExtent {
    int64_t MinX = 0;
    int64_t MaxX = 0;
    int64_t MinY = 0;
    int64_t MaxY = 0;
};
TPointExtent ExtentOf(const TPointArray& points);

// A fit that scales the points' bounding box to fill a width x height map
// and centres it, every square (top-left at the point, up to
// MapSelectedPointSizePx wide) at least MapFitMarginPx inside the edge.
// A set of one point, or of equal points, keeps scale 1 and sits in the
// middle; points on one horizontal or vertical line are scaled along it and
// centred across it; an empty set gets no offset, so the first click adds a
// point where it was made.
TMapFit FitMapToPoints(const TPointArray& points, int32_t width, int32_t height);
