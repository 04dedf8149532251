#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "raster/map_view_picture.h"

// What the map draws of a round trip beyond its links: the picture code
// draws stretches of links, whose first point is a start and last an end;
// a round trip's links end at its last point, and the way back to its first
// point is the kind's. Here the way back becomes one more link to draw, and
// the route's first point keeps its start mark.

struct TClosedRoute {
    // The points to draw: the way back linked when there is one.
    TPointArray Points;
    // The round trip's first point; -1 when nothing was closed (an open
    // route, or links that make no one route).
    int32_t First = -1;
};

// points with a round trip's way back linked, when kind is a round trip and
// the links make one route of at least two points.
TClosedRoute CloseRoundTrip(const TPointArray& points, const TRouteKind& kind);

// The start mark of a closed route's first point in a picture built from
// the closed points (whose ring has no start), in place of its plain mark;
// the numbers placed again around it when the picture has numbers.
void MarkRoundTripStart(TMapViewPicture& picture, int32_t first, bool numbers);
