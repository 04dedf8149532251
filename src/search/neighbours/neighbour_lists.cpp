#include "search/neighbours/neighbour_lists.h"

#include <algorithm>

TNeighbourLists::TNeighbourLists(const TPointTree& tree, int32_t count, const std::function<void()>& tick)
{
    const int32_t n = tree.PointCount();
    FCount = std::clamp(count, 0, std::max(n - 1, 0));
    FPoints.resize(static_cast<size_t>(n) * FCount);
    std::vector<TNeighbour> nearest;
    nearest.reserve(FCount + 1);
    for (int32_t point = 0; point < n; ++point) {
        tree.Nearest(point, FCount, nearest);
        const size_t row = static_cast<size_t>(point) * FCount;
        for (int32_t j = 0; j < FCount; ++j)
            FPoints[row + j] = nearest[j].Point;
        if (tick)
            tick();
    }
}

TNeighbourLists NeighbourListsOf(const TPointArray& points, int32_t count)
{
    const TPointTree tree(points);
    return TNeighbourLists(tree, count);
}
