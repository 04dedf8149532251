#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/distances.h"
#include "search/bound/lower_bound.h"
#include "search/exact/exact_search.h"
#include "search/local/local_search.h"
#include "support/measure_kind_sets.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

double Optimum(TPointSetState& state)
{
    TScriptedHost host(state);
    host.EveryStep = false;
    state.FSearching = true;
    SearchExact(state, host, {}, false);
    return RouteLength(state.FDistances, state.FBestRoute);
}

TLowerBound Bound(TPointSetState& state)
{
    TScriptedHost host(state);
    host.EveryStep = false;
    state.FSearching = true;
    return ComputeLowerBound(state.FPoints, host, false);
}

// Prim's algorithm over the distance matrix, the plain way.
double SpanningTreeWeight(const TDistanceMatrix& distances)
{
    const size_t n = distances.size();
    std::vector<double> keys(n, std::numeric_limits<double>::infinity());
    std::vector<bool> inside(n, false);
    double weight = 0;
    if (n > 0)
        keys[0] = 0;
    for (size_t step = 0; step < n; ++step) {
        size_t next = n;
        for (size_t v = 0; v < n; ++v)
            if (!inside[v] && (next == n || keys[v] < keys[next]))
                next = v;
        inside[next] = true;
        weight += keys[next];
        for (size_t v = 0; v < n; ++v)
            if (!inside[v])
                keys[v] = std::min(keys[v], distances[next][v]);
    }
    return weight;
}

// Three arms of five points each from a common centre: the tree is the
// star, but a route must walk back along arms.
std::vector<TMapPoint> Claw()
{
    std::vector<TMapPoint> points = {{0, 0, -1}};
    const int32_t directions[3][2] = {{100, 0}, {-50, 87}, {-50, -87}};
    for (const auto& d : directions)
        for (int32_t k = 1; k <= 5; ++k)
            points.push_back({d[0] * k, d[1] * k, -1});
    return points;
}

std::vector<TMapPoint> Lattice(int32_t columns, int32_t rows)
{
    std::vector<TMapPoint> points;
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x)
            points.push_back({x, y, -1});
    return points;
}

}  // namespace

TEST(LowerBound, NeverAboveTheOptimum)
{
    std::mt19937 random(404);
    int checked = 0;
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n = 0; n <= 14; ++n) {
            const int repeats = n <= 10 ? 6 : 2;
            for (int r = 0; r < repeats; ++r) {
                TPointSetState state;
                SetPoints(state, MakeSet(kind, n, random));
                const double optimum = Optimum(state);
                const TLowerBound bound = Bound(state);
                ASSERT_LE(bound.Value, optimum) << "kind " << kind << ", n = " << n;
                EXPECT_GE(bound.Value, 0.0);
                EXPECT_TRUE(bound.Certified);
                EXPECT_TRUE(bound.Completed);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 300);
}

// Sets whose shortest route is as long as their spanning tree: on one line
// (route and tree are the same path), and lattices of unit steps, where a
// snake needs unit legs only. The bound has nothing to give away but its
// margin, and the candidate graph of the larger sets must not lift it.
TEST(LowerBound, SetsWithTheTreeAsRouteAreClosed)
{
    std::mt19937 random(8);
    const struct {
        const char* name;
        std::vector<TMapPoint> points;
    } rows[] = {
        {"2 on a line", MakeSet(skCollinear, 2, random)},
        {"12 on a line", MakeSet(skCollinear, 12, random)},
        {"200 on a line", MakeSet(skCollinear, 200, random)},
        {"lattice 4 x 3", Lattice(4, 3)},
        {"lattice 15 x 10", Lattice(15, 10)},
    };
    for (const auto& row : rows) {
        TPointSetState state;
        SetPoints(state, row.points);
        const double optimum = SpanningTreeWeight(state.FDistances);
        const TLowerBound bound = Bound(state);
        EXPECT_LE(bound.Value, optimum) << row.name;
        EXPECT_GE(bound.Value, optimum * (1 - 1e-9)) << row.name;
    }
}

TEST(LowerBound, PenaltiesLiftTheBoundAboveTheSpanningTree)
{
    TPointSetState state;
    SetPoints(state, Claw());
    const double tree = SpanningTreeWeight(state.FDistances);
    const double optimum = Optimum(state);
    ASSERT_GT(optimum, 1.3 * tree);
    const TLowerBound bound = Bound(state);
    EXPECT_LE(bound.Value, optimum);
    EXPECT_GT(bound.Value, 1.2 * tree);
}

TEST(LowerBound, CloseToTheOptimumOnRandomSets)
{
    std::mt19937 random(1212);
    double gapSum = 0;
    const int sets = 20;
    for (int s = 0; s < sets; ++s) {
        TPointSetState state;
        SetPoints(state, MakeSet(skScattered, 12, random));
        const double optimum = Optimum(state);
        gapSum += (optimum - Bound(state).Value) / optimum;
    }
    EXPECT_LT(gapSum / sets, 0.02);
}

// Beyond the complete graph's reach the ascent runs on the candidate graph
// and a tree over all pairs certifies its penalties.
TEST(LowerBound, CandidateGraphAscentBeatsTheSpanningTree)
{
    std::mt19937 random(3);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, 400, random));
    const double tree = SpanningTreeWeight(state.FDistances);
    const TSpecimen route = QuickRoute(state.FPoints, -1);
    const TLowerBound bound = Bound(state);
    EXPECT_TRUE(bound.Certified);
    EXPECT_LE(bound.Value, RouteLength(state.FDistances, route));
    EXPECT_GT(bound.Value, 1.03 * tree);
}

TEST(LowerBound, StatusAndBarStayWithinTheirBounds)
{
    std::mt19937 random(5);
    for (int32_t n : {0, 1, 2, 30, 300}) {
        TPointSetState state;
        SetPoints(state, MakeSet(skScattered, n, random));
        TScriptedHost host(state);
        host.EveryStep = false;
        state.FSearching = true;
        const TLowerBound bound = ComputeLowerBound(state.FPoints, host, false);
        EXPECT_TRUE(bound.Completed) << n;
        EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Szacowanie dolnego ograniczenia...", ""})) << n;
        EXPECT_LE(host.Bar.StepsTaken(), host.Bar.Max()) << n;
        if (n <= 1) {
            EXPECT_EQ(bound.Value, 0.0);
        }
    }
}

TEST(LowerBound, StopBeforeTheFirstTreeCertifiesNothing)
{
    std::mt19937 random(6);
    for (int32_t n : {20, 300}) {
        TPointSetState state;
        SetPoints(state, MakeSet(skScattered, n, random));
        TScriptedHost host(state);
        host.Arm();
        host.StopAfterSteps = 0;
        state.FSearching = true;
        const TLowerBound bound = ComputeLowerBound(state.FPoints, host, true);
        EXPECT_FALSE(bound.Certified) << n;
        EXPECT_FALSE(bound.Completed) << n;
        EXPECT_EQ(bound.Value, 0.0) << n;
        EXPECT_EQ(host.StatusTexts.back(), "");
    }
}

TEST(LowerBound, StopDuringTheAscentKeepsTheBestCertifiedValue)
{
    std::mt19937 random(7);
    int stops = 0;
    for (int kind = 0; kind < skKindCount; ++kind) {
        TPointSetState state;
        SetPoints(state, MakeSet(kind, 11, random));
        const double optimum = Optimum(state);
        const double tree = SpanningTreeWeight(state.FDistances);
        for (int64_t stopAt : {1, 5, 40}) {
            TScriptedHost host(state);
            host.Arm();
            host.StopAfterSteps = stopAt;
            state.FSearching = true;
            const TLowerBound bound = ComputeLowerBound(state.FPoints, host, true);
            if (bound.Completed)
                continue;
            ++stops;
            EXPECT_EQ(bound.Iterations, stopAt) << "kind " << kind;
            EXPECT_TRUE(bound.Certified);
            EXPECT_LE(bound.Value, optimum) << "kind " << kind << ", stop " << stopAt;
            EXPECT_GE(bound.Value, tree * (1 - 1e-9)) << "kind " << kind << ", stop " << stopAt;
        }
    }
    EXPECT_GE(stops, 9);
}

// Every kind of route under every measure, on small sets with ties and
// points at one place: never above the shortest route of the kind, a whole
// number where every leg is one, and close below on the whole.
TEST(LowerBound, NeverAboveTheShortestRouteOfAnyKindOrMeasure)
{
    std::mt19937 random(405);
    double ratioSum = 0.0;
    int measured = 0;
    for (const TMetric metric : EveryMetric()) {
        for (int32_t n = 0; n <= 8; ++n) {
            const TMeasure measure(metric, MakePlaces(metric, n, random));
            for (const TRouteKind& kind : EveryKind(n, random)) {
                const TRouteProblem problem = MakeRouteProblem(measure, kind, false);
                const double best = ShortestKindLength(problem);
                TPointSetState state;
                state.FSearching = true;
                TScriptedHost host(state);
                host.EveryStep = false;
                const TLowerBound bound = ComputeLowerBound(problem, host, false);
                ASSERT_TRUE(bound.Certified) << KindName(metric, kind, n);
                ASSERT_LE(bound.Value, best) << KindName(metric, kind, n);
                ASSERT_GE(bound.Value, 0.0) << KindName(metric, kind, n);
                if (MetricHasWholeLegs(metric)) {
                    EXPECT_EQ(bound.Value, std::floor(bound.Value)) << KindName(metric, kind, n);
                }
                if (best > 0) {
                    ratioSum += bound.Value / best;
                    ++measured;
                }
            }
        }
    }
    EXPECT_GT(ratioSum / measured, 0.97);
}

// Beyond the sets whose trees look at every pair: sets on the plane and on
// the sphere, as a round trip and as an open route between fixed ends, each
// bounded below the local search's route and not far below it.
TEST(LowerBound, LargeSetsOfEveryKindStayBelowTheirRoutes)
{
    std::mt19937 random(406);
    for (const TMetric metric : {TMetric::Euc2d, TMetric::Sphere}) {
        const TMeasure measure(metric, MakePlaces(metric, 2600, random));
        for (const TRouteKind& kind : {TRouteKind{true, -1, -1}, TRouteKind{false, 3, 2000}}) {
            const TRouteProblem problem = MakeRouteProblem(measure, kind, false);
            TPointSetState state;
            state.FSearching = true;
            TScriptedHost host(state);
            host.EveryStep = false;
            const TLowerBound bound = ComputeLowerBound(problem, host, false);
            const double route = problem.Length(QuickRoute(problem));
            EXPECT_TRUE(bound.Certified);
            EXPECT_LE(bound.Value, route) << KindName(metric, kind, 2600);
            EXPECT_GT(bound.Value, 0.9 * route) << KindName(metric, kind, 2600);
        }
    }
}
