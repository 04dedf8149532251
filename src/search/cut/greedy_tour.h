#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "search/cut/cut_graph.h"

// A tour through every node of the graph: its kept edges first, then the
// preferred edges in their order wherever they fit (no node with a third
// edge, no ring short of every node), then the paths left joined end to
// end, each time by the cheapest allowed edge from the end in hand.
std::vector<int32_t> GreedyTour(const TCutGraph& graph, const std::vector<std::pair<int32_t, int32_t>>& preferred);
