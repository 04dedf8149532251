#include "core/route_links.h"

#include <algorithm>

#include <vector>

std::optional<TSpecimen> RouteFromLinks(const TPointArray& points)
{
    const size_t count = points.size();
    if (count == 0)
        return std::nullopt;
    std::vector<char> linkedTo(count, 0);
    for (const TMapPoint& point : points) {
        if (point.Next == -1)
            continue;
        if (point.Next < 0 || static_cast<size_t>(point.Next) >= count || linkedTo[static_cast<size_t>(point.Next)])
            return std::nullopt;
        linkedTo[static_cast<size_t>(point.Next)] = 1;
    }
    size_t start = count;
    for (size_t i = 0; i < count; ++i) {
        if (linkedTo[i] != 0)
            continue;
        if (start != count)
            return std::nullopt;
        start = i;
    }
    if (start == count)
        return std::nullopt;
    // Every point has at most one predecessor and only start has none, so the
    // walk from start never meets a point twice; it covers the set exactly
    // when it takes count steps before reaching the end.
    TSpecimen route;
    route.reserve(count);
    for (int32_t at = static_cast<int32_t>(start); at != -1; at = points[static_cast<size_t>(at)].Next) {
        if (route.size() == count)
            return std::nullopt;
        route.push_back(at);
    }
    if (route.size() != count)
        return std::nullopt;
    return route;
}

std::vector<int32_t> LinksOf(const TPointArray& points)
{
    std::vector<int32_t> links(points.size());
    std::transform(points.begin(), points.end(), links.begin(), [](const TMapPoint& point) { return point.Next; });
    return links;
}

void ApplyLinks(TPointArray& points, const std::vector<int32_t>& links)
{
    const size_t count = std::min(points.size(), links.size());
    for (size_t i = 0; i < count; ++i)
        points[i].Next = links[i];
}
