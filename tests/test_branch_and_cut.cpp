#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/route_problem.h"
#include "search/cut/branch_and_cut.h"
#include "search/cut/cut_graph.h"
#include "search/cut/cut_search.h"
#include "search/exact/held_karp_table.h"
#include "search/neighbours/plain_distance.h"
#include "support/point_sets.h"
#include "support/quiet_host.h"

namespace {

// The least problem.Length of the open routes with free ends, by the
// table over every subset.
double ShortestByTable(const TRouteProblem& problem)
{
    THeldKarpTable table(MapPointsOf(problem.Measure), -1);
    EXPECT_TRUE(table.Allocate());
    for (const uint32_t block : table.Blocks())
        table.FillBlock(block);
    const double shortest = problem.Length(table.Route());
    table.Release([] {});
    return shortest;
}

TRouteProblem PlaneProblem(const std::vector<TMapPoint>& points, const TRouteKind& kind)
{
    TPlaceArray places;
    for (const TMapPoint& point : points)
        places.push_back({static_cast<double>(point.X), static_cast<double>(point.Y)});
    return MakeRouteProblem(TMeasure(TMetric::Plane, places), kind);
}

}  // namespace

// A lattice has a great many shortest round trips of one cost; each would
// need a branch of its own to be told apart from the best, which the
// lengths' roundings can't. They close together: the proof takes a few
// subproblems, and its bound stays at or below the shortest length.
TEST(BranchAndCut, LatticeTiesCloseTogether)
{
    const int32_t side = 6;
    std::vector<TMapPoint> points;
    std::vector<int32_t> snake;
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x)
            points.push_back({x, y, -1});
    }
    // Up the first column, then rows left and right over the rest.
    for (int32_t y = side - 1; y >= 0; --y)
        snake.push_back(y * side);
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t k = 1; k < side; ++k)
            snake.push_back(y * side + (y % 2 == 0 ? k : side - k));
    }
    const TRouteProblem problem = PlaneProblem(points, {true, -1, -1});
    const TCutGraph graph(problem);
    ASSERT_FALSE(graph.WholeCosts());
    TBranchAndCut search(graph, snake);
    ASSERT_TRUE(search.Run([](int64_t) { return true; }, {}));
    EXPECT_EQ(search.BestLength(), side * side);
    EXPECT_LE(search.LowerBound(), side * side);
    EXPECT_GT(search.LowerBound(), side * side * (1 - 1e-12));
    EXPECT_LE(search.Subproblems(), side * side);
}

// Against the table over every subset on small open routes in the plane:
// scattered points, repeated places, lattices and close pairs. The proved
// route is the shortest up to the lengths' roundings and the bound is no
// more than the shortest length.
TEST(BranchAndCut, ProofsMatchTheTableOnSmallSets)
{
    std::mt19937 random(2026);
    int checked = 0;
    for (const int kind : {skScattered, skHeaps, skLattice, skPairs, skCollinear}) {
        for (int32_t n = 8; n <= 12; ++n) {
            for (int set = 0; set < 3; ++set) {
                const TRouteProblem problem = PlaneProblem(MakeSet(kind, n, random), {false, -1, -1});
                TQuietHost host;
                const TSearchOutcome outcome = SearchByCuts(problem, host);
                const double shortest = ShortestByTable(problem);
                const std::string where = "kind " + std::to_string(kind) + ", n " + std::to_string(n);
                ASSERT_TRUE(RouteFitsKind(outcome.Route, problem.Kind, n)) << where;
                EXPECT_TRUE(outcome.Proved) << where;
                EXPECT_LE(problem.Length(outcome.Route), shortest * (1 + 1e-13)) << where;
                EXPECT_LE(outcome.Bound.Value, shortest) << where;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 75);
}
