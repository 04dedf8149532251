#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "search/nearest_route.h"
#include "search/neighbour_lists.h"
#include "search/point_tree.h"
#include "search_reference.h"

namespace {

double Between(const TMapPoint& a, const TMapPoint& b)
{
    return MapHypot(static_cast<int64_t>(a.X) - b.X, static_cast<int64_t>(a.Y) - b.Y);
}

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

// Scattered, a few places full of duplicates, a lattice full of ties, a
// line, tight clusters far apart, and coordinates at the ends of 32 bits.
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
            points.push_back({10 * draw(3), 10 * draw(3), -1});
            break;
        case 2:
            points.push_back({draw(7), draw(7), -1});
            break;
        case 3:
            points.push_back({5 * draw(40), 7, -1});
            break;
        case 4: {
            const int32_t centre = draw(3) * 100000;
            points.push_back({centre + draw(5), centre - draw(5), -1});
            break;
        }
        default:
            points.push_back({draw(2) == 0 ? INT32_MIN + draw(9) : INT32_MAX - draw(9),
                              draw(2) == 0 ? INT32_MIN + draw(9) : INT32_MAX - draw(9), -1});
            break;
        }
    }
    return points;
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
    for (int kind = 0; kind <= 5; ++kind) {
        for (int32_t n : {0, 1, 2, 3, 9, 12, 40, 300}) {
            const TPointArray points = MakeSet(kind, n, random);
            for (int32_t count : {1, 8, 10, 12}) {
                const TNeighbourLists lists = NeighbourListsOf(points, count);
                ASSERT_EQ(lists.Count(), std::min(count, std::max(n - 1, 0)));
                for (int32_t p = 0; p < n; ++p) {
                    std::vector<int32_t> expected = ReferenceOrder(points, p);
                    expected.resize(lists.Count());
                    const std::vector<int32_t> got(lists.Of(p), lists.Of(p) + lists.Count());
                    ASSERT_EQ(got, expected) << "kind " << kind << ", n = " << n << ", k = " << count << ", p " << p;
                    for (int32_t j = 0; j < lists.Count(); ++j)
                        ASSERT_EQ(lists.DistancesOf(p)[j], Between(points[p], points[got[j]]));
                }
            }
        }
    }
}

TEST(PointTree, NearestPresentIsAsNearAsAnyPointLeft)
{
    std::mt19937 random(12);
    for (int kind = 0; kind <= 5; ++kind) {
        const TPointArray points = MakeSet(kind, 120, random);
        TPointTree tree(points);
        std::vector<bool> present(points.size(), true);
        for (int32_t removed = 0; removed <= 120; ++removed) {
            const TMapPoint probe{static_cast<int32_t>(random() % 700), static_cast<int32_t>(random() % 500), -1};
            const int32_t got = tree.NearestPresent(probe.X, probe.Y);
            double nearest = -1;
            for (size_t i = 0; i < points.size(); ++i)
                if (present[i] && (nearest < 0 || Between(probe, points[i]) < nearest))
                    nearest = Between(probe, points[i]);
            if (nearest < 0) {
                ASSERT_EQ(got, -1);
                break;
            }
            ASSERT_TRUE(got >= 0 && present[got]) << "kind " << kind << ", removed " << removed;
            ASSERT_EQ(Between(probe, points[got]), nearest) << "kind " << kind << ", removed " << removed;
            // Taken out in a random order; a second removal changes nothing.
            int32_t victim = static_cast<int32_t>(random() % points.size());
            if (!present[victim])
                victim = got;
            tree.Remove(victim);
            tree.Remove(victim);
            present[victim] = false;
        }
    }
}

TEST(NearestNeighbourRoute, EveryStepGoesToANearestUnvisitedPoint)
{
    std::mt19937 random(13);
    for (int kind = 0; kind <= 5; ++kind) {
        for (int32_t n : {1, 2, 5, 30, 200}) {
            const TPointArray points = MakeSet(kind, n, random);
            TPointTree tree(points);
            const TNeighbourLists lists(tree, 4);
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
