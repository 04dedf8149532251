#include "core/point_removal.h"

#include <cstdint>

void RemovePoints(TPointArray& points, const std::vector<char>& removed)
{
    const size_t n = points.size();
    auto isRemoved = [&removed](size_t i) { return i < removed.size() && removed[i] != 0; };
    // Where each point lands, -1 for a removed one.
    std::vector<int32_t> newIndex(n, -1);
    int32_t kept = 0;
    for (size_t i = 0; i < n; ++i) {
        if (!isRemoved(i))
            newIndex[i] = kept++;
    }
    TPointArray result;
    result.reserve(static_cast<size_t>(kept));
    for (size_t i = 0; i < n; ++i) {
        if (newIndex[i] < 0)
            continue;
        TMapPoint point = points[i];
        const int32_t next = point.Next;
        point.Next = next >= 0 && static_cast<size_t>(next) < n ? newIndex[static_cast<size_t>(next)] : -1;
        result.push_back(point);
    }
    points = std::move(result);
}
