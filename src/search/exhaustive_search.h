#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "search/exhaustive_scan.h"
#include "search/search_outcome.h"

// "Przeszukiwanie wyczerpujące (permutacje)": every ordering of the points,
// in the counting order of the factorial number system (k = 0 gives
// [1, 2, ..., n-1, 0], k = n! - 1 the identity), the first of equally short
// routes staying the best. With pumpEveryStep the host's events run after
// every route (tests stop at an exact route); otherwise they run about every
// 16 ms, with the same result for a stop after the same route.
TSearchOutcome SearchExhaustive(TPointSetState& state, TProgress& host, bool pumpEveryStep = false);
