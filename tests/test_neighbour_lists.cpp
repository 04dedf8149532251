#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "search/local/nearest_route.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/point_tree.h"
#include "support/point_set_kinds.h"
#include "support/search_reference.h"

namespace {

// Every other point, nearer first, the lower index first among equally near.
std::vector<int32_t> ReferenceOrder(const TPointArray& points, int32_t point)
{
    std::vector<int32_t> others;
    for (int32_t i = 0; i < static_cast<int32_t>(points.size()); ++i)
        if (i != point)
            others.push_back(i);
    std::stable_sort(others.begin(), others.end(), [&](int32_t a, int32_t b) {
        return Between(points[point], points[a]) < Between(points[point], points[b]);
    });
    return others;
}

}  // namespace

TEST(NeighbourLists, EquallyNearPointsComeInIndexOrder)
{
    const TPointArray points = {{0, 0, -1}, {0, 1, -1}, {1, 0, -1}, {-1, 0, -1}, {0, -1, -1}, {0, 0, -1}, {3, 4, -1}};
    const struct {
        const char* name;
        int32_t point;
        std::vector<int32_t> expected;
    } rows[] = {
        {"duplicate first, then four at 1 by index", 0, {5, 1, 2, 3, 4}},
        {"the later duplicate sees the earlier", 5, {0, 1, 2, 3, 4}},
        {"two at sqrt 2 by index", 1, {0, 5, 2, 3, 4}},
        {"the far point: two at 5 by index", 6, {1, 2, 0, 5, 3}},
    };
    const TNeighbourLists lists = NeighbourListsOf(points, 5);
    for (const auto& row : rows) {
        const std::vector<int32_t> got(lists.Of(row.point), lists.Of(row.point) + lists.Count());
        EXPECT_EQ(got, row.expected) << row.name;
    }
}

TEST(NeighbourLists, MatchTheFullSortOnManySets)
{
    std::mt19937 random(11);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (int32_t n : {0, 1, 2, 3, 9, 12, 40, 300}) {
            const TPointArray points = MakePointSet(kind, n, random);
            for (int32_t count : {1, 8, 10, 12}) {
                const TNeighbourLists lists = NeighbourListsOf(points, count);
                ASSERT_EQ(lists.Count(), std::min(count, std::max(n - 1, 0)));
                for (int32_t p = 0; p < n; ++p) {
                    std::vector<int32_t> expected = ReferenceOrder(points, p);
                    expected.resize(lists.Count());
                    const std::vector<int32_t> got(lists.Of(p), lists.Of(p) + lists.Count());
                    ASSERT_EQ(got, expected) << "kind " << kind << ", n = " << n << ", k = " << count << ", p " << p;
                }
            }
        }
    }
}

// Lists of one send most steps to the tree's nearest remaining point.
TEST(NearestNeighbourRoute, EveryStepGoesToANearestUnvisitedPoint)
{
    std::mt19937 random(13);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (int32_t n : {1, 2, 5, 30, 200}) {
            const TPointArray points = MakePointSet(kind, n, random);
            TPointTree tree(points);
            const TNeighbourLists lists(tree, n % 2 == 0 ? 1 : 4);
            const int32_t first = static_cast<int32_t>(random() % n);
            const TSpecimen route = NearestNeighbourRoute(points, tree, lists, first);
            ASSERT_TRUE(IsPermutation(route));
            ASSERT_EQ(route[0], first);
            std::vector<bool> visited(n, false);
            for (int32_t i = 0; i + 1 < n; ++i) {
                visited[route[i]] = true;
                double nearest = -1;
                for (int32_t j = 0; j < n; ++j)
                    if (!visited[j] && (nearest < 0 || Between(points[route[i]], points[j]) < nearest))
                        nearest = Between(points[route[i]], points[j]);
                ASSERT_EQ(Between(points[route[i]], points[route[i + 1]]), nearest)
                    << "kind " << kind << ", n = " << n << ", step " << i;
            }
        }
    }
}

TEST(NearestNeighbourRoute, FreeStartIsTheLeftmostThenLowestPoint)
{
    EXPECT_EQ(FreeStartPoint({}), -1);
    EXPECT_EQ(FreeStartPoint({{5, 5, -1}, {1, 9, -1}, {1, 2, -1}, {1, 2, -1}, {3, 0, -1}}), 2);
}
