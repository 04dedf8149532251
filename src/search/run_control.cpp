#include "search/run_control.h"

#include <algorithm>
#include <chrono>

#include "core/number_text.h"
#include "core/point_set_ops.h"
#include "search/exhaustive_search.h"
#include "search/random_search.h"

namespace {

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string TooFewPoints(int32_t needed)
{
    return "Za mało punktów dla wybranej metody (potrzeba co najmniej " + std::to_string(needed) + ").";
}

}  // namespace

std::string SearchRefusal(int method, int32_t pointCount)
{
    switch (method) {
    case smExhaustive:
        if (pointCount < 1)
            return TooFewPoints(1);
        // Beyond 20 points n! no longer fits the route counter.
        if (pointCount > MaxExhaustivePoints)
            return "Przeszukiwanie wyczerpujące obsługuje najwyżej 20 punktów.";
        return {};
    case smRandom:
        return pointCount < MinRandomPoints ? TooFewPoints(MinRandomPoints) : std::string();
    case smGenetic:
        return pointCount < MinGeneticPoints ? TooFewPoints(MinGeneticPoints) : std::string();
    default:
        return "Nieznana metoda przeszukiwania.";
    }
}

TRunResult RunSearch(TPointSetState& state, TRunHost& host, int method, const TSearchSettings& settings)
{
    TRunResult result;
    const int32_t n = static_cast<int32_t>(state.FPoints.size());
    result.Refusal = SearchRefusal(method, n);
    if (!result.Refusal.empty())
        return result;

    ClearRoute(state, host);
    state.FRoute.resize(n, 0);
    state.FBestRoute.resize(n, 0);
    state.FSearching = true;
    host.PrBar().SetPosition(0);
    host.BeginSearchView();
    host.ProcessEvents();
    const int64_t start = NowMs();

    const bool pumpEveryStep = host.PumpEveryStep();
    switch (method) {
    case smExhaustive:
        result.Outcome = SearchExhaustive(state, host, pumpEveryStep);
        break;
    case smRandom:
        result.Outcome = SearchRandom(state, host, settings.RandomCount, pumpEveryStep);
        break;
    default:
        result.Outcome = SearchGenetic(state, host, settings.Genetic, pumpEveryStep);
        break;
    }

    // A run that evaluated nothing (no tries) has no route to measure or
    // apply: the links stay cleared and only the time is reported.
    const bool evaluated = result.Outcome.Evaluated;
    if (evaluated)
        result.Length = RouteLength(state.FDistances, state.FBestRoute);
    result.ElapsedMs = std::max<int64_t>(0, NowMs() - start);
    host.AppendResult("Czas przeszukiwania: " + FormatElapsedTime(result.ElapsedMs, host.LongTimeFormat()));
    if (evaluated)
        host.AppendResult("Długość najkrótszej drogi: " + FormatNumber(result.Length, 2, host.NumberFormat()));
    state.FSearching = false;
    if (evaluated)
        ApplyBestRoute(state.FPoints, state.FBestRoute);
    host.PrBar().SetPosition(0);
    host.RefreshPointList();
    return result;
}
