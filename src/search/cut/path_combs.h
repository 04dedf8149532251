#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/cut/tour_cut.h"

// Combs whose teeth are two paths of edges at 1 joined by edges that add
// up to more than 1/2, which the blossoms of the point itself miss when no
// one of those edges does: each path of edges at 1 shrunk to one node, the
// shrunk point's exact blossoms (ExactBlossomCuts) are grown back to the
// paths' nodes. Only combs whose teeth share no node, three or more of
// them, or blossoms of single nodes come back, each broken by the point.
// At most maxCuts, the most broken first; goOn as for ExactBlossomCuts.
std::vector<TTourCut> PathCombCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                   const std::function<bool()>& goOn = {});
