#pragma once

// Point sets for the searches' tests, of the kinds that trip a search up.

#include <cstdint>
#include <random>
#include <vector>

#include "core/point_set.h"
#include "support/scripted_host.h"

// Scattered, on one line, several points at one place, a lattice full of
// equal routes, coordinates so large that legs fall far below the last bit
// of the sum, and pairs of points a pixel or two apart.
enum TSetKind : int { skScattered, skCollinear, skHeaps, skLattice, skFar, skPairs, skKindCount };

inline std::vector<TMapPoint> MakeSet(int kind, int32_t n, std::mt19937& random)
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
        case skHeaps:
            points.push_back({10 * draw(3), 10 * draw(2), -1});
            break;
        case skLattice:
            points.push_back({draw(4), draw(3), -1});
            break;
        case skFar: {
            const int32_t far = i % 2 == 0 ? 2000000000 : -2000000000;
            points.push_back({far + draw(50), draw(2000000000) - 1000000000 + draw(7), -1});
            break;
        }
        default:
            if (i % 2 == 0)
                points.push_back({draw(493), draw(381), -1});
            else
                points.push_back({points.back().X + 1 + draw(2), points.back().Y + draw(2), -1});
            break;
        }
    }
    return points;
}
