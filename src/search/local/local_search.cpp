#include "search/local/local_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>

#include "core/random_source.h"
#include "search/local/kick_walk.h"
#include "search/local/local_optimiser.h"
#include "search/local/nearest_route.h"
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
    const uint32_t saved = RandomState();
    SetRandomState(seed);
    TKickWalk walk(optimiser);
    walk.Run(
        {}, [kicks](int64_t done) { return done < kicks; }, [] {});
    SetRandomState(saved);
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
    progress.PrBar().SetMax(byTime ? limitMs : tries);
    ReseedFromClock();

    using TClock = std::chrono::steady_clock;
    const TClock::time_point begin = TClock::now();
    auto elapsedMs = [begin] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - begin).count();
    };
    bool timeUp = false;
    TStepPacer pacer(progress, pumpEveryStep);
    // Under the time rule the bar shows the share of the time used, and the
    // limit is noticed at every pass of events even inside a long settling.
    pacer.SetBeforePump([&] {
        if (!byTime)
            return;
        const int64_t ms = elapsedMs();
        progress.PrBar().SetPosition(static_cast<int32_t>(std::min<int64_t>(ms, limitMs)));
        if (ms >= limitMs)
            timeUp = true;
    });

    // The construction always finishes (a few tens of milliseconds at the
    // largest set), so a stop pressed meanwhile is acted on right after it.
    const std::function<void()> tick = [&pacer] { pacer.Poll(); };
    const TLocalStart start(problem, tick);
    outcome.Route = start.First;
    outcome.Evaluated = true;
    pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, problem.Length(outcome.Route)); });
    pacer.Improved();

    if (progress.GoOn() && !timeUp) {
        TLocalOptimiser optimiser(start.Legs, start.Lists, problem.Kind);
        optimiser.SetRoute(start.First);
        const TLocalPoll poll = [&] { return pacer.Poll() && !timeUp; };
        optimiser.Polish(poll);
        // Chain moves take the route further before the first kick; without
        // kicks the route stays the quick route.
        if ((byTime || tries > 0) && !optimiser.Interrupted())
            optimiser.PolishWithChains(poll);
        // From here the optimiser's ring holds the best route only between
        // kicks, so the route is offered there.
        pacer.SetRouteOffer({});
        pacer.Improved();
        TKickWalk walk(optimiser);
        const auto offerSettled = [&] {
            if (!pacer.OfferDue())
                return;
            const TSpecimen route = walk.BestRoute();
            pacer.OfferRoute(route, problem.Length(route));
        };
        if (!optimiser.Interrupted()) {
            outcome.Steps = walk.Run(
                poll,
                [&](int64_t done) {
                    offerSettled();
                    if (!byTime)
                        return (done == 0 || pacer.Step()) && done < tries;
                    if (!pacer.Poll() || timeUp)
                        return false;
                    timeUp = elapsedMs() >= limitMs;
                    return !timeUp;
                },
                [&pacer] { pacer.Improved(); });
            // The queue's shortcut may have left a move behind; a stop
            // pressed by the user is honoured, the time limit is not.
            if (progress.GoOn())
                optimiser.Polish([&pacer] { return pacer.Poll(); });
        }
        outcome.Route = optimiser.Route();
    }
    pacer.Flush();
    outcome.WorkingRoute = outcome.Route;
    progress.ShowStatus("", 0);
    return outcome;
}
