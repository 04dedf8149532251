#pragma once

#include <cstdint>

#include "core/point_set.h"

// A short open route found in well under a millisecond for up to twenty
// points: the nearest-neighbour route from every start, each improved by
// reversing stretches (2-opt) and moving single points (Or-opt) while that
// shortens it; the shortest by RouteLength. It is no proof of anything; the
// exhaustive search uses its length as the best so far from the start.
TSpecimen GuessShortRoute(const TDistanceMatrix& distances, int32_t n);
