#include "search/exhaustive/exhaustive_search.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "search/exhaustive/exhaustive_ranges.h"
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

TSearchOutcome SearchExhaustive(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep, int32_t threads)
{
    progress.ShowStatus("Przeszukiwanie wyczerpujące...", 0);
    const int32_t n = problem.Count();
    TSearchOutcome outcome;
    if (n < 1 || n > MaxExhaustivePoints) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    const int64_t last = Factorial(n) - 1;
    progress.PrBar().SetMax(last < 2147483647 ? static_cast<int32_t>(last) : 2147483647);

    const TDistanceMatrix& distances = problem.Distances;
    outcome.Route.resize(n);
    TStepPacer pacer(progress, pumpEveryStep);
    // From 13 points on the routes outnumber the bar's positions.
    if (last >= 2147483647)
        pacer.ShowShareOf(last + 1);
    const int32_t count = ExhaustiveThreadCount(n, pumpEveryStep, threads);
    if (count < 2 || SearchExhaustiveRanges(distances, n, count, pacer, outcome.Route) < 0) {
        pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, RouteLength(distances, outcome.Route)); });
        TExhaustiveScan<TStepPacer> scan(distances, n, pacer, outcome.Route);
        scan.Run();
    }
    pacer.Flush();

    outcome.Steps = pacer.StepsDone();
    outcome.Evaluated = true;
    // Every route decided, evaluated or ruled out by a floor.
    outcome.Proved = outcome.Steps == last + 1;
    // The working route ends as the last one evaluated.
    outcome.WorkingRoute.resize(n);
    DecodeCountingOrder(std::max<int64_t>(outcome.Steps - 1, 0), n, outcome.WorkingRoute);
    progress.ShowStatus("", 0);
    return outcome;
}
