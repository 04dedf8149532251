#include "search/local/nearest_route.h"

#include <vector>

int32_t FreeStartPoint(const TPointArray& points)
{
    int32_t first = points.empty() ? -1 : 0;
    for (int32_t i = 1; i < static_cast<int32_t>(points.size()); ++i) {
        const TMapPoint& p = points[i];
        const TMapPoint& q = points[first];
        if (p.X < q.X || (p.X == q.X && p.Y < q.Y))
            first = i;
    }
    return first;
}

TSpecimen NearestNeighbourRoute(const TPointArray& points, TPointTree& tree, const TNeighbourLists& lists,
                                int32_t first, const std::function<void()>& tick)
{
    const int32_t n = static_cast<int32_t>(points.size());
    TSpecimen route;
    if (n == 0)
        return route;
    route.reserve(n);
    std::vector<char> visited(n, 0);
    int32_t current = first;
    for (;;) {
        route.push_back(current);
        visited[current] = 1;
        tree.Remove(current);
        if (tick)
            tick();
        if (static_cast<int32_t>(route.size()) == n)
            return route;
        int32_t next = -1;
        const int32_t* neighbours = lists.Of(current);
        for (int32_t j = 0; j < lists.Count() && next < 0; ++j)
            if (!visited[neighbours[j]])
                next = neighbours[j];
        if (next < 0)
            next = tree.NearestPresent(points[current].X, points[current].Y);
        current = next;
    }
}
