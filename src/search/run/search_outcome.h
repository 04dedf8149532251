#pragma once

#include <cstdint>
#include <string>

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
};
