#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/route_kind.h"
#include "search/neighbours/leg_meter.h"
#include "search/neighbours/neighbour_lists.h"

// Candidate neighbours by how little a leg raises the lightest 1-tree
// (α-nearness): after a short ascent of point penalties on the nearest
// points' graph, a leg (i, j) costs its weight less the heaviest edge on
// the spanning tree's path from i to j, so legs of the tree cost nothing and
// a leg that would close a loop of light edges costs much. Lists holds, of
// each point's nearest points on the plane and its nearest in each quarter
// of the plane around it (for clustered sets), the count that cost least,
// nearer first; Penalties the ascent's point penalties. A local search that
// weighs its legs with them (see TLocalRing) asks for weighing: a longer
// ascent. goOn is asked now and then; once it answers false the work ends,
// and both come back empty (Lists.Count() 0).
struct TAlphaCandidates {
    TNeighbourLists Lists{0, {}};
    std::vector<double> Penalties;
};
TAlphaCandidates AlphaCandidates(const TLegMeter& legs, const TRouteKind& kind, int32_t count,
                                 const std::function<bool()>& goOn = {}, bool weighing = false);
