#include "search/cut/cut_search.h"

#include <algorithm>
#include <numeric>

#include "core/number_text.h"
#include "search/cut/branch_and_cut.h"
#include "search/cut/cut_graph.h"
#include "search/cut/greedy_tour.h"
#include "search/cut/tour_polish.h"
#include "search/local/local_search.h"
#include "search/neighbours/plain_distance.h"
#include "search/pace/step_pacer.h"

namespace {

// The start: the local search's route from the plane places (its kicks
// from a fixed seed, so the same set gives the same start), fitted to the
// kind, then settled and kicked by the graph's own costs. Beyond the local
// search's sizes here a greedy tour of each node's nearest edges.
constexpr int32_t StartNeighbours = 10;
constexpr int64_t LocalKicksPerPoint = 100;
constexpr int64_t MaxLocalKicks = 20000;
constexpr int32_t MaxLocalPoints = 20000;
constexpr int64_t PolishKicksPerNode = 20;
constexpr int64_t MaxPolishKicks = 200000;
constexpr uint32_t KickSeed = 20250101u;
constexpr int32_t ShareSteps = 1000;

std::vector<int32_t> LocalSearchTour(const TCutGraph& graph)
{
    const TRouteProblem& problem = graph.Problem();
    const int32_t n = problem.Count();
    const TRouteKind& kind = problem.Kind;
    const int32_t start = kind.Start >= 0 && kind.Start < n ? kind.Start : -1;
    const int32_t end = !kind.RoundTrip && kind.End >= 0 && kind.End < n ? kind.End : -1;
    const int64_t kicks = std::min(MaxLocalKicks, LocalKicksPerPoint * n);
    TSpecimen route = KickedRoute(MapPointsOf(problem.Measure), start >= 0 ? start : end, kicks, KickSeed);
    if (start < 0 && end >= 0)
        std::reverse(route.begin(), route.end());
    if (start >= 0 && end >= 0) {
        route.erase(std::find(route.begin(), route.end(), end));
        route.push_back(end);
    }
    return graph.TourOfRoute(route);
}

std::vector<int32_t> GreedyStart(const TCutGraph& graph, const std::vector<std::vector<int32_t>>& nearest)
{
    std::vector<std::pair<double, std::pair<int32_t, int32_t>>> edges;
    for (int32_t a = 0; a < graph.Nodes(); ++a)
        for (const int32_t b : nearest[static_cast<size_t>(a)])
            edges.push_back({graph.Cost(a, b), {std::min(a, b), std::max(a, b)}});
    std::sort(edges.begin(), edges.end());
    std::vector<std::pair<int32_t, int32_t>> preferred;
    for (const auto& edge : edges)
        preferred.push_back(edge.second);
    std::vector<int32_t> tour = GreedyTour(graph, preferred);
    if (tour.empty()) {
        tour.resize(static_cast<size_t>(graph.Nodes()));
        std::iota(tour.begin(), tour.end(), 0);
    }
    return tour;
}

std::vector<int32_t> StartTour(const TCutGraph& graph, TStepPacer& pacer)
{
    const std::vector<std::vector<int32_t>> nearest = graph.Nearest(StartNeighbours);
    std::vector<int32_t> tour = graph.Points() <= MaxLocalPoints ? LocalSearchTour(graph) : GreedyStart(graph, nearest);
    pacer.Poll();
    const int64_t kicks = std::min(MaxPolishKicks, PolishKicksPerNode * graph.Nodes());
    TTourPolish polish(graph, nearest, KickSeed);
    return polish.Improve(tour, kicks, [&] { return pacer.Poll(); });
}

std::string CutStatus(const TBranchAndCut& search, const TNumberFormat& format)
{
    return "Metoda dokładna: najlepsza droga " + FormatNumber(search.BestLength(), 2, format) +
           ", dolne ograniczenie " + FormatNumber(search.LowerBound(), 2, format) +
           ", otwarte podproblemy: " + FormatNumber(static_cast<double>(search.OpenSubproblems()), 0, format) + "...";
}

}  // namespace

uint64_t CutMemoryBytes(int32_t pointCount)
{
    const uint64_t n = static_cast<uint64_t>(std::max(pointCount, 0)) + 1;
    // The legs' table, as doubles over the pairs.
    const uint64_t table = pointCount <= MaxLegTablePoints ? n * n * 4 : 0;
    // Per node: its edges alive after the root (50, with their reduced
    // costs and keys), the programme's columns and rows, the kept cuts'
    // sets, the candidates and the polish.
    const uint64_t perNode = 8000;
    return table + n * perNode + OpenSubproblemBytes(static_cast<int32_t>(n));
}

TSearchOutcome SearchByCuts(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep)
{
    TSearchOutcome outcome;
    const int32_t n = problem.Count();
    if (n < 1)
        return outcome;
    progress.ShowStatus("Metoda dokładna: szukanie dobrej drogi...", 0);
    TStepPacer pacer(progress, pumpEveryStep);
    const TCutGraph graph(problem);
    outcome.Evaluated = true;
    if (n <= 2) {
        TSpecimen route(static_cast<size_t>(n));
        std::iota(route.begin(), route.end(), 0);
        const TSpecimen fitted = graph.RouteOfTour(graph.TourOfRoute(route));
        outcome.Route = fitted.empty() ? route : fitted;
        outcome.Proved = true;
        outcome.Bound.Value = problem.Length(outcome.Route);
        outcome.Bound.Certified = true;
        outcome.Bound.Completed = true;
        pacer.Flush();
        outcome.WorkingRoute = outcome.Route;
        progress.ShowStatus("", 0);
        return outcome;
    }

    progress.PrBar().SetMax(ShareSteps);
    TBranchAndCut search(graph, StartTour(graph, pacer));
    outcome.Route = search.Best();
    pacer.SetRouteOffer([&] { pacer.OfferRoute(search.Best(), search.BestLength()); });
    pacer.Improved();
    const TNumberFormat format = progress.NumberFormat();
    pacer.SetBeforePump([&] {
        progress.PrBar().SetPosition(static_cast<int32_t>(search.ShareDone() * ShareSteps));
        progress.ShowStatus(CutStatus(search, format), 0);
    });
    outcome.Proved = search.Run([&](int64_t steps) { return steps > 0 ? pacer.StepBy(steps) : pacer.Poll(); },
                                [&] { pacer.Improved(); });
    outcome.Route = search.Best();
    outcome.Bound.Value = search.LowerBound();
    outcome.Bound.Certified = true;
    outcome.Bound.Completed = outcome.Proved;
    pacer.Flush();
    progress.PrBar().SetPosition(static_cast<int32_t>(search.ShareDone() * ShareSteps));
    outcome.Steps = pacer.StepsDone();
    outcome.WorkingRoute = outcome.Route;
    progress.ShowStatus("", 0);
    return outcome;
}
