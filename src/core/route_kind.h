#pragma once

#include <cstdint>
#include <string>

#include "core/measure.h"
#include "core/point_types.h"

// Which routes a search looks among. The default is the open route with
// free ends. A round trip returns from its last point to its first, and
// its length counts that closing leg. Either kind may start at a given
// point; an open route may also end at one.
struct TRouteKind {
    bool RoundTrip = false;
    // -1: any point may come first (or last).
    int32_t Start = -1;
    int32_t End = -1;

    bool operator==(const TRouteKind&) const = default;
    // An open route with free ends: the one kind every method had at first.
    bool FreeOpen() const { return !RoundTrip && Start < 0 && End < 0; }
};

// Empty when the kind can be asked of a set of pointCount points, otherwise
// why not: an end on a round trip, the same start and end on an open
// route, a point number outside the set.
std::string RouteKindRefusal(const TRouteKind& kind, int32_t pointCount);

// Whether the route visits every point of a set of pointCount points once
// and starts and ends where the kind says. A round trip with a start may be
// read from any point of its ring, so it fits when it starts at Start.
bool RouteFitsKind(const TSpecimen& route, const TRouteKind& kind, int32_t pointCount);

// The length of a route of this kind: the open route's legs added with
// AddLeg from start to end, then for a round trip the leg back from the
// last point to the first.
double KindRouteLength(const TMeasure& measure, const TSpecimen& route, const TRouteKind& kind);
// The same from a distance matrix.
double KindRouteLength(const TDistanceMatrix& distances, const TSpecimen& route, const TRouteKind& kind);

// "otwarta" or "zamknięta", then the fixed ends: "otwarta, od punktu 3 do
// punktu 7"; point numbers as the point list shows them (from 0).
std::string RouteKindText(const TRouteKind& kind);
