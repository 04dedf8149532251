#include "search/exhaustive_search.h"

#include <algorithm>
#include <vector>

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

TSearchOutcome SearchExhaustive(TPointSetState& state, TProgress& progress, bool pumpEveryStep)
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
    TExhaustiveScan<TStepPacer> scan(state.FDistances, n, pacer, state.FBestRoute);
    scan.Run();
    pacer.Flush();

    outcome.Steps = pacer.StepsDone();
    outcome.Evaluated = true;
    // The working route ends as the last one evaluated.
    DecodeCountingOrder(std::max<int64_t>(outcome.Steps - 1, 0), n, state.FRoute);
    progress.ShowStatus("", 0);
    return outcome;
}
