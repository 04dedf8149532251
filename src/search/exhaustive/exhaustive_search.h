#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/exhaustive/exhaustive_scan.h"
#include "search/pace/search_outcome.h"

// "Przeszukiwanie wyczerpujące (permutacje)": every ordering of the points,
// in the counting order of the factorial number system (k = 0 gives
// [1, 2, ..., n-1, 0], k = n! - 1 the identity), the first of equally short
// routes staying the best. With pumpEveryStep the events run after
// every route (tests stop at an exact route); otherwise they run about every
// 16 ms, with the same result for a stop after the same route.
//
// Of the other kinds only the free points are ordered (route_frame.h): a
// round trip starts at its start or at point 0 and its length counts the
// way back, a fixed start or end stays in its place, and the counting
// order is that of the free points (ascending for the identity).
//
// threads: how many threads share the work, at most MaxExhaustiveThreads;
// 0 asks for one per core (one thread up to 12 free points, where the whole
// search takes a few milliseconds at most). pumpEveryStep always uses one.
// One thread walks the counting order in order, and a stop leaves the best
// of the routes before it. Several threads give the same result for a
// complete search (see exhaustive_ranges.h). After a stop they leave the
// shortest of the routes evaluated until then (the first route of the
// counting order and a quick guess evaluated before they start among them),
// of equally short ones the earliest in counting order; Steps counts the
// routes decided (evaluated or left out) by all of them, and WorkingRoute is the
// route at that position of the counting order: the identity (the free
// points ascending between the fixed ones) after a complete search, as
// with one thread.
TSearchOutcome SearchExhaustive(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep = false,
                                int32_t threads = 0);

// The threads SearchExhaustive uses for n points when asked for threads.
int32_t ExhaustiveThreadCount(int32_t n, bool pumpEveryStep, int32_t threads);
inline constexpr int32_t MaxExhaustiveThreads = 256;
