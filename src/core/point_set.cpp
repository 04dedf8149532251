#include "core/point_set.h"

#include <cmath>
#include <cstdlib>
#include <utility>

int64_t Factorial(int32_t n)
{
    uint64_t result = 1;
    for (int32_t i = 1; i <= n; ++i)
        result *= static_cast<uint64_t>(i);
    return static_cast<int64_t>(result);
}

void SwapValues(int32_t& a, int32_t& b)
{
    std::swap(a, b);
}

double RouteLength(const TDistanceMatrix& distances, const TSpecimen& route)
{
    return RouteLength(distances, route.data(), route.size());
}

double RouteLength(const TDistanceMatrix& distances, const int32_t* route, size_t count)
{
    double sum = 0.0;
    for (size_t i = 0; i + 1 < count; ++i) {
        const int32_t a = route[i];
        const int32_t b = route[i + 1];
        if (a != -1 && b != -1)
            sum = AddLeg(sum, distances[a][b]);
    }
    return sum;
}

double RouteLengthOfPoints(const TPointArray& points, const TSpecimen& route)
{
    double sum = 0.0;
    for (size_t i = 0; i + 1 < route.size(); ++i) {
        const int32_t a = route[i];
        const int32_t b = route[i + 1];
        if (a == -1 || b == -1)
            continue;
        const int64_t dx = static_cast<int64_t>(points[a].X) - points[b].X;
        const int64_t dy = static_cast<int64_t>(points[a].Y) - points[b].Y;
        sum = AddLeg(sum, MapHypot(dx, dy));
    }
    return sum;
}

void ApplyBestRoute(TPointArray& points, const TSpecimen& bestRoute)
{
    if (bestRoute.empty())
        return;
    for (size_t i = 0; i + 1 < bestRoute.size(); ++i)
        points[bestRoute[i]].Next = bestRoute[i + 1];
    points[bestRoute.back()].Next = -1;
}

double MapHypot(int64_t dx, int64_t dy)
{
    long double large = std::llabs(dx);
    long double small = std::llabs(dy);
    if (small > large)
        std::swap(large, small);
    if (small == 0)
        return static_cast<double>(large);
    const long double ratio = small / large;
    return static_cast<double>(large * std::sqrt(1.0L + ratio * ratio));
}
