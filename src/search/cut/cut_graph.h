#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/point_types.h"
#include "core/route_problem.h"

// A problem as the branch and cut sees it: a complete graph whose tours are
// the routes of the problem's kind. A round trip is a tour of the points;
// an open route is a tour through one more node, the gap, joined at no cost
// to every point that may end the route (to the start and the end alone
// when both are fixed), so that the route is the tour with the gap taken
// out. A fixed start or end is an edge of the gap every tour keeps.
class TCutGraph {
public:
    // The problem must outlive the graph.
    explicit TCutGraph(const TRouteProblem& problem);

    const TRouteProblem& Problem() const { return FProblem; }
    int32_t Points() const { return FPoints; }
    int32_t Nodes() const { return FNodes; }
    // The gap's node; -1 for a round trip.
    int32_t Gap() const { return FGap; }

    // Whether a tour may use the edge between two distinct nodes.
    bool Allowed(int32_t a, int32_t b) const
    {
        if (a != FGap && b != FGap)
            return true;
        const int32_t point = a == FGap ? b : a;
        return !FGapToEnds || point == FProblem.Kind.Start || point == FProblem.Kind.End;
    }
    // The edge's cost: the leg between two points (the shorter way when the
    // legs differ by direction), 0 from the gap. Only for allowed edges.
    double Cost(int32_t a, int32_t b) const
    {
        if (a == FGap || b == FGap)
            return 0.0;
        if (!FCache.empty())
            return FCache[CacheIndex(a, b)];
        return Leg(a, b);
    }
    // Whether every cost is a whole number, so that sums are exact and a
    // tour's length is a whole number.
    bool WholeCosts() const { return FWholeCosts; }
    // The edges every tour keeps (the gap to a fixed start or end).
    const std::vector<std::pair<int32_t, int32_t>>& KeptEdges() const { return FKept; }
    bool Kept(int32_t a, int32_t b) const;

    // The count nearest allowed nodes of every node by cost (the gap first
    // where it is allowed: it costs nothing), for candidate edges; the gap's
    // own list is empty.
    std::vector<std::vector<int32_t>> Nearest(int32_t count) const;

    // The route of the problem's kind along a tour of the nodes, read the
    // way that problem.Length finds shortest (its rounding may tell readings
    // of one tour apart); empty when the tour breaks the kind.
    TSpecimen RouteOfTour(const std::vector<int32_t>& tour) const;
    // The tour of a route of the problem's kind (the gap put back).
    std::vector<int32_t> TourOfRoute(const TSpecimen& route) const;
    // The sum of the tour's costs, in extended precision.
    long double TourCost(const std::vector<int32_t>& tour) const;

    // problem.Length may come out below the exact sum of a route's legs by
    // its roundings: by less than this share of the sum.
    long double RoundingShare() const { return FRoundingShare; }

private:
    double Leg(int32_t a, int32_t b) const;
    size_t CacheIndex(int32_t a, int32_t b) const
    {
        const size_t hi = static_cast<size_t>(a > b ? a : b);
        const size_t lo = static_cast<size_t>(a > b ? b : a);
        return hi * (hi - 1) / 2 + lo;
    }

    const TRouteProblem& FProblem;
    int32_t FPoints = 0;
    int32_t FNodes = 0;
    int32_t FGap = -1;
    bool FGapToEnds = false;
    bool FWholeCosts = false;
    long double FRoundingShare = 0;
    std::vector<std::pair<int32_t, int32_t>> FKept;
    std::vector<double> FCache;
};

// The key of an edge between two distinct nodes, the same either way round.
inline int64_t EdgeKey(int32_t a, int32_t b)
{
    const int64_t hi = a > b ? a : b;
    const int64_t lo = a > b ? b : a;
    return hi * (hi - 1) / 2 + lo;
}
