#include "search/local/local_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "core/random_source.h"
#include "search/bound/alpha_nearness.h"
#include "search/local/kick_walk.h"
#include "search/local/local_optimiser.h"
#include "search/local/nearest_route.h"
#include "search/local/part_rounds.h"
#include "search/local/random_stream.h"
#include "search/local/route_parts.h"
#include "search/neighbours/leg_meter.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/point_tree.h"
#include "search/pace/step_pacer.h"

namespace {

TRouteProblem OpenProblemOfPoints(const TPointArray& points, int32_t startPoint)
{
    TRouteKind kind;
    kind.Start = startPoint >= 0 && startPoint < static_cast<int32_t>(points.size()) ? startPoint : -1;
    return MakeRouteProblem(TMeasure::OfPoints(points), kind, false);
}

// What every local search starts from: the legs, the nearest points and
// the nearest-neighbour route of the kind.
struct TLocalStart {
    explicit TLocalStart(const TRouteProblem& problem, const std::function<void()>& tick = {})
        : Legs(problem.Measure),
          Tree(Legs.PlaneX(), Legs.PlaneY()),
          Lists(Tree, LocalNeighbourCount, tick),
          First(KindNearestRoute(Legs.PlaneX(), Legs.PlaneY(), Tree, Lists, problem.Kind, tick))
    {
    }

    TLegMeter Legs;
    TPointTree Tree;
    TNeighbourLists Lists;
    TSpecimen First;
};

// The built route settled and kicked: on one ring, or with more threads
// in parts of the route (see RunPartRounds).
struct TSettling {
    bool ByTime = true;
    double Seconds = 0.0;
    int32_t Tries = 0;
    int32_t Threads = 1;
};

TSpecimen Settle(const TRouteProblem& problem, const TLegMeter& legs, const TNeighbourLists& lists,
                 const std::vector<double>* penalties, const TSpecimen& first, const TSettling& settling,
                 TRandomStream& random, TProgress& progress, TStepPacer& pacer, int64_t& kicks)
{
    const bool byTime = settling.ByTime;
    const int32_t tries = settling.Tries;
    const bool chainSettling = problem.Count() >= ChainSettlingMinPoints;
    TLocalOptimiser optimiser(legs, lists, problem.Kind, penalties);
    optimiser.SetChainsAlone(chainSettling);
    optimiser.SetRoute(first);
    const TLocalPoll poll = [&pacer] { return pacer.Poll(); };
    optimiser.Polish(poll);
    // Chain moves take the route further before the first kick; without
    // kicks the route stays the quick route.
    if ((byTime || tries > 0) && !optimiser.Interrupted())
        optimiser.PolishWithChains(poll);
    if (optimiser.Interrupted())
        return optimiser.Route();
    if (settling.Threads > 1) {
        pacer.Improved();
        // Small sets walk whole: a part's fixed ends would cost more than
        // two walks merged lose.
        const bool wholeWalks = problem.Count() < settling.Threads * MinPartPoints;
        const TRoundsPlan plan{settling.Threads, false,  byTime ? -1 : tries, settling.Seconds,
                               random.State(),   &lists, wholeWalks,          penalties};
        return RunPartRounds(problem, legs, optimiser.Route(), plan, pacer, kicks);
    }
    // From here the optimiser's ring holds the best route only between
    // kicks, so the route is offered there.
    pacer.SetRouteOffer({});
    pacer.Improved();
    TKickWalk walk(optimiser, random);
    walk.SetChainSettling(chainSettling);
    const auto offerSettled = [&] {
        if (!pacer.OfferDue())
            return;
        const TSpecimen route = walk.BestRoute();
        pacer.OfferRoute(route, problem.Length(route));
    };
    kicks = walk.Run(
        poll,
        [&](int64_t done) {
            offerSettled();
            if (!byTime)
                return (done == 0 || pacer.Step()) && done < tries;
            return pacer.Poll();
        },
        [&pacer] { pacer.Improved(); });
    // The queue's shortcut may have left a move behind; a stop pressed by
    // the user is honoured, and so is the time limit.
    if (progress.GoOn())
        optimiser.Polish(poll);
    return optimiser.Route();
}

}  // namespace

TSpecimen QuickRoute(const TRouteProblem& problem)
{
    if (problem.Count() == 0)
        return {};
    const TLocalStart start(problem);
    TLocalOptimiser optimiser(start.Legs, start.Lists, problem.Kind);
    optimiser.SetRoute(start.First);
    optimiser.Polish({});
    return optimiser.Route();
}

TSpecimen KickedRoute(const TRouteProblem& problem, int64_t kicks, uint32_t seed)
{
    if (problem.Count() == 0)
        return {};
    const TLocalStart start(problem);
    TLocalOptimiser optimiser(start.Legs, start.Lists, problem.Kind);
    optimiser.SetRoute(start.First);
    optimiser.Polish({});
    optimiser.PolishWithChains({});
    TRandomStream random(seed);
    TKickWalk walk(optimiser, random);
    walk.Run(
        {}, [kicks](int64_t done) { return done < kicks; }, [] {});
    optimiser.Polish({});
    return optimiser.Route();
}

TSpecimen QuickRoute(const TPointArray& points, int32_t startPoint)
{
    return QuickRoute(OpenProblemOfPoints(points, startPoint));
}

TSpecimen KickedRoute(const TPointArray& points, int32_t startPoint, int64_t kicks, uint32_t seed)
{
    return KickedRoute(OpenProblemOfPoints(points, startPoint), kicks, seed);
}

int32_t LocalThreadCount(int32_t n, bool pumpEveryStep, int32_t threads)
{
    if (pumpEveryStep)
        return 1;
    if (threads <= 0)
        threads = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, MaxLocalThreads);
    return std::clamp(n / MinPointsPerThread, 1, threads);
}

TSearchOutcome SearchLocal(const TRouteProblem& problem, TProgress& progress, const TLocalParams& params,
                           bool pumpEveryStep)
{
    progress.ShowStatus("Optymalizacja lokalna...", 0);
    const int32_t n = problem.Count();
    TSearchOutcome outcome;
    if (n < 1) {
        progress.ShowStatus("", 0);
        return outcome;
    }
    const bool byTime = params.StopByTime;
    const double seconds = std::isnan(params.TimeLimitSeconds) ? 0.0 : params.TimeLimitSeconds;
    const int32_t limitMs = static_cast<int32_t>(std::llround(std::clamp(seconds, 0.0, MaxLocalSeconds) * 1000.0));
    const int32_t tries = std::max(params.Tries, 0);
    const int32_t threads = LocalThreadCount(n, pumpEveryStep, params.Threads);
    progress.PrBar().SetMax(byTime ? limitMs : tries);
    ReseedFromClock();
    TRandomStream random(RandomState());

    TStepPacer pacer(progress, pumpEveryStep);
    if (byTime)
        pacer.SetDeadline(limitMs / 1000.0);
    using TClock = std::chrono::steady_clock;
    const TClock::time_point begin = TClock::now();
    auto elapsedMs = [begin, limitMs] {
        const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - begin).count();
        return static_cast<int32_t>(std::min<int64_t>(ms, limitMs));
    };
    // Under the time rule the bar shows the share of the time used.
    if (byTime)
        pacer.SetBeforePump([&] { progress.PrBar().SetPosition(elapsedMs()); });

    const TLegMeter legs(problem.Measure);
    if (n > OneRingMaxPoints) {
        // The route is built in parts along a curve, every part on a thread.
        outcome.Route = CurveRoute(legs, problem.Kind);
        outcome.Evaluated = true;
        pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, problem.Length(outcome.Route)); });
        pacer.Improved();
        const TRoundsPlan plan{threads, true, byTime ? -1 : tries, seconds, random.State()};
        outcome.Route = RunPartRounds(problem, legs, outcome.Route, plan, pacer, outcome.Steps);
    } else {
        // The construction always finishes (a few tens of milliseconds at
        // ten thousand points), so a stop pressed meanwhile is acted on
        // right after it.
        const std::function<void()> tick = [&pacer] { pacer.Poll(); };
        TPointTree tree(legs.PlaneX(), legs.PlaneY());
        const TNeighbourLists lists(tree, LocalNeighbourCount, tick);
        outcome.Route = KindNearestRoute(legs.PlaneX(), legs.PlaneY(), tree, lists, problem.Kind, tick);
        outcome.Evaluated = true;
        pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, problem.Length(outcome.Route)); });
        pacer.Improved();
        // Larger sets try the legs that raise the 1-tree least, on one
        // thread as on several.
        const bool byAlpha = n >= AlphaMinPoints;
        // The ascent's penalties weigh the legs where kicks are settled by
        // chains: at 3 000 points in 4 s routes came out 0.05 % shorter,
        // at 1 000 points in 2 s, without chains, 0.03 % longer.
        const bool weighing = n >= ChainSettlingMinPoints;
        const TAlphaCandidates alpha =
            byAlpha ? AlphaCandidates(
                          legs, problem.Kind, AlphaNeighbourCount, [&pacer] { return pacer.Poll(); }, weighing)
                    : TAlphaCandidates{};
        const bool byAlphaLists = alpha.Lists.Count() > 0;
        const bool penalised = byAlphaLists && weighing;
        if (progress.GoOn() && !pacer.TimeUp())
            outcome.Route =
                Settle(problem, legs, byAlphaLists ? alpha.Lists : lists, penalised ? &alpha.Penalties : nullptr,
                       outcome.Route, {byTime, seconds, tries, threads}, random, progress, pacer, outcome.Steps);
    }
    SetRandomState(random.State());
    pacer.Flush();
    if (byTime)
        progress.PrBar().SetPosition(elapsedMs());
    outcome.WorkingRoute = outcome.Route;
    progress.ShowStatus("", 0);
    return outcome;
}
