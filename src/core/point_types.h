#pragma once

#include <cstdint>
#include <vector>

// One point of the set, in map pixels. Next is the index of the point that
// follows on the displayed route, -1 when there is none.
struct TMapPoint {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Next = -1;
};

using TPointArray = std::vector<TMapPoint>;

// A route: point indices in visiting order. -1 names no point.
using TSpecimen = std::vector<int32_t>;

using TDistanceRow = std::vector<double>;
// D[i][j] is the distance of the leg that starts at point i and ends at j.
using TDistanceMatrix = std::vector<TDistanceRow>;
