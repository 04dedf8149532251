#pragma once

#include <cstdint>
#include <string>

#include "core/point_types.h"
#include "search/pace/bound_value.h"

// What a search method reports back.
struct TSearchOutcome {
    // The best route found: every point of the problem once, of the
    // problem's kind; empty when no route was evaluated.
    TSpecimen Route;
    // The route the method worked on last (for the exhaustive and random
    // search the last one evaluated; otherwise the best).
    TSpecimen WorkingRoute;
    // Evaluated routes (exhaustive and random search) or generations
    // (genetic search).
    int64_t Steps = 0;
    // Whether any route was evaluated, so that Route holds one.
    bool Evaluated = false;
    // Whether Route is proved to be a shortest route: every route was
    // looked at or ruled out.
    bool Proved = false;
    // Why a method that had begun could not go on (memory it could not
    // get); empty when it could.
    std::string Failure;
    // What the method proved of every route on the way: no RouteLength is
    // below Bound.Value. Certified false when it proved nothing.
    TLowerBound Bound;
};
