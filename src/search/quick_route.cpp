#include "search/quick_route.h"

#include <algorithm>
#include <vector>

namespace {

double Distance(const TMapPoint& a, const TMapPoint& b)
{
    return MapHypot(static_cast<int64_t>(a.X) - b.X, static_cast<int64_t>(a.Y) - b.Y);
}

TSpecimen NearestNeighbourRoute(const TPointArray& points, int32_t first)
{
    const int32_t n = static_cast<int32_t>(points.size());
    TSpecimen route;
    route.reserve(n);
    std::vector<bool> visited(n, false);
    int32_t current = first;
    for (;;) {
        route.push_back(current);
        visited[current] = true;
        int32_t nearest = -1;
        double nearestDistance = 0.0;
        for (int32_t i = 0; i < n; ++i) {
            if (visited[i])
                continue;
            const double d = Distance(points[current], points[i]);
            if (nearest < 0 || d < nearestDistance) {
                nearest = i;
                nearestDistance = d;
            }
        }
        if (nearest < 0)
            return route;
        current = nearest;
    }
}

// One sweep over all segments; reverses the first that shortens the route.
// A segment that reaches an end of the route loses only one leg, so it
// counts as well, except at a fixed start.
bool ImproveOnce(const TPointArray& points, TSpecimen& route, bool fixedStart)
{
    const int32_t n = static_cast<int32_t>(route.size());
    auto leg = [&](int32_t a, int32_t b) { return Distance(points[route[a]], points[route[b]]); };
    bool improved = false;
    for (int32_t i = fixedStart ? 1 : 0; i < n - 1; ++i) {
        for (int32_t j = i + 1; j < n; ++j) {
            double before = 0.0;
            double after = 0.0;
            if (i > 0) {
                before += leg(i - 1, i);
                after += leg(i - 1, j);
            }
            if (j < n - 1) {
                before += leg(j, j + 1);
                after += leg(i, j + 1);
            }
            // A relative threshold keeps rounding noise from reversing
            // segments back and forth without end.
            if (after < before * (1.0 - 1e-12)) {
                std::reverse(route.begin() + i, route.begin() + j + 1);
                improved = true;
            }
        }
    }
    return improved;
}

}  // namespace

TSpecimen QuickRoute(const TPointArray& points, int32_t startPoint)
{
    const int32_t n = static_cast<int32_t>(points.size());
    if (n == 0)
        return {};
    const bool fixedStart = startPoint >= 0 && startPoint < n;
    int32_t first = startPoint;
    if (!fixedStart) {
        // An end of a short open route tends to lie at the edge of the set.
        first = 0;
        for (int32_t i = 1; i < n; ++i)
            if (points[i].X < points[first].X || (points[i].X == points[first].X && points[i].Y < points[first].Y))
                first = i;
    }
    TSpecimen route = NearestNeighbourRoute(points, first);
    // Each pass shortens the route; the cap only guards against a pass
    // count that rounding could stretch on huge coordinates.
    for (int32_t pass = 0; pass < 1000 && ImproveOnce(points, route, fixedStart); ++pass) {
    }
    return route;
}
