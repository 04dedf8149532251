#pragma once

#include <cstdint>

#include "core/point_set.h"

// The exhaustive search walks the routes in the counting order of the
// factorial number system: counter value k = 0 gives [1, 2, ..., n-1, 0],
// k = n! - 1 the identity.

// The route that counter value k stands for, decoded digit by digit.
void DecodeCountingOrder(int64_t k, int32_t n, TSpecimen& route);
// The counter value that stands for route, a permutation of 0 .. n-1.
int64_t CountingPosition(const TSpecimen& route);
