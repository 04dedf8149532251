#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"

// What the lower bound found out.
struct TLowerBound {
    // Never more than RouteLength of any open route over the points, also
    // after every rounding on the way: the value is taken from a minimum
    // spanning tree over all pairs of points, less a margin that covers
    // the rounding of both the tree and of route lengths.
    double Value = 0.0;
    // Whether Value comes from such a tree. A stop before the first tree
    // was done leaves false and Value 0, which bounds any route trivially.
    bool Certified = false;
    // Whether the penalties' ascent ran to its end. After a stop Value is
    // the best certified so far.
    bool Completed = false;
    // Steps of the ascent taken.
    int32_t Iterations = 0;
};

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
