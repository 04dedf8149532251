#pragma once

// Point sets of the kinds that trip an engine up, shared by the tests of
// the exact method and the lower bound.

#include <cstdint>
#include <random>
#include <vector>

#include "core/point_set.h"

enum TSetKind : int {
    skScattered = 0,
    // On one line, some points twice.
    skCollinear,
    // A few places, each with several points.
    skDuplicates,
    // A small lattice, full of equally short routes.
    skGrid,
    // Two far clusters: legs fall below the last bit of the sum, so adding a
    // leg rounds twice.
    skFar,
    skKindCount,
};

inline std::vector<TMapPoint> MakeTrickySet(int kind, int32_t n, std::mt19937& random)
{
    std::vector<TMapPoint> points;
    auto draw = [&](int32_t range) { return static_cast<int32_t>(random() % static_cast<uint32_t>(range)); };
    for (int32_t i = 0; i < n; ++i) {
        switch (kind) {
        case skScattered:
            points.push_back({draw(640), draw(480), -1});
            break;
        case skCollinear: {
            const int32_t t = draw(20);
            points.push_back({3 * t, 4 * t, -1});
            break;
        }
        case skDuplicates:
            points.push_back({10 * draw(3), 10 * draw(2), -1});
            break;
        case skGrid:
            points.push_back({draw(4), draw(3), -1});
            break;
        default: {
            const int32_t far = i % 2 == 0 ? 2000000000 : -2000000000;
            points.push_back({far + draw(50), draw(2000000000) - 1000000000 + draw(7), -1});
            break;
        }
        }
    }
    return points;
}
