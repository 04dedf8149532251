#include "search/exhaustive/exhaustive_search.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "search/exhaustive/exhaustive_ranges.h"
#include "search/exhaustive/route_frame.h"
#include "search/pace/step_pacer.h"

int32_t ExhaustiveThreadCount(int32_t n, bool pumpEveryStep, int32_t threads)
{
    if (pumpEveryStep || ExhaustiveRangeCount(n) == 0)
        return 1;
    if (threads > 0)
        return static_cast<int32_t>(std::min<int64_t>({threads, MaxExhaustiveThreads, ExhaustiveRangeCount(n)}));
    // Up to 12 points the search takes a few milliseconds at most, too
    // little for threads to pay off.
    if (n <= 12)
        return 1;
    return static_cast<int32_t>(std::clamp<int64_t>(std::thread::hardware_concurrency(), 1,
                                                    std::min<int64_t>(MaxExhaustiveThreads, ExhaustiveRangeCount(n))));
}

namespace {

// The problem's legs as a table: its own, or measured here for a problem
// made without one (twenty points at most).
TDistanceMatrix LegTable(const TRouteProblem& problem)
{
    if (problem.HasTable())
        return problem.Distances;
    const int32_t n = problem.Count();
    TDistanceMatrix table(static_cast<size_t>(n), TDistanceRow(static_cast<size_t>(n), 0.0));
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < n; ++j)
            if (i != j)
                table[i][j] = problem.Leg(i, j);
    return table;
}

}  // namespace

TSearchOutcome SearchExhaustive(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep, int32_t threads)
{
    progress.ShowStatus("Przeszukiwanie wyczerpujące...", 0);
    const int32_t n = problem.Count();
    TSearchOutcome outcome;
    if (n < 1 || n > MaxExhaustivePoints) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    // The kind's fixed points stand around the free ones, which alone are
    // ordered: n! routes for the open route with free ends, (n - 1)! for a
    // round trip or a fixed start or end, (n - 2)! for both ends fixed.
    const TRouteFrame frame = FrameOfKind(problem.Kind, n);
    const int32_t free = frame.FreeCount();
    const int64_t last = Factorial(free) - 1;
    progress.PrBar().SetMax(last < 2147483647 ? static_cast<int32_t>(last) : 2147483647);

    const TDistanceMatrix distances = LegTable(problem);
    outcome.Route.resize(n);
    TStepPacer pacer(progress, pumpEveryStep);
    // From 13 free points on the routes outnumber the bar's positions.
    if (last >= 2147483647)
        pacer.ShowShareOf(last + 1);
    const int32_t count = ExhaustiveThreadCount(free, pumpEveryStep, threads);
    if (count < 2 || SearchExhaustiveRanges(distances, frame, count, pacer, outcome.Route) < 0) {
        pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, frame.Length(distances, outcome.Route)); });
        if (frame.FixesPoints())
            TExhaustiveScan<TStepPacer, true>(distances, frame, pacer, outcome.Route).Run();
        else
            TExhaustiveScan<TStepPacer, false>(distances, frame, pacer, outcome.Route).Run();
    }
    pacer.Flush();

    outcome.Steps = pacer.StepsDone();
    outcome.Evaluated = true;
    // Every route decided, evaluated or ruled out by a floor.
    outcome.Proved = outcome.Steps == last + 1;
    // The working route ends as the last one evaluated.
    frame.Decode(std::max<int64_t>(outcome.Steps - 1, 0), outcome.WorkingRoute);
    progress.ShowStatus("", 0);
    return outcome;
}
