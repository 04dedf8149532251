#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"

// The legs of the points for the branch and bound, in whole units of
// 2^-Scale(): every MapHypot leg rounded down, so that the bounds built from
// them are sums of integers, exact, and never above the legs' true sum.
// Node Count() is the gap, the extra node at no distance from any point that
// closes an open route into a tour.
class TFixedLegs {
public:
    explicit TFixedLegs(const TPointArray& points);

    // The points; the gap is node Count().
    int32_t Count() const { return FCount; }
    int32_t Scale() const { return FScale; }
    int64_t Leg(int32_t a, int32_t b) const { return FLegs[Index(a, b)]; }
    // Whether the MapHypot leg is a whole number: whole legs add up exactly.
    bool Whole(int32_t a, int32_t b) const { return FWhole[Index(a, b)] != 0; }
    // The largest penalty worth giving a point; a bound keeps every sum of
    // legs and penalties far inside 64 bits.
    int64_t PenaltyLimit() const { return FPenaltyLimit; }
    // Whether two of the points lie at one place: a leg of zero.
    bool HasZeroLeg() const { return FHasZeroLeg; }
    // The shortest MapHypot leg above zero; 0 when there is none.
    double ShortestLeg() const { return FShortestLeg; }

    // The least whole number of units at or above the length.
    int64_t UnitsAtLeast(long double length) const;
    long double Length(int64_t units) const;

private:
    size_t Index(int32_t a, int32_t b) const
    {
        return static_cast<size_t>(a) * static_cast<size_t>(FCount + 1) + static_cast<size_t>(b);
    }

    int32_t FCount = 0;
    int32_t FScale = 0;
    int64_t FPenaltyLimit = 0;
    bool FHasZeroLeg = false;
    double FShortestLeg = 0.0;
    std::vector<int64_t> FLegs;
    std::vector<uint8_t> FWhole;
};

// RouteLength adds legs one by one, rounding each sum, so a route's length
// may come out below the exact sum of its legs: by less than this share of
// the length itself, where that many of the sums can round. A route whose
// legs sum to at least L * (1 + share) is no shorter than L.
long double RoundingShareOf(int32_t roundings);

// The share for a route of this many points, every sum counted.
long double RoundingShare(int32_t pointCount);
