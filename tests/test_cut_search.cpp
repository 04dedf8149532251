#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "core/route_problem.h"
#include "search/cut/cut_graph.h"
#include "search/cut/cut_search.h"
#include "search/cut/dual_bound.h"
#include "search/cut/tour_cut.h"
#include "search/exact/exact_search.h"
#include "support/point_sets.h"
#include "support/quiet_host.h"
#include "support/scripted_host.h"
#include "support/tsplib_places.h"

namespace {

// A host that never stops the work and keeps no state.
// The least problem.Length of every route of the problem's kind, by trying
// every order of the points.
double ShortestByTrial(const TRouteProblem& problem)
{
    const int32_t n = problem.Count();
    TSpecimen route(static_cast<size_t>(n));
    std::iota(route.begin(), route.end(), 0);
    double best = -1;
    do {
        if (!RouteFitsKind(route, problem.Kind, n))
            continue;
        const double length = problem.Length(route);
        if (best < 0 || length < best)
            best = length;
    } while (std::next_permutation(route.begin(), route.end()));
    return best;
}

TPlaceArray PlacesOf(const std::vector<TMapPoint>& points)
{
    TPlaceArray places;
    for (const TMapPoint& point : points)
        places.push_back({static_cast<double>(point.X), static_cast<double>(point.Y)});
    return places;
}

// The kinds of route a set of n points can be asked for.
std::vector<TRouteKind> KindsFor(int32_t n)
{
    std::vector<TRouteKind> kinds = {{false, -1, -1}, {true, -1, -1}, {false, n / 2, -1}, {true, n - 1, -1}};
    if (n > 1) {
        kinds.push_back({false, -1, 0});
        kinds.push_back({false, n - 1, 0});
    }
    return kinds;
}

}  // namespace

// Against the slow literal search over every order: every kind of route,
// the plane and TSPLIB's whole-number measures, every kind of point set
// (ties, points at one place, points on a line, legs that round twice):
// the same length to the last bit, a route of the kind, proved, and a
// bound that is no more than the shortest length.
TEST(CutSearch, MatchesEveryOrderOnEveryKindOfSetRouteAndMeasure)
{
    std::mt19937 random(4242);
    int checked = 0;
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n = 1; n <= 8; ++n) {
            const std::vector<TMapPoint> points = MakeSet(kind, n, random);
            for (const TMetric metric : {TMetric::Plane, TMetric::Euc2d, TMetric::Att}) {
                // ATT's squares would overflow far beyond the map's range.
                if (metric == TMetric::Att && kind == skFar)
                    continue;
                for (const TRouteKind& routeKind : KindsFor(n)) {
                    const TRouteProblem problem = MakeRouteProblem(TMeasure(metric, PlacesOf(points)), routeKind);
                    TQuietHost host;
                    const TSearchOutcome outcome = SearchByCuts(problem, host);
                    const double shortest = ShortestByTrial(problem);
                    const std::string where = "kind " + std::to_string(kind) + ", n = " + std::to_string(n) +
                                              ", metric " + MetricKey(metric) + ", " + RouteKindText(routeKind);
                    ASSERT_TRUE(RouteFitsKind(outcome.Route, routeKind, n)) << where;
                    EXPECT_EQ(problem.Length(outcome.Route), shortest) << where;
                    EXPECT_TRUE(outcome.Proved) << where;
                    EXPECT_TRUE(outcome.Bound.Certified) << where;
                    EXPECT_LE(outcome.Bound.Value, shortest) << where;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 700);
}

// The exact method hands the routes and measures that only the branch and
// cut knows to it at any size: a round trip of a few points is the
// shortest round trip, not the shortest open route closed.
TEST(CutSearch, ExactMethodFindsTheShortestRoundTripAtAnySize)
{
    std::mt19937 random(99);
    for (int32_t n = 3; n <= 9; ++n) {
        const TRouteProblem problem =
            MakeRouteProblem(TMeasure(TMetric::Euc2d, PlacesOf(MakeSet(skScattered, n, random))), {true, -1, -1});
        ASSERT_TRUE(ExactUsesCuts(problem));
        TQuietHost host;
        const TSearchOutcome outcome = SearchExact(problem, host, {});
        EXPECT_EQ(problem.Length(outcome.Route), ShortestByTrial(problem)) << n;
        EXPECT_TRUE(outcome.Proved);
    }
}

// TSPLIB's round trips in TSPLIB's own measure: the proved length is the
// published optimum.
TEST(CutSearch, ProvesThePublishedOptimaOfTsplibRoundTrips)
{
    const struct {
        const char* file;
        double optimum;
    } rows[] = {{"eil51.tsp", 426}, {"berlin52.tsp", 7542}, {"st70.tsp", 675}, {"kroA100.tsp", 21282}};
    for (const auto& row : rows) {
        const TRouteProblem problem =
            MakeRouteProblem(TMeasure(TMetric::Euc2d, TsplibPlaces(row.file)), {true, -1, -1});
        TQuietHost host;
        const TSearchOutcome outcome = SearchExact(problem, host, {});
        EXPECT_TRUE(outcome.Proved) << row.file;
        EXPECT_EQ(problem.Length(outcome.Route), row.optimum) << row.file;
        EXPECT_EQ(outcome.Bound.Value, row.optimum) << row.file;
    }
}

// A stop leaves a whole route of the kind and what was proved of every
// route: no more than the shortest length, which a full run finds.
TEST(CutSearch, StopLeavesARouteAndABoundBelowTheShortest)
{
    const TRouteProblem problem = MakeRouteProblem(TMeasure(TMetric::Euc2d, TsplibPlaces("st70.tsp")), {});
    TQuietHost full;
    const TSearchOutcome proved = SearchByCuts(problem, full);
    ASSERT_TRUE(proved.Proved);
    for (const int64_t passes : {1, 3, 10}) {
        TQuietHost host;
        host.StopAfterPasses = passes;
        const TSearchOutcome outcome = SearchByCuts(problem, host);
        EXPECT_TRUE(RouteFitsKind(outcome.Route, problem.Kind, problem.Count())) << passes;
        EXPECT_TRUE(outcome.Bound.Certified) << passes;
        EXPECT_LE(outcome.Bound.Value, problem.Length(proved.Route)) << passes;
        EXPECT_GE(problem.Length(outcome.Route), problem.Length(proved.Route)) << passes;
    }
}

// The bound holds whatever the duals: with prices drawn at random for the
// nodes and for valid cuts, no tour costs less than it.
TEST(CutSearch, AnyDualsBoundEveryTour)
{
    std::mt19937 random(7);
    const TRouteProblem problem =
        MakeRouteProblem(TMeasure(TMetric::Euc2d, PlacesOf(MakeSet(skScattered, 7, random))), {true, -1, -1});
    const TCutGraph graph(problem);
    const double shortest = ShortestByTrial(problem);
    std::uniform_real_distribution<double> price(-300.0, 300.0);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<double> nodeDuals(7);
        for (double& dual : nodeDuals)
            dual = price(random);
        std::vector<TTourCut> cuts = {{{{0, 1, 2}}, 2}, {{{3, 4}}, 2}, {{{0, 1, 2}, {2, 3}, {1, 5}, {0, 6}}, 10}};
        std::vector<double> cutDuals = {std::fabs(price(random)), price(random), std::fabs(price(random))};
        const TReducedCosts costs(graph, nodeDuals, cuts, cutDuals);
        TBoundSum sum(costs);
        costs.ForEveryEdge([&](int32_t a, int32_t b, long double reduced) {
            if (reduced < 0)
                sum.Add(reduced, costs.Magnitude(a, b));
        });
        EXPECT_LE(sum.Certified(), shortest) << trial;
    }
}

// The cuts the programme takes: every tour of a small graph keeps every
// cut ValidTourCut lets through, drawn at random, and the kinds it turns
// away are turned away.
TEST(CutSearch, ValidCutsHoldForEveryTour)
{
    const int32_t nodes = 7;
    std::vector<std::vector<int32_t>> tours;
    std::vector<int32_t> ring(nodes);
    std::iota(ring.begin(), ring.end(), 0);
    do {
        tours.push_back(ring);
    } while (std::next_permutation(ring.begin() + 1, ring.end()));
    std::mt19937 random(12);
    int accepted = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        TTourCut cut;
        const int32_t sets = 1 + static_cast<int32_t>(random() % 5);
        for (int32_t s = 0; s < sets; ++s) {
            std::vector<int32_t> set;
            for (int32_t v = 0; v < nodes; ++v)
                if (random() % (s == 0 ? 2 : 4) == 0)
                    set.push_back(v);
            cut.Sets.push_back(set);
        }
        cut.Rhs = sets == 1 ? 2 : 3 * (sets - 1) + 1;
        if (!ValidTourCut(cut, nodes))
            continue;
        ++accepted;
        for (const std::vector<int32_t>& tour : tours) {
            std::vector<TEdgeValue> point;
            for (int32_t k = 0; k < nodes; ++k)
                point.push_back({tour[static_cast<size_t>(k)], tour[static_cast<size_t>((k + 1) % nodes)], 1.0});
            ASSERT_GE(CutLeftSide(cut, point, nodes), cut.Rhs) << trial;
        }
    }
    EXPECT_GT(accepted, 50);
    const TTourCut refused[] = {
        {{{}}, 2},                                     // an empty set
        {{{0, 1, 2, 3, 4, 5, 6}}, 2},                  // every node
        {{{0, 1, 2}, {2, 3}, {1, 4}}, 7},              // an even count of teeth
        {{{0, 1, 2}, {2, 3}, {1, 4}, {0, 5}}, 9},      // the wrong right-hand side
        {{{0, 1}, {1, 2, 3}, {0, 3, 4}, {5, 6}}, 10},  // teeth that meet, not all edges
        {{{0, 1, 2}, {3, 4}, {1, 5}, {0, 6}}, 10},     // a tooth all outside
    };
    for (const TTourCut& cut : refused)
        EXPECT_FALSE(ValidTourCut(cut, nodes));
}
