#pragma once

#include <cstdint>
#include <vector>

#include "core/route_kind.h"
#include "search/bound/penalty_tree.h"
#include "search/neighbours/candidate_graph.h"
#include "search/neighbours/leg_meter.h"

// How a 1-tree of a kind of route is made from a spanning tree: every route
// of the kind, closed into a ring, is a 1-tree of this shape, so the
// lightest 1-tree under penalties bounds it from below.
//
// An open route is closed through a dummy point at no distance from every
// point (its free ends); the spanning tree spans the points and the dummy
// joins it by its two lightest edges, or by its forced edges to the fixed
// first and last points. A round trip leaves one point out of the spanning
// tree, the special point, which joins it by its two lightest edges.
struct TOneTreeShape {
    // The round trip's special point; -1 for an open route.
    int32_t Special = -1;
    // An open route's fixed ends (-1: free).
    int32_t Start = -1;
    int32_t End = -1;
};

TOneTreeShape ShapeOfKind(const TRouteKind& kind, int32_t pointCount);

// The special point's two lightest edges (a, b ends; their weights).
struct TSpecialEdges {
    int32_t A = -1;
    int32_t B = -1;
    double WeightA = 0.0;
    double WeightB = 0.0;
};

// The special point's two lightest edges over all points, each weighing
// (leg + penalty) + penalty in the order of its ends' numbers; on two
// points the one edge twice (a round trip there and back).
TSpecialEdges LightestEdgesOverAll(const TLegMeter& legs, const std::vector<double>& penalties, int32_t special);
// The same over the special point's edges of a candidate graph.
TSpecialEdges LightestEdgesOfGraph(const TCandidateGraph& graph, const std::vector<double>& penalties, int32_t special);

// The value of the 1-tree a spanning tree and the joining edges make, under
// the penalties, and the degrees the next step of an ascent follows.
struct TOneTree {
    long double Value = 0;
    long double Magnitude = 0;
    // Each point's degree in the 1-tree less two.
    std::vector<int32_t> Slopes;
    int64_t SquaredNorm = 0;
};

// special holds the round trip's joining edges; an open route's shape
// needs none.
TOneTree OneTreeOf(const TPenaltyTree& tree, const std::vector<double>& penalties, const TOneTreeShape& shape,
                   const TSpecialEdges& special);
