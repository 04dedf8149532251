#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/neighbours/candidate_graph.h"

// A minimum spanning tree of the points when every edge (u, v) weighs its
// length plus the penalties of both ends, computed as
// (PlainDistance + penalty[u]) + penalty[v] in doubles.
struct TPenaltyTree {
    // The point each point hangs from; -1 for the root.
    std::vector<int32_t> Parents;
    // The tree's edges' weights as computed, summed in extended precision,
    // and the sum of their magnitudes (for the rounding margin).
    long double Weight = 0;
    long double Magnitude = 0;
};

// Prim's algorithm over all pairs: quadratic, and exact for the weights as
// computed. Calls goOn after each point joins and gives up, returning
// false, once it answers false.
bool CompletePenaltyTree(const std::vector<double>& x, const std::vector<double>& y,
                         const std::vector<double>& penalties, TPenaltyTree& tree, const std::function<bool()>& goOn);

// The same over a connected candidate graph only: never lighter than the
// complete tree, and much faster. Calls goOn, when given, after every 64
// points that join, and gives up, returning false, once it answers false.
bool SparsePenaltyTree(const TCandidateGraph& graph, const std::vector<double>& penalties, TPenaltyTree& tree,
                       const std::function<bool()>& goOn = {});
