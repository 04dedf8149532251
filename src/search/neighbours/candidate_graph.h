#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "search/neighbours/leg_meter.h"
#include "search/neighbours/plain_distance.h"

// A sparse graph over the points for work that can't afford all pairs:
// each point's nearest neighbours on the plane, found through the point
// tree, plus any edges the caller adds (a spanning tree keeps the graph
// connected).
// Adjacency in compressed rows, each edge listed at both its ends.
struct TCandidateGraph {
    // Neighbours of point i: Targets[Starts[i]] up to Targets[Starts[i + 1]].
    std::vector<int32_t> Starts;
    std::vector<int32_t> Targets;
    // The edge's leg (TLegMeter's), in the same order as Targets.
    std::vector<double> Lengths;
};

// Each point's neighbourCount nearest points (fewer in smaller sets), and
// the extra edges, without repeats. Calls goOn, when given, after each
// point's neighbours and gives up, returning false, once it answers false.
bool BuildCandidateGraph(const TLegMeter& legs, int32_t neighbourCount,
                         const std::vector<std::pair<int32_t, int32_t>>& extraEdges, TCandidateGraph& graph,
                         const std::function<bool()>& goOn = {});
