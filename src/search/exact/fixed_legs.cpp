#include "search/exact/fixed_legs.h"

#include <algorithm>
#include <cmath>

TFixedLegs::TFixedLegs(const TPointArray& points) : FCount(static_cast<int32_t>(points.size()))
{
    const size_t side = static_cast<size_t>(FCount) + 1;
    std::vector<double> legs(side * side, 0.0);
    double longest = 1.0;
    for (int32_t a = 0; a < FCount; ++a) {
        for (int32_t b = 0; b < FCount; ++b) {
            const double leg = MapHypot(static_cast<int64_t>(points[b].X) - points[a].X,
                                        static_cast<int64_t>(points[b].Y) - points[a].Y);
            legs[Index(a, b)] = leg;
            longest = std::max(longest, leg);
            if (a != b && leg == 0.0)
                FHasZeroLeg = true;
            if (leg > 0.0 && (FShortestLeg == 0.0 || leg < FShortestLeg))
                FShortestLeg = leg;
        }
    }
    // A bound sums at most Count() + 1 edges of up to five longest legs (a
    // leg and two penalties, each held to twice the longest leg) and takes
    // off twice the penalties: 16 (n + 1) longest legs stay below 2^61.
    const long double largest = 16.0L * (FCount + 1) * longest;
    int32_t scale = 52;
    while (scale > -64 && std::ldexp(largest, scale) >= 0x1p61L)
        --scale;
    FScale = scale;
    FPenaltyLimit = static_cast<int64_t>(std::ldexp(2.0L * longest, scale));

    FLegs.assign(side * side, 0);
    FWhole.assign(side * side, 1);
    for (int32_t a = 0; a < FCount; ++a) {
        for (int32_t b = 0; b < FCount; ++b) {
            const double leg = legs[Index(a, b)];
            FLegs[Index(a, b)] = static_cast<int64_t>(std::floor(std::ldexp(static_cast<long double>(leg), scale)));
            FWhole[Index(a, b)] = leg == std::floor(leg) ? 1 : 0;
        }
    }
}

int64_t TFixedLegs::UnitsAtLeast(long double length) const
{
    return static_cast<int64_t>(std::ceil(std::ldexp(length, FScale)));
}

long double TFixedLegs::Length(int64_t units) const
{
    return std::ldexp(static_cast<long double>(units), -FScale);
}

long double RoundingShareOf(int32_t roundings)
{
    // Each sum is rounded twice, to 64 bits and then to a double: within
    // 2^-53 + 2^-64 of itself, and no sum of a route is above its length.
    // Some room on top.
    const long double perSum = 0x1p-53L + 0x1p-64L;
    return 1.001L * std::max(0, roundings) * perSum;
}

long double RoundingShare(int32_t pointCount)
{
    return RoundingShareOf(pointCount - 1);
}
