#pragma once

#include <cstdint>

// What a search method reports back besides FBestRoute.
struct TSearchOutcome {
    // Evaluated routes (exhaustive and random search) or generations
    // (genetic search).
    int64_t Steps = 0;
    // Whether any route was evaluated, so that FBestRoute holds one.
    bool Evaluated = false;
};
