#include "search/exact/point_places.h"

#include <algorithm>
#include <numeric>

TPointPlaces::TPointPlaces(const TPointArray& points, int32_t startPoint)
    : FPointCount(static_cast<int32_t>(points.size()))
{
    std::vector<int32_t> order(points.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return points[a].X != points[b].X ? points[a].X < points[b].X : points[a].Y < points[b].Y;
    });
    std::vector<int32_t> placeOf(points.size(), -1);
    std::vector<int32_t> firstOf;
    for (size_t k = 0; k < order.size(); ++k) {
        const int32_t point = order[k];
        const bool same =
            k > 0 && points[order[k - 1]].X == points[point].X && points[order[k - 1]].Y == points[point].Y;
        if (!same)
            firstOf.push_back(point);
        placeOf[point] = static_cast<int32_t>(firstOf.size()) - 1;
    }
    // Places in the order of their first points: the same points give the
    // same places however the sort ran.
    std::vector<int32_t> byFirst(firstOf.size());
    std::iota(byFirst.begin(), byFirst.end(), 0);
    std::sort(byFirst.begin(), byFirst.end(), [&](int32_t a, int32_t b) { return firstOf[a] < firstOf[b]; });
    std::vector<int32_t> renumber(firstOf.size());
    for (size_t p = 0; p < byFirst.size(); ++p)
        renumber[byFirst[p]] = static_cast<int32_t>(p);
    FPointsOf.resize(firstOf.size());
    for (int32_t point = 0; point < FPointCount; ++point)
        FPointsOf[renumber[placeOf[point]]].push_back(point);
    for (const std::vector<int32_t>& run : FPointsOf)
        FPlaces.push_back({points[run[0]].X, points[run[0]].Y, -1});

    if (startPoint >= 0 && startPoint < FPointCount) {
        FStartPlace = renumber[placeOf[startPoint]];
        std::vector<int32_t>& run = FPointsOf[FStartPlace];
        std::rotate(run.begin(), std::find(run.begin(), run.end(), startPoint),
                    std::find(run.begin(), run.end(), startPoint) + 1);
    }
}

TSpecimen TPointPlaces::Expand(const TSpecimen& walk) const
{
    std::vector<int32_t> visits(FPlaces.size(), 0);
    for (const int32_t place : walk)
        ++visits[place];
    std::vector<size_t> taken(FPlaces.size(), 0);
    TSpecimen route;
    route.reserve(static_cast<size_t>(FPointCount));
    for (const int32_t place : walk) {
        const std::vector<int32_t>& run = FPointsOf[place];
        const size_t count = taken[place] == 0 ? run.size() - static_cast<size_t>(visits[place] - 1) : 1;
        route.insert(route.end(), run.begin() + static_cast<std::ptrdiff_t>(taken[place]),
                     run.begin() + static_cast<std::ptrdiff_t>(taken[place] + count));
        taken[place] += count;
    }
    return route;
}
