#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/pace/bound_value.h"

// "Szacowanie dolnego ograniczenia": the Held–Karp bound for the problem's
// kind of route under its measure. Every route of the kind, closed into a
// ring, is a 1-tree (see TOneTreeShape: an open route closes through a dummy
// point at no distance from every point, tied to its fixed ends; a round
// trip is the 1-tree whose special point joins the tree over the others by
// two edges); minimum 1-trees under point penalties, raised by subgradient
// steps, bound every route from below. Up to 128 points every tree spans all
// pairs; beyond that the ascent works on each point's nearest neighbours and
// a tree over all pairs (for large sets found through a k-d tree, see
// TSpaceTree) certifies the best penalties now and then; the value counts
// the measure's legs and rounding, and for whole-number legs is rounded up.
// Shows a status text, steps the bar (one step per step of the ascent, a few
// per tree over all pairs; full once the ascent is done) and runs the
// host's events as the search methods do; with pumpEveryStep the events run
// after every step of the bar. Reads the measure, never the table.
TLowerBound ComputeLowerBound(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep = false);

// The bound for open routes with free ends over whole-number map points on
// the plane.
TLowerBound ComputeLowerBound(const TPointArray& points, TProgress& progress, bool pumpEveryStep = false);
