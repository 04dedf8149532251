#include "search/exhaustive_search.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "search/exhaustive_ranges.h"
#include "search/step_pacer.h"

void DecodeCountingOrder(int64_t k, int32_t n, TSpecimen& route)
{
    route.resize(static_cast<size_t>(std::max(n, 0)));
    std::vector<int32_t> digits(static_cast<size_t>(std::max(n - 1, 0)));
    int64_t q = k;
    for (int32_t i = 2; i <= n; ++i) {
        digits[i - 2] = static_cast<int32_t>(q % i);
        q /= i;
    }
    for (int32_t j = 0; j < n; ++j)
        route[j] = j;
    for (int32_t i = n; i >= 2; --i)
        SwapValues(route[digits[i - 2]], route[i - 1]);
}

int64_t CountingPosition(const TSpecimen& route)
{
    // Position i - 1 takes its final point at the decoder's step i, from
    // wherever that point stands then; its digit is that place.
    const int32_t n = static_cast<int32_t>(route.size());
    TSpecimen work(route.size());
    for (int32_t j = 0; j < n; ++j)
        work[j] = j;
    int64_t k = 0;
    for (int32_t i = n; i >= 2; --i) {
        int32_t digit = 0;
        while (work[digit] != route[i - 1])
            ++digit;
        SwapValues(work[digit], work[i - 1]);
        k += digit * Factorial(i - 1);
    }
    return k;
}

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

TSearchOutcome SearchExhaustive(TPointSetState& state, TProgress& progress, bool pumpEveryStep, int32_t threads)
{
    progress.ShowStatus("Przeszukiwanie wyczerpujące...", 0);
    const int32_t n = static_cast<int32_t>(state.FPoints.size());
    TSearchOutcome outcome;
    if (n < 1 || n > MaxExhaustivePoints) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    const int64_t last = Factorial(n) - 1;
    progress.PrBar().SetMax(last < 2147483647 ? static_cast<int32_t>(last) : 2147483647);

    state.FRoute.resize(n);
    state.FBestRoute.resize(n);
    TStepPacer pacer(progress, pumpEveryStep);
    // From 13 points on the routes outnumber the bar's positions.
    if (last >= 2147483647)
        pacer.ShowShareOf(last + 1);
    const int32_t count = ExhaustiveThreadCount(n, pumpEveryStep, threads);
    if (count < 2 || SearchExhaustiveRanges(state.FDistances, n, count, pacer, state.FBestRoute) < 0) {
        TExhaustiveScan<TStepPacer> scan(state.FDistances, n, pacer, state.FBestRoute);
        scan.Run();
    }
    pacer.Flush();

    outcome.Steps = pacer.StepsDone();
    outcome.Evaluated = true;
    // The working route ends as the last one evaluated.
    DecodeCountingOrder(std::max<int64_t>(outcome.Steps - 1, 0), n, state.FRoute);
    progress.ShowStatus("", 0);
    return outcome;
}
