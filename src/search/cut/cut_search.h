#pragma once

#include <cstdint>
#include <string>

#include "core/progress.h"
#include "core/route_problem.h"
#include "search/pace/search_outcome.h"

// Bytes the branch and cut takes at most for this many points: the legs
// kept as a table where there is one, the linear programme with its edges
// and cuts, the edges the root leaves alive and the open subproblems.
uint64_t CutMemoryBytes(int32_t pointCount);

// The exact method by branch and cut (TBranchAndCut) on any problem: every
// kind of route, every measure. First a good route, from the nearest
// neighbours settled by TTourPolish with a fixed seed; then the cuts and
// the branches. The status text tells the best length, the bound and the
// open subproblems, the bar the share of tours ruled out, the live route is
// offered whenever it gets shorter, and Steps counts the subproblems. After
// a stop Route holds the best route so far and Bound what was proved of
// every route: the least bound of the open subproblems.
TSearchOutcome SearchByCuts(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep = false);
