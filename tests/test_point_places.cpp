#include <gtest/gtest.h>

#include <random>

#include "search/exact/point_places.h"
#include "support/point_sets.h"

// Each visit of a walk is a run of its place's points, the first visit
// taking all those the later ones leave, the start point at the head; the
// route is as long as the walk, legs of zero adding nothing.
TEST(PointPlaces, WalkBecomesRunsOfEachPlacesPoints)
{
    const TPointArray points = {{0, 0, -1}, {5, 0, -1}, {0, 0, -1}, {9, 9, -1}, {0, 0, -1}, {5, 0, -1}};
    const TPointPlaces places(points, 4);
    ASSERT_EQ(places.Count(), 3);
    EXPECT_TRUE(places.Coincide());
    EXPECT_EQ(places.StartPlace(), 0);
    EXPECT_EQ(places.PointsAt(0), 3);
    const TSpecimen walk = {0, 1, 0, 2};
    const TSpecimen route = places.Expand(walk);
    EXPECT_EQ(route, TSpecimen({4, 0, 1, 5, 2, 3}));
    EXPECT_EQ(RouteLengthOfPoints(points, route), RouteLengthOfPoints(places.Places(), walk));
}

// Without two points at one place the places are the points, in their
// order, and a route over them is the route itself.
TEST(PointPlaces, DistinctPointsAreTheirOwnPlaces)
{
    std::mt19937 random(6);
    const TPointArray points = MakeSet(skPairs, 30, random);
    const TPointPlaces places(points, 7);
    EXPECT_FALSE(places.Coincide());
    ASSERT_EQ(places.Places().size(), points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(places.Places()[i].X, points[i].X);
        EXPECT_EQ(places.Places()[i].Y, points[i].Y);
    }
    EXPECT_EQ(places.StartPlace(), 7);
    TSpecimen route(points.size());
    for (size_t i = 0; i < route.size(); ++i)
        route[i] = static_cast<int32_t>((i * 7) % route.size());
    EXPECT_EQ(places.Expand(route), route);
}
