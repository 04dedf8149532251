#pragma once

// Slow, literal versions of the searches, kept as the yardstick for the
// engines: each does what the method's description says, step by step,
// with the point-set core's RouteLength and nothing shared with the engines.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

#include "core/point_set.h"
#include "core/random_source.h"

struct TReferenceBest {
    TSpecimen Route;
    double Length = -1.0;
};

// The decoder: the digits of k in the factorial number system, then the
// swaps from the top, built afresh from the identity.
inline TSpecimen ReferenceDecode(int64_t k, int32_t n)
{
    std::vector<int32_t> digit(n > 1 ? n - 1 : 0);
    int64_t q = k;
    for (int32_t i = 2; i <= n; ++i) {
        digit[i - 2] = static_cast<int32_t>(q % i);
        q = q / i;
    }
    TSpecimen route(n);
    for (int32_t j = 0; j < n; ++j)
        route[j] = j;
    for (int32_t i = n; i >= 2; --i)
        SwapValues(route[digit[i - 2]], route[i - 1]);
    return route;
}

// The best of the first count routes in counting order.
inline TReferenceBest ReferenceExhaustive(const TDistanceMatrix& distances, int32_t n, int64_t count)
{
    TReferenceBest best;
    for (int64_t k = 0; k < count; ++k) {
        const TSpecimen route = ReferenceDecode(k, n);
        const double length = RouteLength(distances, route);
        if (best.Length == -1.0 || length < best.Length) {
            best.Length = length;
            best.Route = route;
        }
    }
    return best;
}

inline void ReferenceRandomRoute(TSpecimen& route)
{
    const int32_t n = static_cast<int32_t>(route.size());
    std::fill(route.begin(), route.end(), -1);
    ReseedFromClock();
    for (int32_t value = 0; value < n; ++value) {
        int32_t j = RandomBelow(n);
        do {
            j = j + 1;
            if (j > n - 1)
                j = 0;
        } while (route[j] != -1);
        route[j] = value;
    }
}

struct TReferenceWalk {
    TSpecimen Best;
    TSpecimen Route;
    double BestLength = -1.0;
};

inline TReferenceWalk ReferenceRandomSearch(const TDistanceMatrix& distances, int32_t n, int32_t tries)
{
    TReferenceWalk walk;
    walk.Route.resize(n);
    walk.Best.resize(n);
    ReferenceRandomRoute(walk.Route);
    int32_t i = 0;
    for (int32_t t = 0; t < tries; ++t) {
        const double length = RouteLength(distances, walk.Route);
        if (length < walk.BestLength || walk.BestLength == -1.0) {
            walk.BestLength = length;
            walk.Best = walk.Route;
            i = i + 1;
            if (i == n - 2)
                i = 0;
            SwapValues(walk.Route[i], walk.Route[i + 1]);
        } else {
            const int32_t k = RandomBelow(n - 1);
            SwapValues(walk.Route[k], walk.Route[k + 1]);
        }
    }
    return walk;
}

struct TReferenceGeneticParams {
    int32_t Population = 100;
    double CrossoverRate = 0.5;
    double MutationRate = 0.05;
    int32_t Generations = 50;
    bool SecureBad = false;
};

// Order crossover with a linear scan of the segment.
inline TSpecimen ReferenceChild(const TSpecimen& own, const TSpecimen& other, int32_t lo, int32_t hi)
{
    const int32_t n = static_cast<int32_t>(own.size());
    TSpecimen child(n, -1);
    for (int32_t p = lo; p <= hi; ++p)
        child[p] = other[p];
    int32_t read = hi + 1;
    int32_t write = hi + 1;
    int32_t written = 0;
    while (written < n - (hi - lo + 1)) {
        const int32_t value = own[read];
        bool inSegment = false;
        for (int32_t p = lo; p <= hi; ++p)
            if (child[p] == value)
                inSegment = true;
        if (!inSegment) {
            child[write] = value;
            write = (write + 1) % n;
            ++written;
        }
        read = (read + 1) % n;
    }
    return child;
}

// A genetic search under the count rule, generation by generation.
inline TReferenceBest ReferenceGenetic(const TDistanceMatrix& distances, int32_t n,
                                       const TReferenceGeneticParams& params)
{
    const int32_t p = params.Population;
    std::vector<TSpecimen> current(p, TSpecimen(n));
    std::vector<TSpecimen> next(p);
    std::vector<double> fitness(p);
    for (TSpecimen& specimen : current)
        ReferenceRandomRoute(specimen);
    TReferenceBest best;
    for (int32_t generation = 0; generation < params.Generations; ++generation) {
        for (int32_t i = 0; i < p; ++i) {
            const double length = RouteLength(distances, current[i]);
            fitness[i] = length;
            if (length < best.Length || best.Length == -1.0) {
                best.Length = length;
                best.Route = current[i];
            }
        }
        long double sum = 0;
        for (double length : fitness)
            sum += length;
        for (double& f : fitness)
            f = sum > 0 ? static_cast<double>(1.0L - f / sum) : 0.0;
        int32_t k = 0;
        for (int32_t i = 0; i < p; ++i) {
            const int32_t m = static_cast<int32_t>(std::nearbyint(fitness[i]));
            for (int32_t c = 0; c < m + 1; ++c)
                if (k < p)
                    next[k++] = current[i];
        }
        for (int32_t pos = 0; pos + 1 <= p - 1; pos += 2) {
            const int32_t r = RandomBelow(10);
            if (!(static_cast<long double>(r) / 100 <= params.CrossoverRate))
                continue;
            int32_t a;
            int32_t b;
            do {
                a = RandomBelow(n - 2);
                b = RandomBelow(n - 2);
            } while (a == b);
            const TSpecimen parentA = next[pos];
            const TSpecimen parentB = next[pos + 1];
            next[pos] = ReferenceChild(parentA, parentB, std::min(a, b), std::max(a, b));
            next[pos + 1] = ReferenceChild(parentB, parentA, std::min(a, b), std::max(a, b));
        }
        for (int32_t i = 0; i < p; ++i) {
            const int32_t r = RandomBelow(10);
            if (!(static_cast<long double>(r) / 100 <= params.MutationRate))
                continue;
            int32_t a;
            int32_t b;
            do {
                a = RandomBelow(n);
                b = RandomBelow(n);
            } while (a == b);
            SwapValues(next[i][a], next[i][b]);
        }
        current = next;
        if (params.SecureBad)
            current[RandomBelow(p)] = best.Route;
    }
    return best;
}

// The shortest open route by trying every order (from start when it is set,
// start -1 leaves both ends free).
inline double ShortestLengthByTrial(const TDistanceMatrix& distances, int32_t start)
{
    const int32_t n = static_cast<int32_t>(distances.size());
    TSpecimen route(n);
    std::iota(route.begin(), route.end(), 0);
    const int32_t free = start >= 0 ? 1 : 0;
    if (start >= 0)
        std::swap(route[0], route[start]);
    std::sort(route.begin() + free, route.end());
    double best = -1;
    do {
        const double length = RouteLength(distances, route);
        if (best < 0 || length < best)
            best = length;
    } while (std::next_permutation(route.begin() + free, route.end()));
    return best;
}

inline bool IsPermutation(const int32_t* route, int32_t n)
{
    std::vector<bool> seen(n, false);
    for (int32_t i = 0; i < n; ++i) {
        if (route[i] < 0 || route[i] >= n || seen[route[i]])
            return false;
        seen[route[i]] = true;
    }
    return true;
}

inline bool IsPermutation(const TSpecimen& route)
{
    return IsPermutation(route.data(), static_cast<int32_t>(route.size()));
}

// The least RouteLength of all open routes over the points (from start when
// it is set), by Held–Karp's table: for every state, the least length of
// the routes that reach it, each grown by one more leg with AddLeg. Points
// at one place are alike to any route, so a state is how many of each
// place's points the route has taken and the place it ends at; where every
// point has a place of its own, that is the plain table of every subset and
// every end. Its size is the product of (points at a place + 1) over the
// places, times the places.
inline double ReferenceHeldKarp(const TPointArray& points, int32_t start)
{
    std::vector<TMapPoint> places;
    std::vector<int64_t> counts;
    int32_t startPlace = -1;
    for (int32_t i = 0; i < static_cast<int32_t>(points.size()); ++i) {
        size_t place = 0;
        while (place < places.size() && (places[place].X != points[i].X || places[place].Y != points[i].Y))
            ++place;
        if (place == places.size()) {
            places.push_back(points[i]);
            counts.push_back(0);
        }
        ++counts[place];
        if (i == start)
            startPlace = static_cast<int32_t>(place);
    }
    const int32_t k = static_cast<int32_t>(places.size());
    if (k == 0)
        return 0.0;
    std::vector<int64_t> weight(k + 1, 1);
    for (int32_t p = 0; p < k; ++p)
        weight[p + 1] = weight[p] * (counts[p] + 1);
    const int64_t states = weight[k];
    const double unreached = std::numeric_limits<double>::infinity();
    std::vector<double> table(static_cast<size_t>(states * k), unreached);
    for (int32_t p = 0; p < k; ++p)
        if (startPlace < 0 || p == startPlace)
            table[static_cast<size_t>(weight[p] * k + p)] = 0.0;
    for (int64_t state = 0; state < states; ++state) {
        for (int32_t last = 0; last < k; ++last) {
            const double length = table[static_cast<size_t>(state * k + last)];
            if (length == unreached)
                continue;
            for (int32_t p = 0; p < k; ++p) {
                if (state / weight[p] % (counts[p] + 1) == counts[p])
                    continue;
                const double leg = MapHypot(static_cast<int64_t>(places[p].X) - places[last].X,
                                            static_cast<int64_t>(places[p].Y) - places[last].Y);
                double& next = table[static_cast<size_t>((state + weight[p]) * k + p)];
                next = std::min(next, AddLeg(length, leg));
            }
        }
    }
    double best = unreached;
    for (int32_t last = 0; last < k; ++last)
        best = std::min(best, table[static_cast<size_t>((states - 1) * k + last)]);
    return best;
}
