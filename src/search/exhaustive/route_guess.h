#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "search/exhaustive/route_frame.h"

// A short route of a frame found in well under a millisecond for up to
// twenty points: the nearest-neighbour route from every start the frame
// allows, each improved by reversing stretches (2-opt) and moving single
// points (Or-opt) among the free positions while that shortens it; the
// shortest by the frame's length. It is no proof of anything; the
// exhaustive search uses its length as the best so far from the start.
TSpecimen GuessShortRoute(const TDistanceMatrix& distances, const TRouteFrame& frame);
// The same for the open route with free ends over n points.
TSpecimen GuessShortRoute(const TDistanceMatrix& distances, int32_t n);
