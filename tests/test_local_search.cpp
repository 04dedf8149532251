#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "core/distances.h"
#include "core/random_source.h"
#include "search/local/local_search.h"
#include "search/local/nearest_route.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/pace/step_pacer.h"
#include "support/measure_kind_sets.h"
#include "support/point_set_kinds.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

TSearchOutcome RunLocal(TPointSetState& state, TScriptedHost& host, int32_t tries, int32_t start = -1)
{
    TLocalParams params;
    params.StopByTime = false;
    params.Tries = tries;
    state.FSearching = true;
    host.Arm();
    return SearchLocal(state, host, params, host.EveryStep, start);
}

// Turning any stretch round (a prefix or suffix too, unless the first point
// is fixed) makes the route no shorter, up to rounding.
void ExpectTwoOptOptimal(const TDistanceMatrix& distances, const TSpecimen& route, bool fixedStart)
{
    const double length = RouteLength(distances, route);
    const int32_t n = static_cast<int32_t>(route.size());
    for (int32_t i = fixedStart ? 1 : 0; i < n; ++i) {
        for (int32_t j = i + 1; j < n; ++j) {
            TSpecimen turned = route;
            std::reverse(turned.begin() + i, turned.begin() + j + 1);
            ASSERT_GE(RouteLength(distances, turned), length * (1 - 1e-12)) << "stretch " << i << " .. " << j;
        }
    }
}

}  // namespace

// Without the matrix, too: the method reads coordinates only.
TEST(LocalSearch, AlwaysLeavesAWholeRouteFromTheFixedPoint)
{
    std::mt19937 random(31);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (int32_t n : {1, 2, 3, 4, 5, 8, 13, 40}) {
            for (int32_t start : {-1, static_cast<int32_t>(random() % n)}) {
                TPointSetState state;
                state.FPoints = MakePointSet(kind, n, random);
                TScriptedHost host(state);
                host.EveryStep = false;
                TClockScript clock(static_cast<uint32_t>(random()));
                const TSearchOutcome outcome = RunLocal(state, host, 200, start);
                ASSERT_TRUE(IsPermutation(state.FBestRoute) && static_cast<int32_t>(state.FBestRoute.size()) == n)
                    << "kind " << kind << ", n = " << n;
                EXPECT_TRUE(start < 0 || state.FBestRoute[0] == start) << "kind " << kind << ", n = " << n;
                EXPECT_TRUE(outcome.Evaluated);
                // A kick needs four nodes in the ring of points and gap.
                EXPECT_EQ(outcome.Steps, n >= 3 ? 200 : 0);
                EXPECT_EQ(state.FRoute, state.FBestRoute);
                EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Optymalizacja lokalna...", ""}));
            }
        }
    }
}

TEST(LocalSearch, EmptySetEvaluatesNothing)
{
    TPointSetState state;
    TScriptedHost host(state);
    const TSearchOutcome outcome = RunLocal(state, host, 10);
    EXPECT_FALSE(outcome.Evaluated);
    EXPECT_EQ(outcome.Steps, 0);
    EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Optymalizacja lokalna...", ""}));
}

// A local search need not find the optimum. What must hold: it never ends
// longer than the route it built, and no 2-opt move still helps (with at
// most 11 points every point is on every list, so none may be missed).
TEST(LocalSearch, NoLongerThanItsStartAndTwoOptOptimal)
{
    std::mt19937 random(32);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (int32_t n : {3, 5, 7, 9, 11}) {
            for (int32_t start : {-1, static_cast<int32_t>(random() % n)}) {
                TPointSetState state;
                SetPoints(state, MakePointSet(kind, n, random));
                TPointTree tree(state.FPoints);
                const TNeighbourLists lists(tree, 10);
                const TSpecimen built = NearestNeighbourRoute(state.FPoints, tree, lists,
                                                              start >= 0 ? start : FreeStartPoint(state.FPoints));
                TScriptedHost host(state);
                TClockScript clock(static_cast<uint32_t>(random()));
                RunLocal(state, host, 50, start);
                EXPECT_LE(RouteLength(state.FDistances, state.FBestRoute),
                          RouteLength(state.FDistances, built) * (1 + 1e-12));
                ExpectTwoOptOptimal(state.FDistances, state.FBestRoute, start >= 0);
                ExpectTwoOptOptimal(state.FDistances, QuickRoute(state.FPoints, start), start >= 0);
            }
        }
    }
}

// On nine points the first local optimum is the shortest route about nine
// times in ten. Kicks keep only routes no longer, and 300 of them make the
// shortest route all but certain: at most three sets in sixty may stay a
// little longer.
TEST(LocalSearch, KicksFindTheShortestRouteOnAlmostAllSetsOfNine)
{
    std::mt19937 random(33);
    int sets = 0;
    int optimal = 0;
    int optimalWithoutKicks = 0;
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (int set = 0; set < 10; ++set) {
            const int32_t n = 9;
            const int32_t start = set % 2 == 0 ? -1 : static_cast<int32_t>(random() % n);
            TPointSetState state;
            SetPoints(state, MakePointSet(set % 3 == 0 ? kind : 0, n, random));
            const double shortest = ShortestLengthByTrial(state.FDistances, start);
            const uint32_t seed = static_cast<uint32_t>(random());
            double lengths[2];
            for (int32_t tries : {0, 300}) {
                TScriptedHost host(state);
                host.EveryStep = false;
                TClockScript clock(seed);
                RunLocal(state, host, tries, start);
                lengths[tries > 0] = RouteLength(state.FDistances, state.FBestRoute);
            }
            // Equally long routes are kept too: one read backwards may differ in the last bit.
            EXPECT_LE(lengths[1], lengths[0] * (1 + 1e-12)) << "kind " << kind << ", set " << set;
            EXPECT_LE(lengths[1], shortest * 1.1) << "kind " << kind << ", set " << set;
            ++sets;
            optimal += lengths[1] <= shortest * (1 + 1e-12);
            optimalWithoutKicks += lengths[0] <= shortest * (1 + 1e-12);
        }
    }
    EXPECT_GE(optimal, sets - 3) << optimal << " of " << sets;
    EXPECT_GT(optimal, optimalWithoutKicks);
}

TEST(LocalSearch, WithoutKicksGivesTheQuickRoute)
{
    std::mt19937 random(41);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        TPointSetState state;
        state.FPoints = MakePointSet(kind, 150, random);
        const int32_t start = kind % 2 == 0 ? -1 : static_cast<int32_t>(random() % 150);
        TScriptedHost host(state);
        host.EveryStep = false;
        EXPECT_EQ(RunLocal(state, host, 0, start).Steps, 0);
        EXPECT_EQ(state.FBestRoute, QuickRoute(state.FPoints, start)) << "kind " << kind;
    }
}

// The same clock reading and tries give the same route whatever the random
// state before; every kick draws from the one reseed, a restart's kicks
// too. The bar counts the tries up to its maximum, never past it.
TEST(LocalSearch, SameClockAndTriesGiveTheSameRouteFromOneReseed)
{
    std::mt19937 random(34);
    TPointSetState state;
    state.FPoints = MakePointSet(0, 60, random);
    TSpecimen routes[2];
    uint32_t afters[2] = {};
    for (uint32_t before : {1u, 2u}) {
        SetRandomState(before);
        TClockScript clock(123456);
        TScriptedHost host(state);
        host.EveryStep = false;
        EXPECT_EQ(RunLocal(state, host, 400).Steps, 400);
        EXPECT_EQ(host.Bar.Max(), 400);
        EXPECT_EQ(host.Bar.Position(), 400);
        EXPECT_EQ(host.Bar.StepsTaken(), 400);
        routes[before - 1] = state.FBestRoute;
        afters[before - 1] = RandomState();
    }
    EXPECT_EQ(routes[0], routes[1]);
    EXPECT_EQ(afters[0], afters[1]);
}

TEST(LocalSearch, StopAfterKicksKeepsAWholeRoute)
{
    std::mt19937 random(38);
    for (int32_t stopAfter : {1, 5, 17}) {
        TPointSetState state;
        state.FPoints = MakePointSet(0, 25, random);
        TScriptedHost host(state);
        host.StopAfterSteps = stopAfter;
        TClockScript clock(11);
        EXPECT_EQ(RunLocal(state, host, 1000, 3).Steps, stopAfter);
        EXPECT_EQ(host.StepsAtStop, stopAfter);
        EXPECT_TRUE(IsPermutation(state.FBestRoute));
        EXPECT_EQ(state.FBestRoute[0], 3);
        EXPECT_EQ(host.StatusTexts.back(), "");
    }
}

// Events run once per point while the lists are made and once per point of
// the route, then once per look at a point. A stop while the route is built
// is acted on once it is whole: the route is the built one, untouched. A
// stop in the first settling leaves a route no longer than that.
TEST(LocalSearch, StopDuringTheFirstSettlingKeepsTheBuiltRouteOrBetter)
{
    std::mt19937 random(39);
    const TPointArray points = MakePointSet(0, 80, random);
    TPointTree tree(points);
    const TNeighbourLists lists(tree, 10);
    const TSpecimen built = NearestNeighbourRoute(points, tree, lists, FreeStartPoint(points));
    for (int64_t stopAtPass : {1, 100, 170, 200}) {
        TPointSetState state;
        SetPoints(state, points);
        TScriptedHost host(state);
        int64_t passes = 0;
        host.OnEvents = [&] {
            if (++passes == stopAtPass)
                state.FSearching = false;
        };
        TClockScript clock(13);
        EXPECT_EQ(RunLocal(state, host, 1000).Steps, 0) << "stop at pass " << stopAtPass;
        ASSERT_TRUE(IsPermutation(state.FBestRoute));
        EXPECT_TRUE(stopAtPass > 160 || state.FBestRoute == built) << "stop at pass " << stopAtPass;
        EXPECT_LE(RouteLength(state.FDistances, state.FBestRoute), RouteLength(state.FDistances, built) * (1 + 1e-12));
    }
}

TEST(LocalSearch, TimeRuleCountsMillisecondsOfTheLimit)
{
    std::mt19937 random(40);
    TPointSetState state;
    state.FPoints = MakePointSet(0, 30, random);
    TScriptedHost host(state);
    host.EveryStep = false;
    TLocalParams params;
    params.TimeLimitSeconds = 1.0;
    state.FSearching = true;
    EXPECT_GT(SearchLocal(state, host, params).Steps, 0);
    EXPECT_EQ(host.Bar.Max(), 1000);
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
}

// On small sets of every measure and every kind of route, ties and points at
// one place among them: the search and KickedRoute give routes of the kind,
// never shorter than the shortest found by trying every order, and with
// kicks that route on all but a few sets.
TEST(LocalSearch, EveryKindAndMeasureGivesRoutesOfTheKindAndMostlyTheShortest)
{
    std::mt19937 random(42);
    int runs = 0;
    int shortest = 0;
    for (const TMetric metric : EveryMetric()) {
        for (int32_t n : {1, 2, 3, 4, 5, 6, 8}) {
            const TMeasure measure(metric, MakePlaces(metric, n, random));
            for (const TRouteKind& kind : EveryKind(n, random)) {
                const TRouteProblem problem = MakeRouteProblem(measure, kind, false);
                const double best = ShortestKindLength(problem);
                TPointSetState state;
                state.FSearching = true;
                TScriptedHost host(state);
                host.EveryStep = false;
                TClockScript clock(static_cast<uint32_t>(random()));
                TLocalParams params;
                params.StopByTime = false;
                params.Tries = 100;
                const TSearchOutcome outcome = SearchLocal(problem, host, params);
                const TSpecimen kicked = KickedRoute(problem, 50, static_cast<uint32_t>(random()));
                for (const TSpecimen& route : {outcome.Route, kicked, QuickRoute(problem)}) {
                    ASSERT_TRUE(RouteFitsKind(route, kind, n)) << KindName(metric, kind, n);
                    ASSERT_GE(problem.Length(route), best * (1 - 1e-12)) << KindName(metric, kind, n);
                }
                ++runs;
                shortest += problem.Length(outcome.Route) <= best * (1 + 1e-12);
            }
        }
    }
    EXPECT_GE(shortest, runs - runs / 50) << shortest << " of " << runs;
}

// On a set large enough for two threads to share the kicks: the same clock
// reading, tries and threads give the same route, of the kind, whatever
// the random state before; and the tries are all made.
TEST(LocalSearch, TwoThreadsRepeatTheirRouteOfTheKind)
{
    std::mt19937 random(43);
    const TMeasure measure(TMetric::Plane, MakePlaces(TMetric::Plane, 4000, random));
    for (const TRouteKind& kind : {TRouteKind{}, TRouteKind{true, 7, -1}, TRouteKind{false, 3, 9}}) {
        const TRouteProblem problem = MakeRouteProblem(measure, kind, false);
        TSpecimen routes[2];
        for (uint32_t before : {1u, 2u}) {
            SetRandomState(before);
            TPointSetState state;
            state.FSearching = true;
            TScriptedHost host(state);
            host.EveryStep = false;
            TClockScript clock(2024);
            TLocalParams params;
            params.StopByTime = false;
            params.Tries = 3000;
            params.Threads = 2;
            const TSearchOutcome outcome = SearchLocal(problem, host, params);
            EXPECT_EQ(outcome.Steps, 3000);
            ASSERT_TRUE(RouteFitsKind(outcome.Route, kind, 4000)) << RouteKindText(kind);
            routes[before - 1] = outcome.Route;
        }
        EXPECT_EQ(routes[0], routes[1]) << RouteKindText(kind);
    }
}

// The time limit is the pacer's: on a clock that moves on two milliseconds
// at every reading (so the pacer reads it at every poll), the run ends at
// the first poll past the limit, with a whole route.
TEST(LocalSearch, TimeLimitEndsTheRunAtThePacersDeadline)
{
    std::chrono::steady_clock::time_point now{};
    SetPacerClock([&now] { return now += std::chrono::milliseconds(2); });
    std::mt19937 random(44);
    TPointSetState state;
    SetPoints(state, MakePointSet(0, 300, random));
    TScriptedHost host(state);
    host.EveryStep = false;
    TLocalParams params;
    params.TimeLimitSeconds = 10.0;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchLocal(state, host, params);
    SetPacerClock({});
    EXPECT_GE(now - std::chrono::steady_clock::time_point{}, std::chrono::seconds(10));
    EXPECT_LE(now - std::chrono::steady_clock::time_point{}, std::chrono::milliseconds(10006));
    EXPECT_GT(outcome.Steps, 0);
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
    EXPECT_TRUE(state.FSearching);
}
