#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/point_removal.h"

namespace {

// The removal spelt out point by point: a kept point's new index counts the
// kept points before it.
TPointArray RemoveSlowly(const TPointArray& points, const std::vector<char>& removed)
{
    auto gone = [&](int32_t i) { return static_cast<size_t>(i) < removed.size() && removed[i] != 0; };
    auto newIndexOf = [&](int32_t i) {
        int32_t index = 0;
        for (int32_t j = 0; j < i; ++j)
            index += gone(j) ? 0 : 1;
        return index;
    };
    TPointArray result;
    for (int32_t i = 0; i < static_cast<int32_t>(points.size()); ++i) {
        if (gone(i))
            continue;
        TMapPoint point = points[i];
        if (point.Next >= 0)
            point.Next = gone(point.Next) ? -1 : newIndexOf(point.Next);
        result.push_back(point);
    }
    return result;
}

std::vector<int32_t> Links(const TPointArray& points)
{
    std::vector<int32_t> links;
    for (const TMapPoint& point : points)
        links.push_back(point.Next);
    return links;
}

struct TRemovalRow {
    const char* Name;
    std::vector<int32_t> LinksBefore;  // the points are (i, 10 * i)
    std::vector<char> Removed;
    std::vector<int32_t> XAfter;
    std::vector<int32_t> LinksAfter;
};

TEST(PointRemoval, RenumbersLinksAndClearsLinksToRemovedPoints)
{
    const TRemovalRow rows[] = {
        {"nothing removed", {1, 2, -1}, {0, 0, 0}, {0, 1, 2}, {1, 2, -1}},
        {"first point of a path", {1, 2, -1}, {1, 0, 0}, {1, 2}, {1, -1}},
        {"middle point of a path", {1, 2, -1}, {0, 1, 0}, {0, 2}, {-1, -1}},
        {"last point of a path", {1, 2, -1}, {0, 0, 1}, {0, 1}, {1, -1}},
        {"links backwards move down", {-1, 0, 1, 2}, {1, 0, 0, 0}, {1, 2, 3}, {-1, 0, 1}},
        {"links over a gap", {3, -1, -1, 0}, {0, 1, 1, 0}, {0, 3}, {1, 0}},
        {"every point", {1, 0}, {1, 1}, {}, {}},
        {"short flag list keeps the rest", {2, 2, 0}, {0, 1}, {0, 2}, {1, 0}},
        {"empty flag list", {1, -1}, {}, {0, 1}, {1, -1}},
        {"a link out of range is dropped", {7, -1}, {0, 0}, {0, 1}, {-1, -1}},
    };
    for (const TRemovalRow& row : rows) {
        TPointArray points;
        for (size_t i = 0; i < row.LinksBefore.size(); ++i)
            points.push_back({static_cast<int32_t>(i), static_cast<int32_t>(10 * i), row.LinksBefore[i]});
        RemovePoints(points, row.Removed);
        std::vector<int32_t> x;
        for (const TMapPoint& point : points) {
            x.push_back(point.X);
            EXPECT_EQ(point.Y, 10 * point.X) << row.Name;
        }
        EXPECT_EQ(x, row.XAfter) << row.Name;
        EXPECT_EQ(Links(points), row.LinksAfter) << row.Name;
    }
}

TEST(PointRemoval, AgreesWithThePointByPointRemovalOnRandomSets)
{
    std::mt19937 random(4242);
    for (int round = 0; round < 500; ++round) {
        const int32_t n = static_cast<int32_t>(random() % 12);
        TPointArray points(static_cast<size_t>(n));
        std::vector<char> removed(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i) {
            points[i] = {static_cast<int32_t>(random() % 5), static_cast<int32_t>(random() % 5),
                         static_cast<int32_t>(random() % (n + 1)) - 1};
            removed[i] = random() % 3 == 0 ? 1 : 0;
        }
        const TPointArray expected = RemoveSlowly(points, removed);
        RemovePoints(points, removed);
        ASSERT_EQ(points.size(), expected.size()) << "round " << round;
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].X, expected[i].X) << "round " << round;
            EXPECT_EQ(points[i].Y, expected[i].Y) << "round " << round;
            EXPECT_EQ(points[i].Next, expected[i].Next) << "round " << round;
        }
    }
}

}  // namespace
