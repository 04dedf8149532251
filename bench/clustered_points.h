#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "core/point_set.h"

// Points in gaussian clusters (spread pixels wide) around a tenth as many
// centres in a square of side pixels: a set like the clustered ones of
// public collections.
inline TPointArray ClusteredPoints(int32_t n, uint32_t seed, int32_t side, double spread)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> place(0, side);
    std::vector<std::pair<int32_t, int32_t>> centres;
    for (int32_t c = 0; c < std::max(2, n / 10); ++c)
        centres.emplace_back(place(random), place(random));
    std::normal_distribution<double> around(0.0, spread);
    TPointArray points;
    for (int32_t i = 0; i < n; ++i) {
        const auto& centre = centres[random() % centres.size()];
        points.push_back({centre.first + static_cast<int32_t>(std::lround(around(random))),
                          centre.second + static_cast<int32_t>(std::lround(around(random))), -1});
    }
    return points;
}
