#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <random>
#include <thread>

#include "search/exhaustive/exhaustive_ranges.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/exhaustive/route_guess.h"
#include "search/pace/step_pacer.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

// The shortest open route's length by Held and Karp's table: the shortest
// path over each subset ending at each point, legs added with AddLeg from
// the route's start. A longer sum never turns shorter by adding the same
// leg, so the table holds the shortest RouteLength exactly.
double HeldKarpLength(const TDistanceMatrix& distances, int32_t n)
{
    const size_t subsets = size_t{1} << n;
    std::vector<double> table(subsets * n, std::numeric_limits<double>::infinity());
    for (int32_t j = 0; j < n; ++j)
        table[(size_t{1} << j) * n + j] = 0.0;
    for (size_t subset = 1; subset < subsets; ++subset)
        for (int32_t j = 0; j < n; ++j) {
            const double length = table[subset * n + j];
            if (length == std::numeric_limits<double>::infinity())
                continue;
            for (int32_t k = 0; k < n; ++k) {
                const size_t grown = subset | (size_t{1} << k);
                if (grown != subset)
                    table[grown * n + k] = std::min(table[grown * n + k], AddLeg(length, distances[j][k]));
            }
        }
    return *std::min_element(table.end() - n, table.end());
}

struct TSearched {
    TSearchOutcome Outcome;
    TSpecimen Best;
    TSpecimen Route;
    int64_t BarSteps = 0;
    std::vector<std::string> StatusTexts;
};

TSearched Search(TPointSetState& state, int32_t threads)
{
    TScriptedHost host(state);
    host.EveryStep = false;
    state.FSearching = true;
    TSearched searched;
    searched.Outcome = SearchExhaustive(state, host, false, threads);
    searched.Best = state.FBestRoute;
    searched.Route = state.FRoute;
    searched.BarSteps = host.Bar.StepsTaken();
    searched.StatusTexts = host.StatusTexts;
    return searched;
}

struct TNoStop {
    bool Step() { return true; }
    bool StepBy(int64_t) { return true; }
};

}  // namespace

TEST(ExhaustiveRanges, CountingPositionInvertsTheDecoder)
{
    for (int32_t n = 1; n <= 8; ++n)
        for (int64_t k = 0; k < Factorial(n); ++k)
            ASSERT_EQ(CountingPosition(ReferenceDecode(k, n)), k) << "n = " << n;
}

TEST(ExhaustiveRanges, ThreadCountFollowsTheRequest)
{
    const int32_t cores = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    const struct {
        const char* name;
        int32_t n;
        bool everyStep;
        int32_t threads;
        int32_t expected;
    } rows[] = {
        {"a pass of events per route", 20, true, 4, 1},
        {"too few points to share", 5, false, 4, 1},
        {"one per core from 13 points", 13, false, 0, cores},
        {"one up to 12 points", 12, false, 0, 1},
        {"as asked", 12, false, 3, 3},
        {"no more than ranges", 6, false, 50, 6},
        {"one asked", 20, false, 1, 1},
        {"no more than the most", 20, false, 100000, MaxExhaustiveThreads},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ExhaustiveThreadCount(row.n, row.everyStep, row.threads), row.expected) << row.name;
}

TEST(ExhaustiveRanges, ThreadsFindTheSequentialRoute)
{
    std::mt19937 random(31);
    for (int kind = skScattered; kind <= skPairs; ++kind)
        for (int32_t n = 6; n <= 12; ++n)
            for (int repeat = 0; repeat < 3; ++repeat) {
                TPointSetState state;
                SetPoints(state, MakeSet(kind, n, random));
                const TSearched single = Search(state, 1);
                if (n <= 8) {
                    ASSERT_EQ(single.Best, ReferenceExhaustive(state.FDistances, n, Factorial(n)).Route);
                }
                for (int32_t threads : {2, 3}) {
                    const TSearched shared = Search(state, threads);
                    ASSERT_EQ(shared.Best, single.Best) << "kind " << kind << ", n = " << n << ", threads " << threads;
                    EXPECT_EQ(shared.Outcome.Steps, Factorial(n));
                    EXPECT_EQ(shared.BarSteps, Factorial(n));
                    EXPECT_EQ(shared.Route, single.Route);
                    EXPECT_EQ(shared.StatusTexts, single.StatusTexts);
                }
            }
}

// Threads may finish their ranges in any order. Run every range on its own
// scan, the last range first, so that each range starts with the best of
// all later ones, equal lengths among them: merged by length and counting
// position, the ranges still give the sequential route.
TEST(ExhaustiveRanges, RangesRunBackwardsMergeToTheSequentialRoute)
{
    std::mt19937 random(17);
    for (int kind : {skCollinear, skHeaps, skLattice, skPairs, skScattered})
        for (int32_t n : {7, 8, 9}) {
            TPointSetState state;
            SetPoints(state, MakeSet(kind, n, random));
            TNoStop stepper;
            TSpecimen sequential(n);
            TExhaustiveScan<TNoStop>(state.FDistances, n, stepper, sequential).Run();

            const int32_t depth = ExhaustiveRangeDepth(n);
            std::atomic<double> shared(RouteLength(state.FDistances, sequential));
            TSpecimen merged;
            double mergedLength = std::numeric_limits<double>::infinity();
            for (int64_t range = ExhaustiveRangeCount(n) - 1; range >= 0; --range) {
                TSpecimen route(n);
                TExhaustiveScan<TNoStop> scan(state.FDistances, n, stepper, route);
                scan.ShareBest(shared);
                scan.RunRange(range, depth);
                // Backwards, a range comes before every route merged so far.
                if (scan.HasBest() && scan.Best() <= mergedLength) {
                    mergedLength = scan.Best();
                    merged = route;
                }
            }
            EXPECT_EQ(merged, sequential) << "kind " << kind << ", n = " << n;
        }
}

TEST(ExhaustiveRanges, ShortestLengthMatchesHeldKarp)
{
    std::mt19937 random(4);
    for (int kind : {skScattered, skPairs, skCollinear, skLattice, skFar})
        for (int32_t n : {13, 15}) {
            TPointSetState state;
            SetPoints(state, MakeSet(kind, n, random));
            const double shortest = HeldKarpLength(state.FDistances, n);
            const TSearched single = Search(state, 1);
            const TSearched shared = Search(state, 2);
            EXPECT_EQ(RouteLength(state.FDistances, single.Best), shortest) << "kind " << kind << ", n = " << n;
            EXPECT_EQ(shared.Best, single.Best) << "kind " << kind << ", n = " << n;
            EXPECT_TRUE(IsPermutation(shared.Best));
        }
}

TEST(ExhaustiveRanges, GuessShortRouteIsACompleteRoute)
{
    std::mt19937 random(9);
    for (int kind = skScattered; kind <= skPairs; ++kind)
        for (int32_t n : {1, 2, 3, 8, 20}) {
            TPointSetState state;
            SetPoints(state, MakeSet(kind, n, random));
            const TSpecimen route = GuessShortRoute(state.FDistances, n);
            ASSERT_EQ(static_cast<int32_t>(route.size()), n);
            EXPECT_TRUE(IsPermutation(route)) << "kind " << kind << ", n = " << n;
        }
}

// Twenty points in six places: millions of equally short routes keep the
// threads busy for seconds, so the stop at the first pass of events finds
// them all at work. On a loaded machine the workers may not have taken a
// step by then; the pass gives them a moment, and the working route is the
// first one when none was decided.
TEST(ExhaustiveRanges, StopEndsEveryThreadWithTheBestEvaluated)
{
    TPointSetState state;
    std::vector<TMapPoint> points;
    for (int32_t i = 0; i < 20; ++i)
        points.push_back({10 * (i % 3), 10 * (i % 2), -1});
    SetPoints(state, points);
    auto now = std::make_shared<std::chrono::steady_clock::time_point>();
    SetPacerClock([now] { return *now += std::chrono::milliseconds(20); });
    TScriptedHost host(state);
    host.EveryStep = false;
    host.OnEvents = [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        state.FSearching = false;
    };
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExhaustive(state, host, false, 2);
    SetPacerClock({});

    EXPECT_EQ(host.EventPasses, 1);
    EXPECT_LT(outcome.Steps, Factorial(20));
    // The bar shows the share of the 20! routes decided by the threads.
    const long double share = static_cast<long double>(outcome.Steps) / static_cast<long double>(Factorial(20));
    EXPECT_NEAR(host.Bar.Position(), static_cast<double>(share * host.Bar.Max()), 1.0);
    ASSERT_TRUE(IsPermutation(state.FBestRoute));
    EXPECT_LE(RouteLength(state.FDistances, state.FBestRoute),
              RouteLength(state.FDistances, GuessShortRoute(state.FDistances, 20)));
    TSpecimen atBar;
    DecodeCountingOrder(std::max<int64_t>(outcome.Steps - 1, 0), 20, atBar);
    EXPECT_EQ(state.FRoute, atBar);
    EXPECT_EQ(host.StatusTexts.back(), "");
}
