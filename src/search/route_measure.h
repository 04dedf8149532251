#pragma once

#include <cstddef>
#include <cstdint>

#include "core/point_set.h"

// RouteLength over a route held in a plain array (a slot of a flat
// population). The same arithmetic as RouteLength, leg by leg in extended
// precision with the sum rounded to a double after every addition, so both
// give the same bits.
inline double RouteLengthOf(const TDistanceMatrix& distances, const int32_t* route, size_t count)
{
    double sum = 0.0;
    for (size_t i = 0; i + 1 < count; ++i) {
        const int32_t a = route[i];
        const int32_t b = route[i + 1];
        if (a != -1 && b != -1)
            sum = static_cast<double>(static_cast<long double>(sum) +
                                      static_cast<long double>(distances[a][b]));
    }
    return sum;
}

// One more leg onto a partial sum, rounded the same way.
inline double AddLeg(double sum, double leg)
{
    return static_cast<double>(static_cast<long double>(sum) + static_cast<long double>(leg));
}
