#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"
#include "search/local/local_optimiser.h"
#include "search/local/random_stream.h"

// From this many points a kick is settled by chain moves too: at 3 000
// points in 4 s and at 10 000 in 10 s that came out ahead, at 1 000 points
// in 2 s the cheaper settling's six times as many kicks did.
inline constexpr int32_t ChainSettlingMinPoints = 2000;

// Rounds of a random kick and a settling of the optimiser's route, keeping
// the settled route when it came out no longer. When many rounds in a row
// bring nothing, the walk has settled in a hollow: it is merged with the
// best route so far (the shorter piece of each part where the two differ),
// and goes on from the best route shaken by several kicks at once, so that
// the next hollow it finds is another one. All random numbers come from
// the given stream.

class TKickWalk {
public:
    // optimiser holds a settled route; it and random must outlive the walk.
    TKickWalk(TLocalOptimiser& optimiser, TRandomStream& random);

    // Goes on while next(kicks done) allows; improved runs whenever the
    // best route gets shorter. A round cut short by poll is taken back and
    // not counted. Returns the kicks done. Afterwards the optimiser holds
    // the best route.
    int64_t Run(const TLocalPoll& poll, const std::function<bool(int64_t)>& next,
                const std::function<void()>& improved);

    // The best route so far, also between rounds of Run.
    TSpecimen BestRoute() const;

    // Whether each kick is settled with chain moves too (off at first; or
    // by chains alone, as the optimiser is set), and moves three stretches
    // rather than two (see Kick). Chains cost about five times as much a
    // kick, and on uniform sets of 10 000 points came out far ahead in the
    // same time (see ChainSettlingMinPoints).
    void SetChainSettling(bool on) { FChainSettling = on; }

private:
    std::vector<int32_t> RingOrder() const;
    double Kick();
    // Merges the walk into the best route and starts it again from there.
    // False when poll cut the settling short.
    bool Restart(const TLocalPoll& poll, const std::function<void()>& improved);
    void KeepWalkAsBest();
    // The best route takes the walk's shorter pieces where the two differ.
    void MergeWalkIntoBest(const std::function<void()>& improved);

    TLocalOptimiser& FOptimiser;
    TRandomStream& FRandom;
    // The walk's length and the best route's, in the optimiser's plain
    // arithmetic; the best route's order round the ring unless the walk
    // is the best (FWalkIsBest), when it is the ring itself.
    double FWalkLength = 0.0;
    double FBestLength = 0.0;
    bool FWalkIsBest = true;
    bool FChainSettling = false;
    std::vector<int32_t> FBestOrder;
};
