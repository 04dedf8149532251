#include <gtest/gtest.h>

#include <vector>

#include "core/point_removal.h"

namespace {

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

}  // namespace

namespace {

TEST(PointRemoval, JoiningClosesTheRouteOverRemovedPoints)
{
    const TRemovalRow rows[] = {
        {"middle point of a path", {1, 2, -1}, {0, 1, 0}, {0, 2}, {1, -1}},
        {"a run of removed points", {1, 2, 3, -1}, {0, 1, 1, 0}, {0, 3}, {1, -1}},
        {"first and last point", {1, 2, 3, -1}, {1, 0, 0, 1}, {1, 2}, {1, -1}},
        {"route out of index order", {-1, 0, 4, 1, 3}, {0, 1, 0, 1, 0}, {0, 2, 4}, {-1, 2, 0}},
        {"every point", {1, 0}, {1, 1}, {}, {}},
        {"a ring is no route", {1, 2, 0}, {0, 1, 0}, {0, 2}, {-1, 0}},
        {"a path into a ring joins up to it", {1, 2, 3, 2}, {0, 1, 0, 0}, {0, 2, 3}, {1, 2, 1}},
        {"into a removed ring point", {1, 2, 1}, {0, 0, 1}, {0, 1}, {1, -1}},
    };
    for (const TRemovalRow& row : rows) {
        TPointArray points;
        for (size_t i = 0; i < row.LinksBefore.size(); ++i)
            points.push_back({static_cast<int32_t>(i), static_cast<int32_t>(10 * i), row.LinksBefore[i]});
        RemovePointsJoiningRoute(points, row.Removed);
        std::vector<int32_t> x;
        for (const TMapPoint& point : points)
            x.push_back(point.X);
        EXPECT_EQ(x, row.XAfter) << row.Name;
        EXPECT_EQ(Links(points), row.LinksAfter) << row.Name;
    }
}

}  // namespace
