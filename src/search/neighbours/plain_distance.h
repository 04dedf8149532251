#pragma once

#include <cmath>

#include "core/measure.h"
#include "core/point_types.h"

// The distance the searches compare moves and build trees with: a plain
// double square root, within two units in the last place of the exact
// value. Lengths the program reports come from MapHypot, the distance
// matrix's extended-precision value.
inline double PlainDistance(double dx, double dy)
{
    return std::sqrt(dx * dx + dy * dy);
}

// The measure's plane places rounded to whole numbers, for the searches
// that work on whole-number points: exact for a set whose places are whole.
inline TPointArray MapPointsOf(const TMeasure& measure)
{
    TPointArray points;
    points.reserve(static_cast<size_t>(measure.Count()));
    for (const TPlace& place : measure.PlanePlaces())
        points.push_back({static_cast<int32_t>(std::lround(place.X)), static_cast<int32_t>(std::lround(place.Y)), -1});
    return points;
}
