#pragma once

#include <cstdint>
#include <vector>

#include "core/point_types.h"
#include "core/route_kind.h"

// Where the random and the genetic search may change a route of a kind: the
// positions First .. First + Count - 1. The kind's fixed points stand in the
// others: a fixed start first, a fixed end last. A round trip keeps its
// first point too (its start, or point 0 when it has none), which costs it
// nothing: any ring can be read from there. For the open route with free
// ends the stretch is the whole route.
struct TFreeStretch {
    int32_t First = 0;
    int32_t Count = 0;
    // The route's fixed points in place, -1 in the stretch.
    TSpecimen Frame;
    // The points that fill the stretch, ascending.
    std::vector<int32_t> Free;
};

// The stretch of a kind over n points; the kind is one RouteKindRefusal
// lets through.
TFreeStretch FreeStretch(const TRouteKind& kind, int32_t n);

// Fills route with a route of the stretch's kind: the fixed points in place
// and the free ones in the order that RandomRoute gives over Count entries
// (the same draws, one reseed). Over the whole route that is RandomRoute.
void RandomStretchRoute(const TFreeStretch& stretch, TSpecimen& route);
