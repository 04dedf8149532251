#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"
#include "core/route_kind.h"

// What the exhaustive search orders for a kind of route: the free points,
// after a point the kind fixes first and before one they lead to. A round
// trip comes back to its first point, so that point is fixed (its start, or
// point 0 when it has none) and only the others are ordered: (n - 1)!
// routes. A fixed start or end of an open route stands in its place the
// same way. For the open route with free ends every point is free and the
// routes are the n! of the plain counting order.
struct TRouteFrame {
    int32_t Count = 0;
    // The route's first point when it is fixed; -1 otherwise.
    int32_t Head = -1;
    // Where the last free point leads: a fixed end, or a round trip's way
    // back to Head; -1 when it leads nowhere.
    int32_t Tail = -1;
    // The tail is the route's last point (a fixed end), not the way back.
    bool TailInRoute = false;
    // The points the search orders, ascending.
    std::vector<int32_t> Free;

    int32_t FreeCount() const { return static_cast<int32_t>(Free.size()); }
    bool RoundTrip() const { return Tail >= 0 && !TailInRoute; }
    // Whether the kind fixes any point; if not, the routes are the open
    // route's with free ends.
    bool FixesPoints() const { return Head >= 0 || Tail >= 0; }

    // The whole route (Count entries) for an order of the free points.
    void Expand(const int32_t* order, int32_t* route) const;
    // The route that counter value k of the free points' counting order
    // stands for.
    void Decode(int64_t k, TSpecimen& route) const;
    // The counter value of a whole route of the frame.
    int64_t Position(const TSpecimen& route) const;
    // The route's length under the kind: legs added with AddLeg from the
    // first point, a round trip's way back last.
    double Length(const TDistanceMatrix& distances, const TSpecimen& route) const;
};

// The frame of a kind over n points; the kind is one RouteKindRefusal
// lets through.
TRouteFrame FrameOfKind(const TRouteKind& kind, int32_t n);
