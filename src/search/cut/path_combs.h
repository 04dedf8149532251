#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/cut/tour_cut.h"

// Combs whose teeth are two groups of nodes joined by edges that add up to
// more than 1/2, which the blossoms of the point itself miss when no one of
// those edges does: each group shrunk to one node, the shrunk point's exact
// blossoms (ExactBlossomCuts) are grown back to the groups' nodes. The
// groups are the paths of edges at 1, and then each of sets (smaller ones
// first) that is made of whole groups so far: the sets whose leaving edges
// add up to 2 make teeth as tight as the paths do. Only combs whose teeth
// share no node, three or more of them, or blossoms of single nodes come
// back, each broken by the point. At most maxCuts, the most broken first;
// goOn as for ExactBlossomCuts.
std::vector<TTourCut> PathCombCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                   const std::function<bool()>& goOn = {},
                                   const std::vector<std::vector<int32_t>>& sets = {});
