#include <gtest/gtest.h>

#include <random>

#include "core/distances.h"
#include "core/random_source.h"
#include "search/random/random_search.h"
#include "support/kind_reference.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

// Puts the reseed clock back to the system clock when a test ends.
std::vector<TMapPoint> Scattered(int32_t n, std::mt19937& random)
{
    std::vector<TMapPoint> points;
    for (int32_t i = 0; i < n; ++i)
        points.push_back({static_cast<int32_t>(random() % 640), static_cast<int32_t>(random() % 480), -1});
    return points;
}

// The route RandomRoute gives for a clock value, and the state it leaves.
TSpecimen StartingRoute(uint32_t clock, int32_t n, uint32_t* stateAfter = nullptr)
{
    TClockScript script(clock);
    TSpecimen route(n);
    RandomRoute(route);
    if (stateAfter)
        *stateAfter = RandomState();
    return route;
}

// A search of the problem with the reseed clock at clock; the host watches
// the routes the search offers.
TSearchOutcome SearchKind(const TRouteProblem& problem, int32_t tries, uint32_t clock,
                          std::vector<TScriptedHost::TOffered>* offers = nullptr)
{
    TPointSetState state;
    TScriptedHost host(state);
    host.Watching = offers != nullptr;
    TClockScript script(clock);
    state.FSearching = true;
    const TSearchOutcome outcome = SearchRandom(problem, host, tries, true);
    if (offers)
        *offers = host.Offers;
    return outcome;
}

// Places on the Earth, latitude and longitude in degrees, about Poland.
TPlaceArray EarthPlaces(int32_t n, std::mt19937& random)
{
    TPlaceArray places;
    for (int32_t i = 0; i < n; ++i)
        places.push_back({49.0 + static_cast<double>(random() % 50000) / 10000.0,
                          14.0 + static_cast<double>(random() % 100000) / 10000.0});
    return places;
}

}  // namespace

TEST(RandomRoute, OneEntryGetsPointZero)
{
    TClockScript script(12345);
    TSpecimen route = {7};
    RandomRoute(route);
    EXPECT_EQ(route, TSpecimen({0}));
}

TEST(RandomRoute, EmptyRouteOnlyReseeds)
{
    TClockScript script(4242);
    SetRandomState(1);
    TSpecimen route;
    RandomRoute(route);
    EXPECT_TRUE(route.empty());
    EXPECT_EQ(RandomState(), 4242u);
}

// With the state at 0 both draws of RandomBelow(2) are 0: the first value
// goes to the entry after the drawn one, the second wraps round to entry 0.
TEST(RandomRoute, HuntForAFreeEntryStartsAfterTheDrawnOne)
{
    TClockScript script(0);
    TSpecimen route(2);
    RandomRoute(route);
    EXPECT_EQ(route, TSpecimen({1, 0}));
}

TEST(RandomRoute, AlwaysGivesAPermutation)
{
    for (uint32_t clock = 0; clock < 2000; clock += 7) {
        for (int32_t n : {1, 2, 3, 5, 17, 100}) {
            TClockScript script(clock * 40503u);
            TSpecimen route(n, 99);
            RandomRoute(route);
            ASSERT_TRUE(IsPermutation(route)) << "clock " << clock << ", n = " << n;
        }
    }
}

TEST(RandomRoute, SameClockReadingGivesTheSameRoute)
{
    EXPECT_EQ(StartingRoute(86399999, 30), StartingRoute(86399999, 30));
    EXPECT_NE(StartingRoute(1000, 30), StartingRoute(1001, 30));
}

TEST(RandomSearch, OneTryKeepsTheStartingRoute)
{
    std::mt19937 random(1);
    TPointSetState state;
    SetPoints(state, Scattered(8, random));
    const TSpecimen start = StartingRoute(777, 8);
    TClockScript script(777);
    TScriptedHost host(state);
    state.FSearching = true;
    const TSearchOutcome outcome = SearchRandom(state, host, 1, true);
    EXPECT_TRUE(outcome.Evaluated);
    EXPECT_EQ(outcome.Steps, 1);
    EXPECT_EQ(state.FBestRoute, start);
    EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Przeszukiwanie losowe...", ""}));
}

// The first try is always an improvement; with three points the sweep
// wraps at once to the first pair, with more it moves to the second.
TEST(RandomSearch, FirstImprovementExchangesTheSweepPair)
{
    const struct {
        int32_t n;
        int32_t first;
    } rows[] = {{3, 0}, {4, 1}, {5, 1}, {12, 1}};
    std::mt19937 random(2);
    for (const auto& row : rows) {
        TPointSetState state;
        SetPoints(state, Scattered(row.n, random));
        TSpecimen expected = StartingRoute(31337, row.n);
        std::swap(expected[row.first], expected[row.first + 1]);
        TClockScript script(31337);
        TScriptedHost host(state);
        state.FSearching = true;
        SearchRandom(state, host, 1, true);
        EXPECT_EQ(state.FRoute, expected) << "n = " << row.n;
    }
}

// With every point at one place every route is as long as the best, so
// after the first try none is an improvement: FBestRoute stays the first
// route and each try exchanges the pair a draw picks.
TEST(RandomSearch, EquallyLongRouteIsNoImprovement)
{
    TPointSetState state;
    SetPoints(state, {{5, 5, -1}, {5, 5, -1}, {5, 5, -1}, {5, 5, -1}, {5, 5, -1}});
    uint32_t afterStart = 0;
    const TSpecimen start = StartingRoute(555, 5, &afterStart);
    TClockScript script(555);
    TScriptedHost host(state);
    state.FSearching = true;
    SearchRandom(state, host, 40, true);
    TSpecimen bestExpected = start;
    EXPECT_EQ(state.FBestRoute, bestExpected);
    TSpecimen walk = start;
    std::swap(walk[1], walk[2]);
    SetRandomState(afterStart);
    for (int t = 1; t < 40; ++t) {
        const int32_t k = RandomBelow(4);
        std::swap(walk[k], walk[k + 1]);
    }
    EXPECT_EQ(state.FRoute, walk);
}

TEST(RandomSearch, MatchesTheWalkStepByStep)
{
    std::mt19937 random(4);
    for (int r = 0; r < 60; ++r) {
        const int32_t n = 3 + static_cast<int32_t>(random() % 40);
        const int32_t tries = 1 + static_cast<int32_t>(random() % 400);
        TPointSetState state;
        std::vector<TMapPoint> points = Scattered(n, random);
        if (r % 3 == 0)
            for (TMapPoint& point : points)
                point.X = 2000000000 - point.X * 97, point.Y = point.Y % 3;
        SetPoints(state, points);
        const uint32_t clock = static_cast<uint32_t>(random() % 86400000);
        uint32_t stateAfter = 0;
        TReferenceWalk reference;
        {
            TClockScript script(clock);
            reference = ReferenceRandomSearch(state.FDistances, n, tries);
            stateAfter = RandomState();
        }
        TClockScript script(clock);
        TScriptedHost host(state);
        host.EveryStep = r % 2 == 0;
        state.FSearching = true;
        const TSearchOutcome outcome = SearchRandom(state, host, tries, host.EveryStep);
        ASSERT_EQ(state.FBestRoute, reference.Best) << "n = " << n << ", tries " << tries;
        EXPECT_EQ(state.FRoute, reference.Route);
        EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), reference.BestLength);
        EXPECT_EQ(RandomState(), stateAfter);
        EXPECT_EQ(outcome.Steps, tries);
    }
}

TEST(RandomSearch, BarMaximumIsTheTryCountAndIsReached)
{
    std::mt19937 random(5);
    TPointSetState state;
    SetPoints(state, Scattered(10, random));
    TClockScript script(9);
    TScriptedHost host(state);
    state.FSearching = true;
    SearchRandom(state, host, 321, false);
    EXPECT_EQ(host.Bar.Max(), 321);
    EXPECT_EQ(host.Bar.Position(), 321);
}

TEST(RandomSearch, StopEndsTheSearchAfterTheCurrentTry)
{
    std::mt19937 random(6);
    TPointSetState state;
    SetPoints(state, Scattered(9, random));
    TReferenceWalk reference;
    {
        TClockScript script(4711);
        reference = ReferenceRandomSearch(state.FDistances, 9, 17);
    }
    TClockScript script(4711);
    TScriptedHost host(state);
    host.Arm();
    host.StopAfterSteps = 17;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchRandom(state, host, 1000, true);
    EXPECT_EQ(outcome.Steps, 17);
    EXPECT_EQ(state.FBestRoute, reference.Best);
    EXPECT_EQ(state.FRoute, reference.Route);
    EXPECT_EQ(host.StatusTexts.back(), "");
}

TEST(RandomSearch, NoTryEvaluatesNothing)
{
    std::mt19937 random(7);
    TPointSetState state;
    SetPoints(state, Scattered(6, random));
    state.FBestRoute = {5, 4, 3, 2, 1, 0};
    TClockScript script(1);
    TScriptedHost host(state);
    state.FSearching = true;
    for (int32_t tries : {0, -7}) {
        const TSearchOutcome outcome = SearchRandom(state, host, tries, true);
        EXPECT_FALSE(outcome.Evaluated);
        EXPECT_EQ(outcome.Steps, 0);
        EXPECT_EQ(state.FBestRoute, TSpecimen({5, 4, 3, 2, 1, 0}));
        EXPECT_EQ(host.Bar.Min(), 0) << tries;
    }
}

// Every kind on sets with duplicates, collinear points, clusters and ties:
// the fixed points stay in place, the walk measures what the problem
// measures (a round trip with its way back), and no route beats the
// shortest of its kind.
TEST(RandomSearch, EveryKindKeepsItsFixedPointsAndNeverBeatsTheShortest)
{
    std::mt19937 random(30);
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n = 3; n <= 10; ++n) {
            TPointSetState state;
            SetPoints(state, MakeSet(set, n, random));
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                const TRouteProblem problem = ProblemOfState(state, kind);
                const int32_t tries = 1 + static_cast<int32_t>(random() % 400);
                std::vector<TScriptedHost::TOffered> offers;
                const TSearchOutcome outcome = SearchKind(problem, tries, random() % 86400000, &offers);
                const std::string where =
                    "set " + std::to_string(set) + ", n = " + std::to_string(n) + ", " + RouteKindText(kind);
                ASSERT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << where;
                ASSERT_TRUE(RouteFitsKind(outcome.WorkingRoute, kind, n)) << where;
                if (ReferenceFirstPoint(kind, n) >= 0) {
                    EXPECT_EQ(outcome.Route[0], ReferenceFirstPoint(kind, n)) << where;
                }
                EXPECT_GE(problem.Length(outcome.Route), ReferenceShortestOfKind(problem)) << where;
                EXPECT_EQ(outcome.Steps, tries) << where;
                ASSERT_FALSE(offers.empty()) << where;
                for (const auto& offer : offers)
                    ASSERT_EQ(offer.Length, problem.Length(offer.Route)) << where;
            }
        }
}

// Up to four free points the walk comes by every route of the kind long
// before its tries run out, the shortest among them.
TEST(RandomSearch, SmallStretchesReachTheShortestOfTheirKind)
{
    std::mt19937 random(31);
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n : {3, 4, 5, 6}) {
            TPointSetState state;
            SetPoints(state, MakeSet(set, n, random));
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                if (kind.FreeOpen() || ReferenceFreePoints(kind, n) > 4)
                    continue;
                const TRouteProblem problem = ProblemOfState(state, kind);
                const TSearchOutcome outcome = SearchKind(problem, 2000, random() % 86400000);
                EXPECT_EQ(problem.Length(outcome.Route), ReferenceShortestOfKind(problem))
                    << "set " << set << ", n = " << n << ", " << RouteKindText(kind);
            }
        }
}

// Legs of the Earth measured as the walk needs them give the walk that
// the same legs from a table give.
TEST(RandomSearch, MeasuredLegsWalkAsTheTableDoes)
{
    std::mt19937 random(32);
    const TMeasure measure(TMetric::Sphere, EarthPlaces(40, random));
    for (const TRouteKind& kind : ReferenceKinds(40, random)) {
        const TRouteProblem table = MakeRouteProblem(measure, kind, true);
        const TRouteProblem measured = MakeRouteProblem(measure, kind, false);
        ASSERT_TRUE(table.HasTable());
        ASSERT_FALSE(measured.HasTable());
        const uint32_t clock = random() % 86400000;
        const TSearchOutcome fromTable = SearchKind(table, 3000, clock);
        const TSearchOutcome fromLegs = SearchKind(measured, 3000, clock);
        EXPECT_EQ(fromLegs.Route, fromTable.Route) << RouteKindText(kind);
        EXPECT_EQ(fromLegs.WorkingRoute, fromTable.WorkingRoute) << RouteKindText(kind);
        EXPECT_TRUE(RouteFitsKind(fromLegs.Route, kind, 40)) << RouteKindText(kind);
    }
}

// Beyond the table's size every leg is measured, for every kind.
TEST(RandomSearch, SetsBeyondTheTableWalkEveryKind)
{
    std::mt19937 random(33);
    const int32_t n = MaxLegTablePoints + 76;
    const TMeasure measure(TMetric::Sphere, EarthPlaces(n, random));
    for (const TRouteKind& kind : ReferenceKinds(n, random)) {
        const TRouteProblem problem = MakeRouteProblem(measure, kind);
        ASSERT_FALSE(problem.HasTable());
        std::vector<TScriptedHost::TOffered> offers;
        const TSearchOutcome outcome = SearchKind(problem, 500, random() % 86400000, &offers);
        EXPECT_EQ(outcome.Steps, 500);
        EXPECT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << RouteKindText(kind);
        ASSERT_FALSE(offers.empty());
        EXPECT_EQ(offers.back().Length, problem.Length(offers.back().Route)) << RouteKindText(kind);
    }
}
