#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/point_set.h"
#include "search/neighbours/point_tree.h"

// The few nearest points of every point, in Precedes order (nearer first,
// the lower index first among equally near ones): the candidates a local
// search tries when it looks for a shorter leg.
class TNeighbourLists {
public:
    // tick runs once per point, so that long work can let events run.
    TNeighbourLists(const TPointTree& tree, int32_t count, const std::function<void()>& tick = {});
    // Lists chosen elsewhere: count points per point, one row after another.
    TNeighbourLists(int32_t count, std::vector<int32_t> points) : FCount(count), FPoints(std::move(points)) {}

    // Neighbours per point: count, or one less than the points when fewer.
    int32_t Count() const { return FCount; }
    const int32_t* Of(int32_t point) const { return FPoints.data() + static_cast<size_t>(point) * FCount; }

private:
    int32_t FCount = 0;
    std::vector<int32_t> FPoints;
};

// The lists straight from a point set.
TNeighbourLists NeighbourListsOf(const TPointArray& points, int32_t count);
