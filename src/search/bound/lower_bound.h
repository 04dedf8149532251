#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "search/pace/bound_value.h"

// "Szacowanie dolnego ograniczenia": the Held–Karp bound for open routes.
// A dummy point at distance 0 from every point closes any open route into
// a tour; minimum 1-trees with the dummy as the special node, under point
// penalties raised by subgradient steps, bound every tour from below.
// Up to 128 points every tree spans all pairs; beyond that the ascent works
// on each point's nearest neighbours and a tree over all pairs certifies
// the best penalties now and then. Shows a status text, steps the bar (one
// step per step of the ascent, a few per tree over all pairs; full once the
// ascent is done) and runs the host's events as the search methods do;
// with pumpEveryStep the events run after every step of the bar.
TLowerBound ComputeLowerBound(const TPointArray& points, TProgress& progress, bool pumpEveryStep = false);
