#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "search/bound/bound_texts.h"
#include "search/exact/branch_and_bound.h"
#include "search/exact/exact_search.h"
#include "search/local/local_search.h"
#include "search/run/run_control.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

struct TProof {
    bool Proved = false;
    TSpecimen Route;
    double Length = 0.0;
    double Bound = 0.0;
    int64_t Subproblems = 0;
};

TProof Prove(const TPointArray& points, int32_t start, int64_t maxSubproblems = INT64_MAX)
{
    TBranchAndBound search(points, start, QuickRoute(points, start));
    TProof proof;
    proof.Proved = search.Run([](int64_t) { return true; }, {}, maxSubproblems);
    proof.Route = search.Best();
    proof.Length = search.BestLength();
    proof.Bound = search.LowerBound();
    proof.Subproblems = search.Subproblems();
    return proof;
}

// The table's answer: the least RouteLength of all routes, to the last bit.
double TableLength(TPointSetState& state, int32_t start)
{
    TScriptedHost host(state);
    host.EveryStep = false;
    state.FSearching = true;
    SearchExact(state, host, {start}, false);
    return RouteLength(state.FDistances, state.FBestRoute);
}

// Tight clusters far apart: most legs inside a cluster, a few long ones.
std::vector<TMapPoint> Clusters(int32_t n, std::mt19937& random)
{
    std::vector<TMapPoint> points;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t cluster = static_cast<int32_t>(random() % 3);
        points.push_back({cluster * 400 + static_cast<int32_t>(random() % 30),
                          (cluster % 2) * 300 + static_cast<int32_t>(random() % 30), -1});
    }
    return points;
}

}  // namespace

// The proof never calls a longer route the shortest: against the slow
// literal search over every route and against the table, on every kind of
// set both reach (ties, points at one place, points on a line, clusters,
// legs that round twice), with a free start and a fixed one.
TEST(BranchAndBound, MatchesTheReferenceAndTheTableOnEveryKindOfSet)
{
    std::mt19937 random(2026);
    int checked = 0;
    for (int kind = 0; kind <= skKindCount; ++kind) {
        for (int32_t n = 1; n <= 11; ++n) {
            const int repeats = n <= 8 ? 3 : 1;
            for (int r = 0; r < repeats; ++r) {
                TPointSetState state;
                SetPoints(state, kind == skKindCount ? Clusters(n, random) : MakeSet(kind, n, random));
                const double reference =
                    n <= 8 ? ReferenceExhaustive(state.FDistances, n, Factorial(n)).Length : TableLength(state, -1);
                for (const int32_t start : {-1, n / 2}) {
                    const TProof proof = Prove(state.FPoints, start);
                    const double expected = start < 0 ? reference : TableLength(state, start);
                    ASSERT_TRUE(proof.Proved) << "kind " << kind << ", n = " << n;
                    ASSERT_TRUE(IsPermutation(proof.Route));
                    EXPECT_EQ(RouteLength(state.FDistances, proof.Route), expected)
                        << "kind " << kind << ", n = " << n << ", start " << start;
                    EXPECT_EQ(proof.Length, expected);
                    if (start >= 0) {
                        EXPECT_EQ(proof.Route[0], start);
                    }
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 300);
}

// Beyond the table's sizes the proof still agrees with it where the table
// can go: scattered sets and clusters of up to 16 points.
TEST(BranchAndBound, MatchesTheTableOnLargerSets)
{
    std::mt19937 random(77);
    for (int32_t n = 12; n <= MaxTablePoints; ++n) {
        for (const bool clustered : {false, true}) {
            TPointSetState state;
            SetPoints(state, clustered ? Clusters(n, random) : MakeSet(skScattered, n, random));
            const TProof proof = Prove(state.FPoints, -1);
            ASSERT_TRUE(proof.Proved) << n;
            EXPECT_EQ(proof.Length, TableLength(state, -1)) << n << (clustered ? " clustered" : "");
        }
    }
}

// Every leg of a lattice route is a whole number, so routes as long as the
// best add up to exactly its length: 36 points of a 6 × 6 lattice, with
// thousands of shortest routes, are proved at once.
TEST(BranchAndBound, ProvesALatticeFullOfEqualRoutes)
{
    TPointArray points;
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x)
            points.push_back({x * 10, y * 10, -1});
    const TProof proof = Prove(points, -1, 1000);
    EXPECT_TRUE(proof.Proved);
    EXPECT_EQ(proof.Length, 350.0);
}

// A stop leaves open subproblems: their least bound, after RouteLength's
// roundings, stays at or below the shortest route's length.
TEST(BranchAndBound, BoundOfAStoppedSearchIsBelowTheShortest)
{
    std::mt19937 random(5);
    for (int32_t n : {20, 30}) {
        for (int r = 0; r < 3; ++r) {
            const TPointArray points = MakeSet(skScattered, n, random);
            const TProof whole = Prove(points, -1);
            ASSERT_TRUE(whole.Proved);
            EXPECT_EQ(whole.Bound, whole.Length);
            const TProof stopped = Prove(points, -1, 1);
            EXPECT_LE(stopped.Bound, whole.Length) << n;
            EXPECT_GT(stopped.Bound, 0.9 * whole.Length) << n;
            EXPECT_GE(stopped.Length, whole.Length);
        }
    }
}

// A run beyond the table's sizes that is stopped reports its best route as
// the best found, never as the shortest, with how much longer than the
// shortest it can be; a whole run calls it the shortest.
TEST(BranchAndBound, StoppedRunReportsTheProvedGap)
{
    std::mt19937 random(8);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, 40, random));
    for (const bool stop : {false, true}) {
        TScriptedHost host(state);
        if (stop)
            host.StopAfterSteps = 1;
        const TRunResult result = RunSearch(state, host, smExact, {});
        EXPECT_EQ(result.Outcome.Proved, !stop);
        EXPECT_TRUE(result.Outcome.Bound.Certified);
        EXPECT_LE(result.Outcome.Bound.Value, result.Length);
        if (stop) {
            ASSERT_EQ(result.Lines.size(), 3u);
            EXPECT_EQ(result.Lines[1].rfind("Długość najlepszej znalezionej drogi: ", 0), 0u) << result.Lines[1];
            EXPECT_EQ(result.Lines[2], GapLine(result.Length, result.Outcome.Bound, host.Format));
        } else {
            ASSERT_EQ(result.Lines.size(), 2u);
            EXPECT_EQ(result.Lines[1].rfind("Długość najkrótszej drogi: ", 0), 0u) << result.Lines[1];
        }
    }
}

// The status text tells the best length, the bound and the open
// subproblems while the proof runs, and is cleared at its end.
TEST(BranchAndBound, StatusTellsTheBestTheBoundAndTheOpenSubproblems)
{
    std::mt19937 random(11);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, 30, random));
    TScriptedHost host(state);
    host.Arm();
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExact(state, host, {}, true);
    EXPECT_TRUE(outcome.Proved);
    ASSERT_GE(host.StatusTexts.size(), 3u);
    EXPECT_EQ(host.StatusTexts.front(), "Metoda dokładna...");
    const std::string& shown = host.StatusTexts[1];
    EXPECT_EQ(shown.rfind("Metoda dokładna: najlepsza droga ", 0), 0u) << shown;
    EXPECT_NE(shown.find(", dolne ograniczenie "), std::string::npos) << shown;
    EXPECT_NE(shown.find(", otwarte podproblemy: "), std::string::npos) << shown;
    EXPECT_EQ(host.StatusTexts.back(), "");
    EXPECT_EQ(outcome.Steps, host.Bar.StepsTaken());
    EXPECT_EQ(host.Bar.Position(), host.Bar.Max());
}

// Nine points at one place and eight at another: a route as short as the
// best has one leg above zero, and adding it or a leg of zero rounds
// nothing, so no such route can come out shorter than the best. The root's
// bound, which reaches the best length, closes the search instead of every
// one of the equally short routes being ruled out in turn.
TEST(BranchAndBound, ClosesWhereShortRoutesCarryNoRounding)
{
    TPointArray points;
    for (int i = 0; i < 17; ++i)
        points.push_back({i < 9 ? 0 : 1, i < 9 ? 0 : 1, -1});
    for (const int32_t start : {-1, 12}) {
        const TProof proof = Prove(points, start, 1000);
        EXPECT_TRUE(proof.Proved) << start;
        EXPECT_EQ(proof.Length, MapHypot(1, 1)) << start;
        EXPECT_EQ(proof.Bound, proof.Length) << start;
        EXPECT_LT(proof.Subproblems, 10) << start;
    }
}
