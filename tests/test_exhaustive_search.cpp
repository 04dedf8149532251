#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>

#include "core/distances.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/pace/step_pacer.h"
#include "support/kind_reference.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

// A search of the problem as the window runs it, the state only lending
// the stop flag.
TSearchOutcome SearchKind(const TRouteProblem& problem, bool everyStep, int32_t threads, int64_t stopAfter = -1)
{
    TPointSetState state;
    TScriptedHost host(state);
    host.EveryStep = everyStep;
    host.Arm();
    host.StopAfterSteps = stopAfter;
    state.FSearching = true;
    return SearchExhaustive(problem, host, everyStep, threads);
}

TSpecimen Rotation(int32_t n)
{
    TSpecimen route(n);
    for (int32_t i = 0; i < n; ++i)
        route[i] = (i + 1) % n;
    return route;
}

}  // namespace

TEST(ExhaustiveSearch, CountingOrderOfThreePoints)
{
    const TSpecimen expected[6] = {{1, 2, 0}, {2, 1, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {0, 1, 2}};
    for (int64_t k = 0; k < 6; ++k) {
        TSpecimen route;
        DecodeCountingOrder(k, 3, route);
        EXPECT_EQ(route, expected[k]) << "k = " << k;
    }
}

TEST(ExhaustiveSearch, FirstAndLastRoutesAreRotationAndIdentity)
{
    for (int32_t n = 1; n <= 9; ++n) {
        TSpecimen route;
        DecodeCountingOrder(0, n, route);
        EXPECT_EQ(route, Rotation(n));
        DecodeCountingOrder(Factorial(n) - 1, n, route);
        TSpecimen identity(n);
        for (int32_t i = 0; i < n; ++i)
            identity[i] = i;
        EXPECT_EQ(route, identity);
    }
}

TEST(ExhaustiveSearch, OnePointGivesOneRouteOfLengthZero)
{
    TPointSetState state;
    SetPoints(state, {{5, 5, -1}});
    TScriptedHost host(state);
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExhaustive(state, host, true);
    EXPECT_TRUE(outcome.Evaluated);
    EXPECT_EQ(outcome.Steps, 1);
    EXPECT_EQ(state.FBestRoute, TSpecimen({0}));
    EXPECT_EQ(host.Bar.Max(), 0);
}

TEST(ExhaustiveSearch, TwoPointsKeepTheFirstOfEqualRoutes)
{
    TPointSetState state;
    SetPoints(state, {{0, 0, -1}, {3, 4, -1}});
    TScriptedHost host(state);
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExhaustive(state, host, true);
    EXPECT_EQ(outcome.Steps, 2);
    EXPECT_EQ(state.FBestRoute, TSpecimen({1, 0}));
}

TEST(ExhaustiveSearch, CollinearThreePointsKeepTheEarlierMirror)
{
    TPointSetState state;
    SetPoints(state, {{0, 0, -1}, {3, 4, -1}, {6, 8, -1}});
    const double expected[6] = {15, 10, 15, 15, 15, 10};
    for (int64_t k = 0; k < 6; ++k) {
        TSpecimen route;
        DecodeCountingOrder(k, 3, route);
        EXPECT_EQ(RouteLength(state.FDistances, route), expected[k]) << "k = " << k;
    }
    TScriptedHost host(state);
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExhaustive(state, host, true);
    EXPECT_EQ(outcome.Steps, 6);
    EXPECT_EQ(state.FBestRoute, TSpecimen({2, 1, 0}));
    EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Przeszukiwanie wyczerpujące...", ""}));
}

TEST(ExhaustiveSearch, StopAfterTheFirstRouteLeavesTheRotation)
{
    std::mt19937 random(7);
    for (int32_t n : {3, 5, 9}) {
        TPointSetState state;
        SetPoints(state, MakeSet(0, n, random));
        TScriptedHost host(state);
        host.Arm();
        host.StopAfterSteps = 1;
        state.FSearching = true;
        const TSearchOutcome outcome = SearchExhaustive(state, host, true);
        EXPECT_EQ(outcome.Steps, 1) << "n = " << n;
        EXPECT_EQ(state.FBestRoute, Rotation(n)) << "n = " << n;
        EXPECT_EQ(host.StatusTexts.back(), "");
    }
}

TEST(ExhaustiveSearch, ProgressMaximumFollowsTheRouteCount)
{
    const struct {
        int32_t n;
        int32_t maximum;
    } rows[] = {{1, 0}, {2, 1}, {5, 119}, {12, 479001599}, {13, 2147483647}, {20, 2147483647}};
    std::mt19937 random(3);
    for (const auto& row : rows) {
        TPointSetState state;
        SetPoints(state, MakeSet(0, row.n, random));
        TScriptedHost host(state);
        host.Arm();
        host.StopAfterSteps = 1;
        state.FSearching = true;
        SearchExhaustive(state, host, true);
        EXPECT_EQ(host.Bar.Max(), row.maximum) << "n = " << row.n;
    }
}

TEST(ExhaustiveSearch, FiveCompleteRoutesStepTheBarToItsMaximum)
{
    std::mt19937 random(5);
    TPointSetState state;
    SetPoints(state, MakeSet(0, 5, random));
    TScriptedHost host(state);
    host.Arm();
    state.FSearching = true;
    const int64_t before = host.Bar.StepsTaken();
    const TSearchOutcome outcome = SearchExhaustive(state, host, true);
    EXPECT_EQ(outcome.Steps, 120);
    EXPECT_EQ(host.Bar.StepsTaken() - before, 120);
    EXPECT_EQ(host.EventPasses, 120);
}

// From 13 points the routes outnumber the bar's positions: the bar shows
// the share of the n! routes decided and never starts over.
TEST(ExhaustiveSearch, LargeSetsShowTheShareOfRoutesDecided)
{
    std::mt19937 random(13);
    TPointSetState state;
    SetPoints(state, MakeSet(0, 13, random));
    TScriptedHost host(state);
    host.Arm();
    int32_t lowest = 0;
    int32_t previous = 0;
    bool neverBack = true;
    host.OnEvents = [&] {
        neverBack = neverBack && host.Bar.Position() >= previous;
        previous = host.Bar.Position();
        lowest = std::min(lowest, previous);
    };
    host.StopAfterSteps = 200000;
    state.FSearching = true;
    SearchExhaustive(state, host, true);
    const long double share = 200000.0L / static_cast<long double>(Factorial(13));
    EXPECT_NEAR(host.Bar.Position(), static_cast<double>(share * 2147483647.0L), 1.0);
    EXPECT_TRUE(neverBack);
    EXPECT_GE(lowest, 0);
}

TEST(ExhaustiveSearch, MatchesTheDecoderOnManySets)
{
    std::mt19937 random(2024);
    int checked = 0;
    for (int kind = 0; kind < 5; ++kind) {
        for (int32_t n = 1; n <= 9; ++n) {
            const int repeats = n <= 7 ? 12 : 3;
            for (int r = 0; r < repeats; ++r) {
                TPointSetState state;
                SetPoints(state, MakeSet(kind, n, random));
                const TReferenceBest reference = ReferenceExhaustive(state.FDistances, n, Factorial(n));
                for (bool everyStep : {false, true}) {
                    if (everyStep && n > 7)
                        continue;
                    TScriptedHost host(state);
                    host.EveryStep = everyStep;
                    state.FSearching = true;
                    const TSearchOutcome outcome = SearchExhaustive(state, host, everyStep);
                    ASSERT_EQ(state.FBestRoute, reference.Route)
                        << "kind " << kind << ", n = " << n << ", every step " << everyStep;
                    EXPECT_EQ(outcome.Steps, Factorial(n));
                    EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), reference.Length);
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 300);
}

// One point far from a tight cluster: the route's sum passes 4e9 while the
// legs inside the cluster are a few hundred pixels, so adding a leg rounds
// twice. On these sets plain double sums pick the mirror of the route that
// the reference lengths pick; the engine must follow the reference.
TEST(ExhaustiveSearch, FollowsTheReferenceLengthWherePlainSumsDisagree)
{
    const std::vector<std::vector<TMapPoint>> sets = {
        {{-2000000000, 500, -1},
         {1999999445, 423, -1},
         {1999999616, 468, -1},
         {1999999528, 390, -1},
         {1999999473, 109, -1},
         {1999999279, 323, -1}},
        {{-2000000000, 9, -1},
         {1999999198, 596, -1},
         {1999999079, 968, -1},
         {1999999192, 542, -1},
         {1999999594, 127, -1},
         {1999999028, 249, -1},
         {1999999503, 771, -1}},
        {{-2000000000, 35, -1},
         {1999999410, 18, -1},
         {1999999068, 554, -1},
         {1999999253, 104, -1},
         {1999999267, 132, -1},
         {1999999107, 149, -1},
         {1999999568, 998, -1}},
        {{-2000000000, 903, -1},
         {1999999209, 537, -1},
         {1999999765, 192, -1},
         {1999999594, 787, -1},
         {1999999559, 614, -1},
         {1999999573, 274, -1},
         {1999999776, 514, -1}},
    };
    for (size_t s = 0; s < sets.size(); ++s) {
        const int32_t n = static_cast<int32_t>(sets[s].size());
        TPointSetState state;
        SetPoints(state, sets[s]);
        const TReferenceBest reference = ReferenceExhaustive(state.FDistances, n, Factorial(n));
        TSpecimen plainBest;
        double plainLength = -1.0;
        for (int64_t k = 0; k < Factorial(n); ++k) {
            const TSpecimen route = ReferenceDecode(k, n);
            double sum = 0.0;
            for (int32_t i = 0; i + 1 < n; ++i) {
                volatile double leg = state.FDistances[route[i]][route[i + 1]];
                sum = sum + leg;
            }
            if (plainLength == -1.0 || sum < plainLength) {
                plainLength = sum;
                plainBest = route;
            }
        }
        EXPECT_NE(plainBest, reference.Route) << "set " << s << " no longer tells the sums apart";
        for (bool everyStep : {false, true}) {
            TScriptedHost host(state);
            host.EveryStep = everyStep;
            state.FSearching = true;
            SearchExhaustive(state, host, everyStep);
            EXPECT_EQ(state.FBestRoute, reference.Route) << "set " << s << ", every step " << everyStep;
        }
    }
}

TEST(ExhaustiveSearch, StopAfterAnyRouteKeepsTheBestSoFar)
{
    std::mt19937 random(11);
    for (int kind = 0; kind < 5; ++kind) {
        for (int32_t n = 3; n <= 7; ++n) {
            TPointSetState state;
            SetPoints(state, MakeSet(kind, n, random));
            for (int r = 0; r < 6; ++r) {
                const int64_t stopAt = 1 + static_cast<int64_t>(random() % static_cast<uint32_t>(Factorial(n)));
                TScriptedHost host(state);
                host.Arm();
                host.StopAfterSteps = stopAt;
                state.FSearching = true;
                const TSearchOutcome outcome = SearchExhaustive(state, host, true);
                const TReferenceBest reference = ReferenceExhaustive(state.FDistances, n, stopAt);
                ASSERT_EQ(outcome.Steps, stopAt);
                ASSERT_EQ(state.FBestRoute, reference.Route) << "kind " << kind << ", n = " << n << ", stop " << stopAt;
                EXPECT_EQ(state.FRoute, ReferenceDecode(stopAt - 1, n));
                EXPECT_EQ(host.Bar.StepsTaken(), stopAt);
            }
        }
    }
}

// Without a pass of events after every route, a stop lands where the
// events last ran, and the best route is the one a stop there leaves. The
// pacer's clock moves on a fixed amount per reading, so the events come due
// early in the run and at a different route for every tick.
TEST(ExhaustiveSearch, PacedStopMatchesAStopAfterTheSameRoute)
{
    std::mt19937 random(5);
    int stops = 0;
    for (int kind : {0, 1, 3, 4}) {
        TPointSetState state;
        SetPoints(state, MakeSet(kind, 10, random));
        for (int tickUs : {700, 1500, 4000, 9000}) {
            for (int pumpsBeforeStop : {1, 2, 5, 40}) {
                auto now = std::make_shared<std::chrono::steady_clock::time_point>();
                SetPacerClock([now, tickUs] { return *now += std::chrono::microseconds(tickUs); });
                TScriptedHost host(state);
                host.EveryStep = false;
                host.OnEvents = [&] {
                    if (host.EventPasses == pumpsBeforeStop) {
                        host.StepsAtStop = host.Bar.StepsTaken();
                        state.FSearching = false;
                    }
                };
                state.FSearching = true;
                const TSearchOutcome outcome = SearchExhaustive(state, host, false);
                SetPacerClock({});
                if (host.StepsAtStop < 0)
                    continue;
                ++stops;
                EXPECT_EQ(outcome.Steps, host.StepsAtStop);
                const TReferenceBest reference = ReferenceExhaustive(state.FDistances, 10, host.StepsAtStop);
                EXPECT_EQ(state.FBestRoute, reference.Route)
                    << "kind " << kind << ", tick " << tickUs << " us, stop after " << host.StepsAtStop;
            }
        }
    }
    EXPECT_GT(stops, 30);
}

TEST(ExhaustiveSearch, UnevenMatrixIsMeasuredRouteByRoute)
{
    std::mt19937 random(8);
    for (int r = 0; r < 10; ++r) {
        const int32_t n = 6;
        TPointSetState state;
        SetPoints(state, MakeSet(0, n, random));
        for (int32_t i = 0; i < n; ++i)
            for (int32_t j = 0; j < n; ++j)
                if (i < j)
                    state.FDistances[i][j] *= 1.0 + static_cast<double>(random() % 100) / 50.0;
        const TReferenceBest reference = ReferenceExhaustive(state.FDistances, n, Factorial(n));
        TScriptedHost host(state);
        state.FSearching = true;
        SearchExhaustive(state, host, true);
        EXPECT_EQ(state.FBestRoute, reference.Route);
    }
}

TEST(ExhaustiveSearch, PointAddedDuringTheSearchTakesNoPart)
{
    std::mt19937 random(12);
    TPointSetState state;
    SetPoints(state, MakeSet(0, 7, random));
    const TReferenceBest reference = ReferenceExhaustive(state.FDistances, 7, Factorial(7));
    TScriptedHost host(state);
    int added = 0;
    host.OnEvents = [&] {
        if (added < 3 && host.EventPasses % 500 == 0) {
            const int32_t before = static_cast<int32_t>(state.FPoints.size());
            state.FPoints.push_back({static_cast<int32_t>(random() % 640), static_cast<int32_t>(random() % 480), -1});
            ComputeDistances(state.FPoints, state.FDistances, host, before);
            ++added;
        }
    };
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExhaustive(state, host, true);
    EXPECT_EQ(added, 3);
    EXPECT_EQ(outcome.Steps, Factorial(7));
    EXPECT_EQ(state.FBestRoute, reference.Route);
}

// Every kind on sets with duplicates, collinear points, clusters and ties:
// the shortest length of the kind, by a route of the kind listed from its
// first point, after (n - 1)! routes for a round trip or one fixed end.
TEST(ExhaustiveSearch, EveryKindFindsTheShortestRouteOfItsKind)
{
    std::mt19937 random(30);
    int checked = 0;
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n = 1; n <= 9; ++n)
            for (int repeat = 0; repeat < (n <= 6 ? 3 : 1); ++repeat) {
                TPointSetState state;
                SetPoints(state, MakeSet(set, n, random));
                for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                    const TRouteProblem problem = ProblemOfState(state, kind);
                    const double shortest = ReferenceShortestOfKind(problem);
                    if (n <= 7) {
                        ASSERT_EQ(ReferenceShortestByTrial(problem), shortest) << RouteKindText(kind);
                    }
                    const bool everyStep = n <= 6;
                    const TSearchOutcome outcome = SearchKind(problem, everyStep, 1);
                    const std::string where =
                        "set " + std::to_string(set) + ", n = " + std::to_string(n) + ", " + RouteKindText(kind);
                    ASSERT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << where;
                    if (n > 1 && ReferenceFirstPoint(kind, n) >= 0) {
                        EXPECT_EQ(outcome.Route[0], ReferenceFirstPoint(kind, n)) << where;
                    }
                    EXPECT_EQ(problem.Length(outcome.Route), shortest) << where;
                    EXPECT_EQ(outcome.Steps, Factorial(ReferenceFreePoints(kind, n))) << where;
                    EXPECT_TRUE(outcome.Proved) << where;
                    ++checked;
                }
            }
    EXPECT_GT(checked, 700);
}

// Threads share the routes of every kind and find the route one thread
// finds, the shortest of its kind.
TEST(ExhaustiveSearch, ThreadsFindTheRouteOfOneThreadForEveryKind)
{
    std::mt19937 random(31);
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n : {8, 10, 12}) {
            TPointSetState state;
            SetPoints(state, MakeSet(set, n, random));
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                if (kind.FreeOpen() && n == 12)
                    continue;
                const TRouteProblem problem = ProblemOfState(state, kind);
                const TSearchOutcome single = SearchKind(problem, false, 1);
                const TSearchOutcome shared = SearchKind(problem, false, 2);
                const std::string where =
                    "set " + std::to_string(set) + ", n = " + std::to_string(n) + ", " + RouteKindText(kind);
                EXPECT_EQ(shared.Route, single.Route) << where;
                EXPECT_EQ(shared.WorkingRoute, single.WorkingRoute) << where;
                EXPECT_EQ(shared.Steps, Factorial(ReferenceFreePoints(kind, n))) << where;
                EXPECT_EQ(problem.Length(single.Route), ReferenceShortestOfKind(problem)) << where;
            }
        }
}

// A stop leaves the best route of the kind so far, and the working route
// is of the kind too.
TEST(ExhaustiveSearch, StopOfAnyKindLeavesARouteOfTheKind)
{
    std::mt19937 random(32);
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n : {4, 6, 8}) {
            TPointSetState state;
            SetPoints(state, MakeSet(set, n, random));
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                const int64_t routes = Factorial(ReferenceFreePoints(kind, n));
                const int64_t stopAt = 1 + static_cast<int64_t>(random() % static_cast<uint32_t>(routes));
                const TSearchOutcome outcome = SearchKind(ProblemOfState(state, kind), true, 1, stopAt);
                EXPECT_EQ(outcome.Steps, stopAt);
                EXPECT_EQ(outcome.Proved, stopAt == routes);
                EXPECT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << RouteKindText(kind);
                EXPECT_TRUE(RouteFitsKind(outcome.WorkingRoute, kind, n)) << RouteKindText(kind);
            }
        }
}

// Legs of the Earth and of TSPLIB's rounding, from a table and measured by
// the search itself: the shortest route of every kind all the same.
TEST(ExhaustiveSearch, OtherMeasuresFindTheShortestRouteOfEveryKind)
{
    std::mt19937 random(33);
    for (const TMetric metric : {TMetric::Euc2d, TMetric::Sphere, TMetric::Geo})
        for (int32_t n : {5, 9}) {
            TPlaceArray places;
            for (int32_t i = 0; i < n; ++i) {
                const double x = static_cast<double>(random() % 2000) / 100.0;
                const double y = static_cast<double>(random() % 2000) / 100.0;
                places.push_back({metric == TMetric::Euc2d ? x * 50.0 : 40.0 + x / 2.0, y});
            }
            if (n > 5)
                places[3] = places[1];
            const TMeasure measure(metric, places);
            for (const TRouteKind& kind : ReferenceKinds(n, random))
                for (bool withTable : {true, false}) {
                    const TRouteProblem problem = MakeRouteProblem(measure, kind, withTable);
                    const TSearchOutcome outcome = SearchKind(problem, false, 1);
                    const std::string where = MetricKey(metric) + ", n = " + std::to_string(n) + ", " +
                                              RouteKindText(kind) + (withTable ? ", table" : ", measured");
                    ASSERT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << where;
                    EXPECT_EQ(problem.Length(outcome.Route), ReferenceShortestOfKind(problem)) << where;
                }
        }
}
