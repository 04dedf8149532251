#pragma once

// Problems of every measure and kind of route on small sets, with ties and
// points at one place, and the slow reference every engine is held to: the
// shortest route of the kind found by trying every order, measured with the
// measure itself.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "core/measure.h"
#include "core/route_kind.h"
#include "core/route_problem.h"

inline const std::vector<TMetric>& EveryMetric()
{
    static const std::vector<TMetric> metrics = {TMetric::Plane, TMetric::Euc2d, TMetric::Ceil2d,
                                                 TMetric::Att,   TMetric::Geo,   TMetric::Sphere};
    return metrics;
}

// n places for the metric, drawn from a pool of fewer places than points
// now and then, so that some points share a place: on the plane real
// coordinates (for the whole-number metrics often whole ones, which tie
// legs), on the Earth places across a country or across the globe (GEO in
// its DDD.MM form).
inline TPlaceArray MakePlaces(TMetric metric, int32_t n, std::mt19937& random)
{
    auto uniform = [&](double low, double high) {
        return low + (high - low) * static_cast<double>(random() % 1000000) / 1000000.0;
    };
    const bool wide = random() % 2 == 0;
    const bool whole = random() % 2 == 0;
    const int32_t poolSize = random() % 3 == 0 ? std::max(1, n / 2) : n;
    TPlaceArray pool;
    for (int32_t i = 0; i < poolSize; ++i) {
        switch (metric) {
        case TMetric::Geo: {
            const double latitude = wide ? uniform(-80, 80) : uniform(49, 55);
            const double longitude = wide ? uniform(-179, 179) : uniform(14, 24);
            // Degrees, then minutes below 60 as two decimals.
            auto dddmm = [](double degrees) {
                const double whole = std::trunc(degrees);
                return whole + std::copysign(std::floor(std::fabs(degrees - whole) * 60.0) / 100.0, degrees);
            };
            pool.push_back({dddmm(latitude), dddmm(longitude)});
            break;
        }
        case TMetric::Sphere:
            pool.push_back({wide ? uniform(-85, 85) : uniform(49, 55), wide ? uniform(-180, 180) : uniform(14, 24)});
            break;
        default: {
            const double side = whole ? 60.0 : 640.0;
            double x = uniform(0, side);
            double y = uniform(0, side * 0.75);
            if (whole) {
                x = std::floor(x);
                y = std::floor(y);
            }
            pool.push_back({x, y});
            break;
        }
        }
    }
    TPlaceArray places;
    for (int32_t i = 0; i < n; ++i)
        places.push_back(pool[static_cast<size_t>(i < poolSize ? i : random() % poolSize)]);
    return places;
}

// Every kind a set of n points can be asked for: open with free ends, from
// a point, to a point, from one to another, and round trips with and
// without a start.
inline std::vector<TRouteKind> EveryKind(int32_t n, std::mt19937& random)
{
    std::vector<TRouteKind> kinds = {{}, {true, -1, -1}};
    if (n < 1)
        return kinds;
    const int32_t a = static_cast<int32_t>(random() % n);
    const int32_t b = n > 1 ? (a + 1 + static_cast<int32_t>(random() % (n - 1))) % n : -1;
    kinds.push_back({false, a, -1});
    kinds.push_back({false, -1, a});
    kinds.push_back({true, a, -1});
    if (b >= 0)
        kinds.push_back({false, a, b});
    return kinds;
}

inline std::string KindName(TMetric metric, const TRouteKind& kind, int32_t n)
{
    return MetricKey(metric) + ", " + RouteKindText(kind) + ", n = " + std::to_string(n);
}

// The shortest length of a route of the problem's kind, trying every order
// that fits the kind (a round trip's first point fixed).
inline double ShortestKindLength(const TRouteProblem& problem)
{
    const int32_t n = problem.Count();
    if (n == 0)
        return 0.0;
    TSpecimen route(static_cast<size_t>(n));
    std::iota(route.begin(), route.end(), 0);
    const TRouteKind& kind = problem.Kind;
    const int32_t first = kind.Start >= 0 ? kind.Start : (kind.RoundTrip ? 0 : -1);
    if (first >= 0)
        std::swap(route[0], route[static_cast<size_t>(first)]);
    std::sort(route.begin() + (first >= 0 ? 1 : 0), route.end());
    double best = -1.0;
    do {
        if (!RouteFitsKind(route, kind, n))
            continue;
        const double length = KindRouteLength(problem.Measure, route, kind);
        if (best < 0 || length < best)
            best = length;
    } while (std::next_permutation(route.begin() + (first >= 0 ? 1 : 0), route.end()));
    return best;
}
