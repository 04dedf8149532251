#include "core/point_removal.h"

#include <cstdint>
#include <utility>

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

namespace {

// Which points lie on a ring of links (each point has one link at most, so
// a walk either ends or runs into a ring).
std::vector<char> PointsOnRings(const TPointArray& points)
{
    const size_t n = points.size();
    enum : char { Unseen, OnWalk, Done };
    std::vector<char> state(n, Unseen);
    std::vector<char> onRing(n, 0);
    std::vector<size_t> walk;
    for (size_t start = 0; start < n; ++start) {
        walk.clear();
        size_t i = start;
        for (;;) {
            if (state[i] == OnWalk) {
                // The walk came back to itself: from i on it is a ring.
                for (size_t k = walk.size(); k-- > 0;) {
                    onRing[walk[k]] = 1;
                    if (walk[k] == i)
                        break;
                }
                break;
            }
            if (state[i] == Done)
                break;
            state[i] = OnWalk;
            walk.push_back(i);
            const int32_t next = points[i].Next;
            if (next < 0 || static_cast<size_t>(next) >= n)
                break;
            i = static_cast<size_t>(next);
        }
        for (const size_t each : walk)
            state[each] = Done;
    }
    return onRing;
}

}  // namespace

void RemovePointsJoiningRoute(TPointArray& points, const std::vector<char>& removed)
{
    const size_t n = points.size();
    auto isRemoved = [&removed](size_t i) { return i < removed.size() && removed[i] != 0; };
    const std::vector<char> onRing = PointsOnRings(points);
    TPointArray joined = points;
    for (size_t i = 0; i < n; ++i) {
        int32_t next = points[i].Next;
        // Off a ring the links run without coming back, so this ends.
        while (next >= 0 && static_cast<size_t>(next) < n && isRemoved(static_cast<size_t>(next)) &&
               !onRing[static_cast<size_t>(next)])
            next = points[static_cast<size_t>(next)].Next;
        joined[i].Next = next;
    }
    RemovePoints(joined, removed);
    points = std::move(joined);
}
