#pragma once

// Sets of 17 to 22 points on fewer places, of the kinds that give many
// equally long routes: places taken by several points, on one line (with
// whole legs, and slanted so that no leg is whole, far out where legs round
// twice), in tight clusters, on small lattices, mixed.

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <utility>

#include "core/point_set.h"

struct TRepeatedPlacesSet {
    TPointArray Points;
    // A point of the set for a fixed start; -1 for a free start.
    int32_t Start = -1;
};

inline constexpr int RepeatedPlacesKinds = 8;

// The size of the Held–Karp table over the places (see ReferenceHeldKarp).
inline int64_t PlaceTableStates(const TPointArray& points)
{
    std::map<std::pair<int32_t, int32_t>, int64_t> counts;
    for (const TMapPoint& point : points)
        ++counts[{point.X, point.Y}];
    int64_t states = static_cast<int64_t>(counts.size());
    for (const auto& entry : counts)
        states *= entry.second + 1;
    return states;
}

// Set number index, the same every time; its kind is index % RepeatedPlacesKinds.
inline TRepeatedPlacesSet RepeatedPlacesSet(int index)
{
    std::mt19937 random(9000u + static_cast<uint32_t>(index));
    auto draw = [&](int32_t range) { return static_cast<int32_t>(random() % static_cast<uint32_t>(range)); };
    const int kind = index % RepeatedPlacesKinds;
    TRepeatedPlacesSet set;
    // Kept small enough for the reference's table.
    do {
        const int32_t n = 17 + draw(6);
        const int32_t places = 3 + draw(kind == 0 || kind == 7 ? 10 : 8);
        // Each kind's places, then points drawn on them.
        TPointArray sites;
        const int32_t dx = 1 + draw(5);
        const int32_t dy = 1 + draw(7);
        const int32_t scale = 1 + draw(1000000);
        for (int32_t p = 0; p < places; ++p) {
            switch (kind) {
            case 0:
                sites.push_back({draw(640), draw(480), -1});
                break;
            case 1: {
                const int32_t t = draw(20);
                sites.push_back({3 * t, 4 * t, -1});
                break;
            }
            case 2: {
                const int32_t t = draw(12);
                sites.push_back({t * dx * scale, t * dy * scale, -1});
                break;
            }
            case 3: {
                const int32_t centre = draw(3);
                sites.push_back({centre * 500 + draw(3), (centre % 2) * 400 + draw(3), -1});
                break;
            }
            case 4:
                sites.push_back({10 * draw(4), 10 * draw(4), -1});
                break;
            case 5:
                sites.push_back({10 * draw(3), 10 * draw(3), -1});
                break;
            case 6:
                sites.push_back({2000000000 - 700000000 * draw(3), -2000000000 + 900000000 * draw(3), -1});
                break;
            default:
                if (p % 2 == 0) {
                    const int32_t t = 7 * draw(15);
                    sites.push_back({t, 2 * t, -1});
                } else {
                    sites.push_back({draw(100), draw(100), -1});
                }
                break;
            }
        }
        set.Points.clear();
        for (const TMapPoint& site : sites)
            set.Points.push_back(site);
        while (static_cast<int32_t>(set.Points.size()) < n)
            set.Points.push_back(sites[draw(places)]);
        std::shuffle(set.Points.begin(), set.Points.end(), random);
    } while (PlaceTableStates(set.Points) > 3000000);
    set.Start = index % 3 == 2 ? draw(static_cast<int32_t>(set.Points.size())) : -1;
    return set;
}
