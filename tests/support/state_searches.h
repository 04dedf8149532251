#pragma once

// The search methods as the tests call them on a whole set: the problem is
// made from the state (its matrix as the table, its places, the start given),
// and the routes come back into FBestRoute and FRoute, where the tests read
// them.

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/exact/exact_search.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/genetic/genetic_search.h"
#include "search/local/local_search.h"
#include "search/random/random_search.h"

inline TSearchOutcome KeepRoutes(TPointSetState& state, const TSearchOutcome& outcome)
{
    if (outcome.Evaluated)
        state.FBestRoute = outcome.Route;
    if (!outcome.WorkingRoute.empty())
        state.FRoute = outcome.WorkingRoute;
    return outcome;
}

inline TRouteProblem StartingAt(const TPointSetState& state, int32_t start)
{
    TRouteKind kind;
    kind.Start = start >= 0 && start < static_cast<int32_t>(state.FPoints.size()) ? start : -1;
    return ProblemOfState(state, kind);
}

inline TSearchOutcome SearchExhaustive(TPointSetState& state, TProgress& progress, bool pumpEveryStep = false,
                                       int32_t threads = 0)
{
    return KeepRoutes(state, SearchExhaustive(StartingAt(state, -1), progress, pumpEveryStep, threads));
}

inline TSearchOutcome SearchRandom(TPointSetState& state, TProgress& progress, int32_t tries,
                                   bool pumpEveryStep = false)
{
    return KeepRoutes(state, SearchRandom(StartingAt(state, -1), progress, tries, pumpEveryStep));
}

inline TSearchOutcome SearchGenetic(TPointSetState& state, TProgress& progress, const TGeneticParams& params,
                                    bool pumpEveryStep = false)
{
    return KeepRoutes(state, SearchGenetic(StartingAt(state, -1), progress, params, pumpEveryStep));
}

// The exact method's settings with the start first, as the tests write
// them; a start outside the set is a free start.
struct TExactRun {
    int32_t StartPoint = -1;
    double TimeLimitSeconds = 0.0;
};

inline TSearchOutcome SearchExact(TPointSetState& state, TProgress& progress, const TExactRun& run,
                                  bool pumpEveryStep = false)
{
    TExactParams params;
    params.TimeLimitSeconds = run.TimeLimitSeconds;
    return KeepRoutes(state, SearchExact(StartingAt(state, run.StartPoint), progress, params, pumpEveryStep));
}

inline TSearchOutcome SearchLocal(TPointSetState& state, TProgress& progress, const TLocalParams& params,
                                  bool pumpEveryStep = false, int32_t start = -1)
{
    return KeepRoutes(state, SearchLocal(StartingAt(state, start), progress, params, pumpEveryStep));
}
