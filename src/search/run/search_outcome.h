#pragma once

#include <cstdint>
#include <string>

#include "search/bound/lower_bound.h"

// What a search method reports back besides FBestRoute.
struct TSearchOutcome {
    // Evaluated routes (exhaustive and random search) or generations
    // (genetic search).
    int64_t Steps = 0;
    // Whether any route was evaluated, so that FBestRoute holds one.
    bool Evaluated = false;
    // Whether FBestRoute is proved to be a shortest route: every route was
    // looked at or ruled out.
    bool Proved = false;
    // Why a method that had begun could not go on (memory it could not
    // get); empty when it could.
    std::string Failure;
    // What the method proved of every route on the way: no RouteLength is
    // below Bound.Value. Certified false when it proved nothing.
    TLowerBound Bound;
};
