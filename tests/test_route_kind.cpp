#include <gtest/gtest.h>

#include <cmath>

#include "core/measure.h"
#include "core/point_set.h"
#include "core/route_kind.h"
#include "core/route_problem.h"

namespace {

TEST(RouteKind, ContradictionsAreRefused)
{
    struct TRow {
        const char* Name;
        TRouteKind Kind;
        int32_t Count;
        bool Refused;
    };
    const TRow rows[] = {
        {"open, free ends", {}, 5, false},
        {"round trip from a point", {true, 2, -1}, 5, false},
        {"open between two points", {false, 0, 4}, 5, false},
        {"an end on a round trip", {true, -1, 3}, 5, true},
        {"start and end the same", {false, 2, 2}, 5, true},
        {"start beyond the set", {false, 5, -1}, 5, true},
        {"end beyond the set", {false, -1, 7}, 5, true},
        {"a start in an empty set", {false, 0, -1}, 0, true},
        {"one point, start and end at it", {false, 0, 0}, 1, false},
    };
    for (const TRow& row : rows)
        EXPECT_EQ(!RouteKindRefusal(row.Kind, row.Count).empty(), row.Refused) << row.Name;
}

TEST(RouteKind, RoutesFitTheirKind)
{
    EXPECT_TRUE(RouteFitsKind({2, 0, 1}, {}, 3));
    EXPECT_TRUE(RouteFitsKind({2, 0, 1}, {false, 2, 1}, 3));
    EXPECT_FALSE(RouteFitsKind({2, 0, 1}, {false, 0, -1}, 3));
    EXPECT_FALSE(RouteFitsKind({2, 0, 1}, {false, -1, 0}, 3));
    EXPECT_TRUE(RouteFitsKind({1, 2, 0}, {true, 1, -1}, 3));
    EXPECT_FALSE(RouteFitsKind({1, 1, 0}, {}, 3));
    EXPECT_FALSE(RouteFitsKind({1, 0}, {}, 3));
}

// A unit square: the open route three sides, the round trip all four.
TEST(RouteKind, ARoundTripCountsTheLegBack)
{
    const TMeasure measure = TMeasure::OfPoints({{0, 0, -1}, {1, 0, -1}, {1, 1, -1}, {0, 1, -1}});
    const TSpecimen route = {0, 1, 2, 3};
    EXPECT_EQ(KindRouteLength(measure, route, {}), 3.0);
    EXPECT_EQ(KindRouteLength(measure, route, {true, -1, -1}), 4.0);
    const TRouteProblem problem = MakeRouteProblem(measure, {true, -1, -1});
    EXPECT_EQ(problem.Length(route), 4.0);
    EXPECT_EQ(MakeRouteProblem(measure, {true, -1, -1}, false).Length(route), 4.0);
    // Two points: there and back.
    EXPECT_EQ(KindRouteLength(measure, {0, 2}, {true, -1, -1}), 2.0 * std::sqrt(2.0));
}

}  // namespace
