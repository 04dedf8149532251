#pragma once

// The shortest route of every kind, by two slow and plain means over a
// problem's legs (problem.Leg: the table, or measured), for the searches'
// tests. A round trip is read from its first point, so its length is that of
// the ring listed from its start, or from point 0 when it has none: the
// searches list their round trips the same way. Legs are added with AddLeg
// from the first point, a round trip's way back last.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include "core/point_set.h"
#include "core/route_kind.h"
#include "core/route_problem.h"

// The first point a route of the kind must start at, -1 for any.
inline int32_t ReferenceFirstPoint(const TRouteKind& kind, int32_t n)
{
    if (n == 0)
        return -1;
    if (kind.Start >= 0)
        return kind.Start;
    return kind.RoundTrip ? 0 : -1;
}

// How many points a route of the kind may order freely: all but its
// fixed first and last points.
inline int32_t ReferenceFreePoints(const TRouteKind& kind, int32_t n)
{
    if (n <= 1)
        return n;
    const int32_t first = ReferenceFirstPoint(kind, n);
    return n - (first >= 0 ? 1 : 0) - (!kind.RoundTrip && kind.End >= 0 && kind.End != first ? 1 : 0);
}

// Held and Karp's table: for every set of points and every point of it, the
// least length of the routes from the first point through the set ending
// there, each grown by one more leg with AddLeg. A longer sum never turns
// shorter by adding the same leg, so the table holds the least length
// exactly. Up to about 16 points.
inline double ReferenceShortestOfKind(const TRouteProblem& problem)
{
    const int32_t n = problem.Count();
    if (n <= 1)
        return 0.0;
    const TRouteKind& kind = problem.Kind;
    const int32_t first = ReferenceFirstPoint(kind, n);
    const double unreached = std::numeric_limits<double>::infinity();
    const size_t sets = size_t{1} << n;
    std::vector<double> table(sets * static_cast<size_t>(n), unreached);
    for (int32_t p = 0; p < n; ++p)
        if (first < 0 || p == first)
            table[(size_t{1} << p) * n + p] = 0.0;
    for (size_t set = 1; set < sets; ++set)
        for (int32_t last = 0; last < n; ++last) {
            const double length = table[set * n + last];
            if (length == unreached)
                continue;
            for (int32_t p = 0; p < n; ++p) {
                const size_t grown = set | (size_t{1} << p);
                if (grown == set)
                    continue;
                double& cell = table[grown * n + p];
                cell = std::min(cell, AddLeg(length, problem.Leg(last, p)));
            }
        }
    double best = unreached;
    for (int32_t last = 0; last < n; ++last) {
        if (!kind.RoundTrip && kind.End >= 0 && last != kind.End)
            continue;
        double length = table[(sets - 1) * n + last];
        if (kind.RoundTrip && length != unreached)
            length = AddLeg(length, problem.Leg(last, first));
        best = std::min(best, length);
    }
    return best;
}

// Every order of the points, the ones that fit the kind measured with the
// problem's own length. Up to about 9 points.
inline double ReferenceShortestByTrial(const TRouteProblem& problem)
{
    const int32_t n = problem.Count();
    const int32_t first = ReferenceFirstPoint(problem.Kind, n);
    TSpecimen route(static_cast<size_t>(n));
    std::iota(route.begin(), route.end(), 0);
    double best = std::numeric_limits<double>::infinity();
    do {
        if (RouteFitsKind(route, problem.Kind, n) && (first < 0 || route[0] == first))
            best = std::min(best, problem.Length(route));
    } while (std::next_permutation(route.begin(), route.end()));
    return best;
}

// Every kind of route over n points: open with free ends, from a start, to
// an end, from a start to an end; a round trip, and one from a start. The
// points are drawn from random.
template <class TRandom>
std::vector<TRouteKind> ReferenceKinds(int32_t n, TRandom& random)
{
    std::vector<TRouteKind> kinds = {{}, {true, -1, -1}};
    if (n < 1)
        return kinds;
    const auto start = static_cast<int32_t>(random() % static_cast<uint32_t>(n));
    auto end = static_cast<int32_t>(random() % static_cast<uint32_t>(n));
    kinds.push_back({false, start, -1});
    kinds.push_back({false, -1, end});
    kinds.push_back({true, start, -1});
    if (n > 1) {
        if (end == start)
            end = (start + 1) % n;
        kinds.push_back({false, start, end});
    }
    return kinds;
}

// A random route of the kind over n points: shuffled until it fits.
template <class TRandom>
TSpecimen RandomRouteOfKind(const TRouteKind& kind, int32_t n, TRandom& random)
{
    TSpecimen route(static_cast<size_t>(n));
    std::iota(route.begin(), route.end(), 0);
    do
        std::shuffle(route.begin(), route.end(), random);
    while (!RouteFitsKind(route, kind, n));
    return route;
}
