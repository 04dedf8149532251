#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "core/distances.h"
#include "core/random_source.h"
#include "scripted_host.h"
#include "search/local_search.h"
#include "search/nearest_route.h"
#include "search/neighbour_lists.h"
#include "search_reference.h"

namespace {

struct TClockScript {
    explicit TClockScript(uint32_t value)
    {
        SetReseedClock([value] { return value; });
    }
    ~TClockScript() { SetReseedClock({}); }
};

// Scattered, on a line, stacked on a few places, a lattice of equal routes,
// and far apart at the ends of 32 bits.
TPointArray MakeSet(int kind, int32_t n, std::mt19937& random)
{
    auto draw = [&](int32_t range) { return static_cast<int32_t>(random() % static_cast<uint32_t>(range)); };
    TPointArray points;
    for (int32_t i = 0; i < n; ++i) {
        switch (kind) {
        case 0:
            points.push_back({draw(640), draw(480), -1});
            break;
        case 1:
            points.push_back({3 * draw(30), 4 * draw(30), -1});
            break;
        case 2:
            points.push_back({10 * draw(3), 10 * draw(2), -1});
            break;
        case 3:
            points.push_back({draw(4), draw(4), -1});
            break;
        default:
            points.push_back({draw(2) == 0 ? -2000000000 + draw(50) : 2000000000 - draw(50), draw(2000000000), -1});
            break;
        }
    }
    return points;
}

void SetPoints(TPointSetState& state, const TPointArray& points)
{
    state.FPoints = points;
    TScriptedHost host(state);
    ComputeDistances(state, host, 0);
}

TSearchOutcome RunLocal(TPointSetState& state, TScriptedHost& host, int32_t tries, int32_t start = -1)
{
    TLocalParams params;
    params.StopByTime = false;
    params.Tries = tries;
    params.StartPoint = start;
    state.FSearching = true;
    host.Arm();
    return SearchLocal(state, host, params, host.EveryStep);
}

// The shortest open route by trying them all (from start when it is set).
double ShortestLength(const TDistanceMatrix& distances, int32_t n, int32_t start)
{
    TSpecimen route(n);
    std::iota(route.begin(), route.end(), 0);
    if (start >= 0)
        std::swap(route[0], route[start]);
    std::sort(route.begin() + (start >= 0 ? 1 : 0), route.end());
    double best = -1;
    do {
        const double length = RouteLength(distances, route);
        if (best < 0 || length < best)
            best = length;
    } while (std::next_permutation(route.begin() + (start >= 0 ? 1 : 0), route.end()));
    return best;
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

TEST(LocalSearch, AlwaysLeavesAWholeRouteFromTheFixedPoint)
{
    std::mt19937 random(31);
    for (int kind = 0; kind <= 4; ++kind) {
        for (int32_t n : {1, 2, 3, 4, 5, 8, 13, 40}) {
            for (int32_t start : {-1, static_cast<int32_t>(random() % n)}) {
                TPointSetState state;
                state.FPoints = MakeSet(kind, n, random);
                TScriptedHost host(state);
                host.EveryStep = false;
                TClockScript clock(static_cast<uint32_t>(random()));
                const TSearchOutcome outcome = RunLocal(state, host, 200, start);
                ASSERT_TRUE(IsPermutation(state.FBestRoute)) << "kind " << kind << ", n = " << n;
                ASSERT_EQ(static_cast<int32_t>(state.FBestRoute.size()), n);
                if (start >= 0) {
                    ASSERT_EQ(state.FBestRoute[0], start) << "kind " << kind << ", n = " << n;
                }
                EXPECT_TRUE(outcome.Evaluated);
                // The ring of points and gap needs four nodes for a kick.
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

// A local search need not find the optimum; what must hold is that it never
// ends longer than the route it started from and that no 2-opt move (with
// at most 11 points every point is on every list) still helps.
TEST(LocalSearch, NoLongerThanItsStartAndTwoOptOptimal)
{
    std::mt19937 random(32);
    for (int kind = 0; kind <= 4; ++kind) {
        for (int32_t n : {3, 5, 7, 9, 11}) {
            for (int32_t start : {-1, static_cast<int32_t>(random() % n)}) {
                TPointSetState state;
                SetPoints(state, MakeSet(kind, n, random));
                TPointTree tree(state.FPoints);
                const TNeighbourLists lists(tree, 10);
                const TSpecimen first = NearestNeighbourRoute(state.FPoints, tree, lists,
                                                              start >= 0 ? start : FreeStartPoint(state.FPoints));
                TScriptedHost host(state);
                TClockScript clock(static_cast<uint32_t>(random()));
                RunLocal(state, host, 50, start);
                const double length = RouteLength(state.FDistances, state.FBestRoute);
                EXPECT_LE(length, RouteLength(state.FDistances, first) * (1 + 1e-12));
                ExpectTwoOptOptimal(state.FDistances, state.FBestRoute, start >= 0);
                ExpectTwoOptOptimal(state.FDistances, QuickRoute(state.FPoints, start), start >= 0);
            }
        }
    }
}

// On nine points the first local optimum is the shortest route about nine
// times in ten. Kicks only ever keep a route no longer, and 300 of them make
// the shortest route all but certain: at most three sets in sixty may stay
// a little longer.
TEST(LocalSearch, KicksFindTheShortestRouteOnAlmostAllSetsOfNine)
{
    std::mt19937 random(33);
    int sets = 0;
    int optimal = 0;
    int optimalWithoutKicks = 0;
    for (int kind = 0; kind <= 4; ++kind) {
        for (int set = 0; set < 12; ++set) {
            const int32_t n = 9;
            const int32_t start = set % 2 == 0 ? -1 : static_cast<int32_t>(random() % n);
            TPointSetState state;
            SetPoints(state, MakeSet(set % 3 == 0 ? kind : 0, n, random));
            const double shortest = ShortestLength(state.FDistances, n, start);
            const uint32_t seed = static_cast<uint32_t>(random());
            double lengths[2];
            for (int32_t tries : {0, 300}) {
                TScriptedHost host(state);
                host.EveryStep = false;
                TClockScript clock(seed);
                RunLocal(state, host, tries, start);
                lengths[tries > 0] = RouteLength(state.FDistances, state.FBestRoute);
            }
            EXPECT_LE(lengths[1], lengths[0]) << "kind " << kind << ", set " << set;
            EXPECT_LE(lengths[1], shortest * 1.1) << "kind " << kind << ", set " << set;
            ++sets;
            optimal += lengths[1] <= shortest * (1 + 1e-12);
            optimalWithoutKicks += lengths[0] <= shortest * (1 + 1e-12);
        }
    }
    EXPECT_GE(optimal, sets - 3) << optimal << " of " << sets;
    EXPECT_GT(optimal, optimalWithoutKicks);
}

TEST(LocalSearch, SameClockAndTriesGiveTheSameRoute)
{
    std::mt19937 random(34);
    TPointSetState state;
    state.FPoints = MakeSet(0, 60, random);
    TSpecimen routes[2];
    uint32_t stateBefore = 1;
    for (TSpecimen& route : routes) {
        SetRandomState(stateBefore++);
        TClockScript clock(123456);
        TScriptedHost host(state);
        host.EveryStep = false;
        EXPECT_EQ(RunLocal(state, host, 400).Steps, 400);
        route = state.FBestRoute;
    }
    EXPECT_EQ(routes[0], routes[1]);
}

// Each kick draws three numbers, all from the one reseed at the start.
TEST(LocalSearch, DrawsOnlyFromOneReseed)
{
    std::mt19937 random(35);
    TPointSetState state;
    state.FPoints = MakeSet(0, 30, random);
    TClockScript clock(777);
    TScriptedHost host(state);
    host.EveryStep = false;
    const TSearchOutcome outcome = RunLocal(state, host, 100);
    const uint32_t after = RandomState();
    SetRandomState(777);
    for (int64_t draw = 0; draw < 3 * outcome.Steps; ++draw)
        RandomBelow(2);
    EXPECT_EQ(after, RandomState());
}

TEST(LocalSearch, WorksWithoutTheDistanceMatrix)
{
    std::mt19937 random(36);
    TPointSetState state;
    state.FPoints = MakeSet(0, 300, random);
    TScriptedHost host(state);
    host.EveryStep = false;
    TClockScript clock(5);
    RunLocal(state, host, 100);
    EXPECT_TRUE(state.FDistances.empty());
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
}

TEST(LocalSearch, BarCountsTriesWithoutWrapping)
{
    std::mt19937 random(37);
    TPointSetState state;
    state.FPoints = MakeSet(0, 20, random);
    TScriptedHost host(state);
    TClockScript clock(9);
    RunLocal(state, host, 250);
    EXPECT_EQ(host.Bar.Max(), 250);
    EXPECT_EQ(host.Bar.Position(), 250);
    EXPECT_EQ(host.Bar.StepsTaken(), 250);
}

TEST(LocalSearch, StopAfterKicksKeepsAWholeRoute)
{
    std::mt19937 random(38);
    for (int32_t stopAfter : {1, 5, 17}) {
        TPointSetState state;
        state.FPoints = MakeSet(0, 25, random);
        TScriptedHost host(state);
        host.StopAfterSteps = stopAfter;
        TClockScript clock(11);
        const TSearchOutcome outcome = RunLocal(state, host, 1000, 3);
        EXPECT_EQ(outcome.Steps, stopAfter);
        EXPECT_EQ(host.StepsAtStop, stopAfter);
        EXPECT_TRUE(IsPermutation(state.FBestRoute));
        EXPECT_EQ(state.FBestRoute[0], 3);
        EXPECT_EQ(host.StatusTexts.back(), "");
    }
}

// A stop while the route is built is acted on once it is whole: the route
// is the nearest-neighbour one, untouched. Later stops land inside the
// first settling and leave a route no longer than that.
TEST(LocalSearch, StopDuringTheFirstSettlingKeepsTheBuiltRouteOrBetter)
{
    std::mt19937 random(39);
    const TPointArray points = MakeSet(0, 80, random);
    TPointTree tree(points);
    const TNeighbourLists lists(tree, 10);
    const TSpecimen built = NearestNeighbourRoute(points, tree, lists, FreeStartPoint(points));
    for (int64_t stopAtPass : {1, 100, 180, 250}) {
        TPointSetState state;
        SetPoints(state, points);
        TScriptedHost host(state);
        int64_t passes = 0;
        host.OnEvents = [&] {
            if (++passes == stopAtPass)
                state.FSearching = false;
        };
        TClockScript clock(13);
        const TSearchOutcome outcome = RunLocal(state, host, 1000);
        EXPECT_EQ(outcome.Steps, 0) << "stop at pass " << stopAtPass;
        EXPECT_TRUE(outcome.Evaluated);
        ASSERT_TRUE(IsPermutation(state.FBestRoute));
        if (stopAtPass == 1) {
            EXPECT_EQ(state.FBestRoute, built);
        }
        EXPECT_LE(RouteLength(state.FDistances, state.FBestRoute), RouteLength(state.FDistances, built) * (1 + 1e-12));
    }
}

TEST(LocalSearch, TimeRuleShowsMillisecondsOfTheLimit)
{
    std::mt19937 random(40);
    TPointSetState state;
    state.FPoints = MakeSet(0, 30, random);
    TScriptedHost host(state);
    host.EveryStep = false;
    TLocalParams params;
    params.TimeLimitSeconds = 1.0;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchLocal(state, host, params);
    EXPECT_EQ(host.Bar.Max(), 1000);
    EXPECT_GT(outcome.Steps, 0);
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
}
