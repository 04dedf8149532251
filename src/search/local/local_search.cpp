#include "search/local/local_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>

#include "core/random_source.h"
#include "search/local/kick_walk.h"
#include "search/local/local_optimiser.h"
#include "search/local/nearest_route.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/plain_distance.h"
#include "search/neighbours/point_tree.h"
#include "search/pace/step_pacer.h"

namespace {

int32_t ValidStart(int32_t startPoint, int32_t n)
{
    return startPoint >= 0 && startPoint < n ? startPoint : -1;
}

}  // namespace

TSpecimen QuickRoute(const TPointArray& points, int32_t startPoint)
{
    const int32_t n = static_cast<int32_t>(points.size());
    if (n == 0)
        return {};
    const int32_t start = ValidStart(startPoint, n);
    TPointTree tree(points);
    const TNeighbourLists lists(tree, LocalNeighbourCount);
    TLocalOptimiser optimiser(points, lists, start);
    optimiser.SetRoute(NearestNeighbourRoute(points, tree, lists, start >= 0 ? start : FreeStartPoint(points)));
    optimiser.Polish({});
    return optimiser.Route();
}

TSpecimen KickedRoute(const TPointArray& points, int32_t startPoint, int64_t kicks, uint32_t seed)
{
    const int32_t n = static_cast<int32_t>(points.size());
    if (n == 0)
        return {};
    const int32_t start = ValidStart(startPoint, n);
    TPointTree tree(points);
    const TNeighbourLists lists(tree, LocalNeighbourCount);
    TLocalOptimiser optimiser(points, lists, start);
    optimiser.SetRoute(NearestNeighbourRoute(points, tree, lists, start >= 0 ? start : FreeStartPoint(points)));
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

TSearchOutcome SearchLocal(const TRouteProblem& problem, TProgress& progress, const TLocalParams& params,
                           bool pumpEveryStep)
{
    progress.ShowStatus("Optymalizacja lokalna...", 0);
    const TPointArray points = MapPointsOf(problem.Measure);
    const int32_t n = static_cast<int32_t>(points.size());
    TSearchOutcome outcome;
    if (n < 1) {
        progress.ShowStatus("", 0);
        return outcome;
    }
    const int32_t start = ValidStart(problem.Kind.Start, n);
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
    TPointTree tree(points);
    const TNeighbourLists lists(tree, LocalNeighbourCount, tick);
    const TSpecimen first =
        NearestNeighbourRoute(points, tree, lists, start >= 0 ? start : FreeStartPoint(points), tick);
    outcome.Route = first;
    outcome.Evaluated = true;
    pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, RouteLengthOfPoints(points, outcome.Route)); });
    pacer.Improved();

    if (progress.GoOn() && !timeUp) {
        TLocalOptimiser optimiser(points, lists, start);
        optimiser.SetRoute(first);
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
            pacer.OfferRoute(route, RouteLengthOfPoints(points, route));
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
