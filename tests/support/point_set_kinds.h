#pragma once

#include <cstdint>
#include <random>

#include "core/point_set.h"

// The kinds of point sets that trip nearness questions and routes up:
// scattered, on one slanted line, stacked on a few places, a small lattice
// full of equal distances, tight clusters far apart, and the ends of 32 bits.
inline constexpr int PointSetKinds = 6;

inline TPointArray MakePointSet(int kind, int32_t n, std::mt19937& random)
{
    auto draw = [&](int32_t range) { return static_cast<int32_t>(random() % static_cast<uint32_t>(range)); };
    auto edge = [&] { return draw(2) == 0 ? INT32_MIN + draw(9) : INT32_MAX - draw(9); };
    TPointArray points;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t t = draw(40);
        const int32_t centre = draw(3) * 100000;
        const TMapPoint kinds[PointSetKinds] = {
            {draw(640), draw(480), -1},
            {3 * t, 4 * t, -1},
            {10 * draw(3), 10 * draw(3), -1},
            {draw(7), draw(7), -1},
            {centre + draw(5), centre - draw(5), -1},
            {edge(), edge(), -1},
        };
        points.push_back(kinds[kind]);
    }
    return points;
}

// The distance matrix's value for two points.
inline double Between(const TMapPoint& a, const TMapPoint& b)
{
    return MapHypot(static_cast<int64_t>(a.X) - b.X, static_cast<int64_t>(a.Y) - b.Y);
}
