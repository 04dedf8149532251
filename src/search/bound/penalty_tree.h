#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/neighbours/candidate_graph.h"
#include "search/neighbours/leg_meter.h"

// A minimum spanning tree of the points when every edge (u, v) weighs its
// leg (TLegMeter's) plus the penalties of both ends, computed in doubles.
// One point may be left out (excluded >= 0): it joins no tree.
struct TPenaltyTree {
    // The point each point hangs from; -1 for the root and a point left out.
    std::vector<int32_t> Parents;
    // The tree's edges' weights as computed, summed in extended precision,
    // and the sum of their magnitudes (for the rounding margin).
    long double Weight = 0;
    long double Magnitude = 0;
};

// Prim's algorithm over all pairs, each edge (u, v) weighing
// (leg + penalty[u]) + penalty[v] as it joins: quadratic, and exact for the
// weights as computed. Calls goOn after each point joins and gives up,
// returning false, once it answers false.
bool CompletePenaltyTree(const TLegMeter& legs, const std::vector<double>& penalties, int32_t excluded,
                         TPenaltyTree& tree, const std::function<bool()>& goOn);

// The same over a connected candidate graph only: never lighter than the
// complete tree, and much faster. Calls goOn, when given, after every 64
// points that join, and gives up, returning false, once it answers false.
bool SparsePenaltyTree(const TCandidateGraph& graph, const std::vector<double>& penalties, int32_t excluded,
                       TPenaltyTree& tree, const std::function<bool()>& goOn = {});

// Adds an edge's weight to the tree's sums.
void AddTreeEdge(TPenaltyTree& tree, double weight);
