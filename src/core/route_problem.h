#pragma once

#include <cstdint>

#include "core/measure.h"
#include "core/point_types.h"
#include "core/route_kind.h"

// Up to this many points the legs of a set are kept as a table (8 MB at
// most); beyond, every leg is measured when it is needed, so memory grows
// with the points and not with their pairs.
inline constexpr int32_t MaxLegTablePoints = 1024;

// What a search is asked: the set's legs and which routes count. A search
// gets its own copy, so the set may change while it runs (a point added on
// the map) without the search noticing.
struct TRouteProblem {
    TMeasure Measure;
    TRouteKind Kind;
    // The legs as a table, for the methods that read one; empty beyond
    // MaxLegTablePoints points. Cells equal Measure.Leg bit for bit.
    TDistanceMatrix Distances;

    int32_t Count() const { return Measure.Count(); }
    bool HasTable() const { return !Distances.empty(); }
    // A leg from the table when there is one, measured otherwise.
    double Leg(int32_t a, int32_t b) const
    {
        return HasTable() ? Distances[static_cast<size_t>(a)][static_cast<size_t>(b)] : Measure.Leg(a, b);
    }
    // KindRouteLength of a route under this problem's kind.
    double Length(const TSpecimen& route) const;
};

// A problem over the measure with the given kind; with withTable the table
// is filled when the set is small enough for one (the methods that work from
// the coordinates need none).
TRouteProblem MakeRouteProblem(TMeasure measure, const TRouteKind& kind, bool withTable = true);

struct TPointSetState;

// The problem a search of the set in state is asked, with the given kind:
// the set's measure, and the state's distance matrix as the table when it
// holds one of the set's size (it may differ from the measure's legs: it is
// what the set's searches have always read), or without one.
TRouteProblem ProblemOfState(const TPointSetState& state, const TRouteKind& kind, bool withTable = true);
