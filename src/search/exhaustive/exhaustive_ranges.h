#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "search/exhaustive/route_frame.h"
#include "search/pace/step_pacer.h"

// The exhaustive search spread over worker threads. The counting order is
// cut into ranges of whole subtrees (the routes that share their last
// three points); workers take the ranges in rising order, one at a time,
// and each keeps the first of its own shortest routes. The shortest length
// any of them has found narrows what all of them look at, widened by the
// margin so that a route as short as a later range's best is still
// evaluated. The result is the shortest route and, of equally short ones,
// the first in counting order: the sequential result.
//
// Only the calling thread touches the pacer: it steps the bar by the
// routes the workers have decided (evaluated or left out) and lets events
// run about every 16 ms. Before the workers start, two routes are
// evaluated: the first of the counting order and a quick guess at the
// shortest (GuessShortRoute), whose length all ranges start from. Once the
// pacer reports a stop the workers end after their current step, and
// bestRoute is the shortest of the routes evaluated until then (those two
// among them), of equally short ones the earliest in counting order.

// How many ranges a search that orders n points is cut into, and how many
// of its top positions a range fixes. Zero ranges below six points: too few
// routes to share.
int32_t ExhaustiveRangeDepth(int32_t n);
int64_t ExhaustiveRangeCount(int32_t n);

// Runs the whole search over the routes of the frame with up to threads
// workers (never more than there are ranges) and returns the routes
// decided, or -1 when no thread could be started or the frame's free points
// have no ranges; then no route was decided and the caller searches on its
// own.
int64_t SearchExhaustiveRanges(const TDistanceMatrix& distances, const TRouteFrame& frame, int32_t threads,
                               TStepPacer& pacer, TSpecimen& bestRoute);
