#pragma once

#include <cmath>

// The distance the searches compare moves and build trees with: a plain
// double square root, within two units in the last place of the exact
// value. Lengths the program reports come from MapHypot, the distance
// matrix's extended-precision value.
inline double PlainDistance(double dx, double dy)
{
    return std::sqrt(dx * dx + dy * dy);
}
