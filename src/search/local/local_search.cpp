#include "search/local/local_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>

#include "core/random_source.h"
#include "search/local/local_optimiser.h"
#include "search/local/nearest_route.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/point_tree.h"
#include "search/run/step_pacer.h"

namespace {

// The longest stretch a kick moves: long enough that one Or-opt move can't
// simply carry it back, short enough to stay a local change. On uniform
// sets of 1 000 and 10 000 points 100 came out a little ahead of 50 and
// level with 200 in the same time.
constexpr int32_t MaxKickStretch = 100;

int32_t ValidStart(int32_t startPoint, int32_t n)
{
    return startPoint >= 0 && startPoint < n ? startPoint : -1;
}

// Two neighbouring stretches of the ring, each of one to MaxKickStretch
// nodes, trade places. Returns by how much the route got longer.
double Kick(TLocalOptimiser& optimiser)
{
    TRouteRing& ring = optimiser.Ring();
    const int32_t size = ring.Size();
    const int32_t longest = std::clamp((size - 2) / 2, 1, MaxKickStretch);
    const int32_t lengthB = 1 + RandomBelow(longest);
    const int32_t lengthC = 1 + RandomBelow(longest);
    int32_t a = ring.At(RandomBelow(size));
    int32_t b0 = 0;
    int32_t b1 = 0;
    int32_t c0 = 0;
    int32_t c1 = 0;
    int32_t d = 0;
    // A fixed first point keeps its tie to the gap: the kick moves on to
    // the next place where it cuts no fixed edge (one always exists, as a
    // kick cuts three edges of at least four).
    for (int32_t attempt = 0; attempt < size; ++attempt) {
        b0 = ring.Next(a);
        b1 = ring.Walk(a, lengthB);
        c0 = ring.Next(b1);
        c1 = ring.Walk(b1, lengthC);
        d = ring.Next(c1);
        if (!optimiser.Fixed(a, b0) && !optimiser.Fixed(b1, c0) && !optimiser.Fixed(c1, d))
            break;
        a = b0;
    }
    const double added = optimiser.Distance(a, c0) + optimiser.Distance(c1, b0) + optimiser.Distance(b1, d) -
                         optimiser.Distance(a, b0) - optimiser.Distance(b1, c0) - optimiser.Distance(c1, d);
    ring.SwapStretches(a, b0, b1, c0, c1, d);
    for (int32_t node : {a, b0, b1, c0, c1, d})
        optimiser.Touch(node);
    return added;
}

// Kicks and settles the route while next(kicks done) allows, keeping each
// settled route that is no longer than the one before, so the route is
// always the best seen when next is asked. improved runs after each kick
// that made the route shorter. Returns the kicks done; an interrupted one
// is taken back and not counted.
int64_t Iterate(TLocalOptimiser& optimiser, const TLocalPoll& poll, const std::function<bool(int64_t)>& next,
                const std::function<void()>& improved)
{
    TRouteRing& ring = optimiser.Ring();
    if (ring.Size() < 4)
        return 0;
    ring.SetRecording(true);
    int64_t done = 0;
    while (next(done)) {
        ring.ClearRecord();
        const double added = Kick(optimiser);
        const double gained = optimiser.Run(poll);
        if (optimiser.Interrupted()) {
            optimiser.ClearQueue();
            ring.Undo();
            break;
        }
        // A settling that only took the kick back (Or-3opt can) comes out a
        // rounding's worth shorter or longer: it is taken back, not counted
        // as a gain.
        const double change = added - gained;
        if (change > 0.0 || (change < 0.0 && change >= -optimiser.Epsilon()))
            ring.Undo();
        else if (change < 0.0)
            improved();
        ++done;
    }
    ring.SetRecording(false);
    ring.ClearRecord();
    return done;
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
    const uint32_t saved = RandomState();
    SetRandomState(seed);
    Iterate(
        optimiser, {}, [kicks](int64_t done) { return done < kicks; }, [] {});
    SetRandomState(saved);
    optimiser.Polish({});
    return optimiser.Route();
}

TSearchOutcome SearchLocal(TPointSetState& state, TProgress& progress, const TLocalParams& params, bool pumpEveryStep)
{
    progress.ShowStatus("Optymalizacja lokalna...", 0);
    const TPointArray points = state.FPoints;
    const int32_t n = static_cast<int32_t>(points.size());
    TSearchOutcome outcome;
    if (n < 1) {
        progress.ShowStatus("", 0);
        return outcome;
    }
    const int32_t start = ValidStart(params.StartPoint, n);
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
    state.FBestRoute = first;
    outcome.Evaluated = true;
    pacer.SetRouteOffer([&] { pacer.OfferRoute(state.FBestRoute, RouteLengthOfPoints(points, state.FBestRoute)); });
    pacer.Improved();

    if (progress.GoOn() && !timeUp) {
        TLocalOptimiser optimiser(points, lists, start);
        optimiser.SetRoute(first);
        const TLocalPoll poll = [&] { return pacer.Poll() && !timeUp; };
        optimiser.Polish(poll);
        // From here the optimiser's ring holds the best route only between
        // kicks, so the route is offered there.
        pacer.SetRouteOffer({});
        pacer.Improved();
        const auto offerSettled = [&] {
            if (!pacer.OfferDue())
                return;
            const TSpecimen route = optimiser.Route();
            pacer.OfferRoute(route, RouteLengthOfPoints(points, route));
        };
        if (!optimiser.Interrupted()) {
            outcome.Steps = Iterate(
                optimiser, poll,
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
        state.FBestRoute = optimiser.Route();
    }
    pacer.Flush();
    state.FRoute = state.FBestRoute;
    progress.ShowStatus("", 0);
    return outcome;
}
