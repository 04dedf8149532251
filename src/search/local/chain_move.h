#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "search/local/local_ring.h"
#include "search/local/trial_ring.h"

// The most 3-opt steps one chain takes.
inline constexpr int32_t MaxChainSteps = 10;
// The fewest nodes (points and the gap) a ring needs for a chain.
inline constexpr int32_t MinChainNodes = 6;

// A Lin–Kernighan move whose step is a sequential 3-opt move, made on a
// local search's ring. From t1, drop the leg to its neighbour t2 and hold the
// rest as a path from t2 to t1. A step joins the loose end t2 to one of its
// nearest points t3 and drops a leg (t3, t4) at t3; when that leaves a
// loop (t4 beyond t3), joining t4 to a point t5 of the loop and dropping a
// leg (t5, t6) there opens it again, so segments trade places or turn
// round; otherwise t5 and t6 may be anywhere. Either way t6 is the new
// loose end, and closing the path back to t1 gives a route. The first step
// that closes shorter is made; otherwise the step with the largest gain so
// far is made and the chain goes on from t6, while the legs dropped
// outweigh the legs joined. The chain is tried on a trial ring and made on
// the optimiser's ring only when it pays.
class TChainMove {
public:
    // Makes a chain from t1 that shortens the route by more than its
    // rounding, marks the points it touched and returns its gain; or
    // leaves the ring as it was and returns 0.
    double Improve(TLocalRing& route, int32_t t1);

private:
    // One step (the chain's depth-th, from 0) from t1 with loose end t2
    // and gain so far gain. Returns the new loose end, or -1 when no step
    // goes on; a step that closes shorter sets FClosed.
    int32_t Step(int32_t t1, int32_t t2, double& gain, int32_t depth);
    bool Joined(int32_t a, int32_t b) const;
    bool Dropped(int32_t a, int32_t b) const;
    void Note(int32_t dropped1, int32_t dropped2, int32_t joined1, int32_t joined2);
    // Makes the exchange on the trial ring and notes it for the real one.
    void Exchange(int32_t a, int32_t b, int32_t c, int32_t d);
    void SwapStretches(int32_t a, int32_t b0, int32_t b1, int32_t c0, int32_t c1, int32_t d);

    struct TExchange {
        int32_t A;
        int32_t B;
        int32_t C;
        int32_t D;
    };

    TLocalRing* FRoute = nullptr;
    double FClosed = 0.0;
    std::vector<std::pair<int32_t, int32_t>> FDropped;
    std::vector<std::pair<int32_t, int32_t>> FJoined;
    TTrialRing FTrial;
    std::vector<TExchange> FExchanges;
};
