#include "search/run/run_control.h"

#include <algorithm>
#include <chrono>

#include "core/number_text.h"
#include "core/usable_memory.h"
#include "search/bound/bound_texts.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/random/random_search.h"

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

std::string LengthLine(TSearchMethod method, bool proved, double length, const TNumberFormat& format)
{
    return LengthLine(method, proved, length, format, TLengthWords());
}

std::string LengthLine(TSearchMethod method, bool proved, double length, const TNumberFormat& format,
                       const TLengthWords& words)
{
    // The exact method promises the shortest route: a route it has not
    // proved shortest (stopped early) is not called so, nor is the local
    // search's, which proves nothing.
    const bool unproved = (method == smExact && !proved) || method == smLocal;
    const std::string caption = unproved ? "Długość najlepszej znalezionej " : "Długość najkrótszej ";
    return caption + RouteGenitive(words) + ": " + LengthText(length, words, format);
}

std::string SearchRefusal(TSearchMethod method, int32_t pointCount)
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
    case smExact:
        return ExactRefusal(pointCount, PhysicalMemoryBytes(), CurrentMemoryRoom().Least());
    case smLocal:
        return pointCount < MinLocalPoints ? TooFewPoints(MinLocalPoints) : std::string();
    default:
        return "Nieznana metoda przeszukiwania.";
    }
}

bool MethodReadsMatrix(TSearchMethod method)
{
    return method == smExhaustive || method == smRandom || method == smGenetic;
}

std::string SearchRefusal(TSearchMethod method, const TRouteProblem& problem)
{
    const std::string refusal = SearchRefusal(method, problem.Count());
    return refusal.empty() ? RouteKindRefusal(problem.Kind, problem.Count()) : refusal;
}

TRunResult RunSearch(const TRouteProblem& problem, TProgress& progress, TSearchMethod method,
                     const TSearchSettings& settings, const TRunView& view)
{
    TRunResult result;
    result.Refusal = SearchRefusal(method, problem);
    if (!result.Refusal.empty())
        return result;

    progress.PrBar().SetPosition(0);
    if (view.SearchBegins)
        view.SearchBegins();
    progress.ProcessEvents();
    const int64_t start = NowMs();

    const bool pumpEveryStep = view.PumpEveryStep;
    switch (method) {
    case smExhaustive:
        result.Outcome = SearchExhaustive(problem, progress, pumpEveryStep, settings.ExhaustiveThreads);
        break;
    case smRandom:
        result.Outcome = SearchRandom(problem, progress, settings.RandomCount, pumpEveryStep);
        break;
    case smGenetic:
        result.Outcome = SearchGenetic(problem, progress, settings.Genetic, pumpEveryStep);
        break;
    case smExact:
        result.Outcome = SearchExact(problem, progress, settings.Exact, pumpEveryStep);
        break;
    case smLocal:
        result.Outcome = SearchLocal(problem, progress, settings.Local, pumpEveryStep);
        break;
    }

    // A run that evaluated nothing (no tries) has no route to measure or
    // apply: the links stay cleared and only the time is reported.
    const bool evaluated = result.Outcome.Evaluated;
    if (evaluated)
        result.Length = problem.Length(result.Outcome.Route);
    result.ElapsedMs = std::max<int64_t>(0, NowMs() - start);
    // Whoever watches the routes sees the one reported last.
    if (evaluated && progress.WatchesRoutes())
        progress.OfferRoute({result.Outcome.Route, result.Length, result.ElapsedMs});
    result.Failure = result.Outcome.Failure;
    result.Lines.push_back("Czas przeszukiwania: " + FormatElapsedTime(result.ElapsedMs, view.LongTimeFormat));
    if (evaluated) {
        const TLengthWords words = LengthWordsOf(problem.Kind, problem.Measure.Metric());
        result.Lines.push_back(
            LengthLine(method, result.Outcome.Proved, result.Length, progress.NumberFormat(), words));
        // A route not proved the shortest, with what was proved of it.
        if (!result.Outcome.Proved && result.Outcome.Bound.Certified) {
            const std::string gapLine = GapLine(result.Length, result.Outcome.Bound, progress.NumberFormat(), words);
            if (!gapLine.empty())
                result.Lines.push_back(gapLine);
        }
    }
    progress.PrBar().SetPosition(0);
    return result;
}
