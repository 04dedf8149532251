#include "search/local/nearest_route.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<double> Coordinates(const TPointArray& points, bool alongX)
{
    std::vector<double> values;
    values.reserve(points.size());
    for (const TMapPoint& point : points)
        values.push_back(alongX ? point.X : point.Y);
    return values;
}

// The nearest-neighbour route from first; last, when it is a point, is
// kept out of the tree and comes at the end.
TSpecimen WalkToNearest(const std::vector<double>& x, const std::vector<double>& y, TPointTree& tree,
                        const TNeighbourLists& lists, int32_t first, int32_t last, const std::function<void()>& tick)
{
    const int32_t n = static_cast<int32_t>(x.size());
    TSpecimen route;
    if (n == 0)
        return route;
    route.reserve(n);
    std::vector<char> visited(n, 0);
    if (last >= 0) {
        visited[last] = 1;
        tree.Remove(last);
    }
    const int32_t walked = last >= 0 ? n - 1 : n;
    int32_t current = first;
    for (;;) {
        route.push_back(current);
        visited[current] = 1;
        tree.Remove(current);
        if (tick)
            tick();
        if (static_cast<int32_t>(route.size()) == walked)
            break;
        int32_t next = -1;
        const int32_t* neighbours = lists.Of(current);
        for (int32_t j = 0; j < lists.Count() && next < 0; ++j)
            if (!visited[neighbours[j]])
                next = neighbours[j];
        if (next < 0)
            next = tree.NearestPresent(x[current], y[current]);
        current = next;
    }
    if (last >= 0) {
        route.push_back(last);
        if (tick)
            tick();
    }
    return route;
}

}  // namespace

int32_t FreeStartPoint(const std::vector<double>& x, const std::vector<double>& y)
{
    int32_t first = x.empty() ? -1 : 0;
    for (int32_t i = 1; i < static_cast<int32_t>(x.size()); ++i) {
        if (x[i] < x[first] || (x[i] == x[first] && y[i] < y[first]))
            first = i;
    }
    return first;
}

int32_t FreeStartPoint(const TPointArray& points)
{
    return FreeStartPoint(Coordinates(points, true), Coordinates(points, false));
}

TSpecimen NearestNeighbourRoute(const std::vector<double>& x, const std::vector<double>& y, TPointTree& tree,
                                const TNeighbourLists& lists, int32_t first, const std::function<void()>& tick)
{
    return WalkToNearest(x, y, tree, lists, first, -1, tick);
}

TSpecimen NearestNeighbourRoute(const TPointArray& points, TPointTree& tree, const TNeighbourLists& lists,
                                int32_t first, const std::function<void()>& tick)
{
    return NearestNeighbourRoute(Coordinates(points, true), Coordinates(points, false), tree, lists, first, tick);
}

TSpecimen KindNearestRoute(const std::vector<double>& x, const std::vector<double>& y, TPointTree& tree,
                           const TNeighbourLists& lists, const TRouteKind& kind, const std::function<void()>& tick)
{
    const int32_t n = static_cast<int32_t>(x.size());
    const int32_t end = kind.RoundTrip || kind.End >= n || n < 2 ? -1 : kind.End;
    const int32_t start = kind.Start >= 0 && kind.Start < n && kind.Start != end ? kind.Start : -1;
    if (end < 0)
        return NearestNeighbourRoute(x, y, tree, lists, start >= 0 ? start : FreeStartPoint(x, y), tick);
    if (start < 0) {
        TSpecimen route = NearestNeighbourRoute(x, y, tree, lists, end, tick);
        std::reverse(route.begin(), route.end());
        return route;
    }
    return WalkToNearest(x, y, tree, lists, start, end, tick);
}
