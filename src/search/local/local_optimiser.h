#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"
#include "core/route_kind.h"
#include "search/local/chain_move.h"
#include "search/local/local_ring.h"
#include "search/neighbours/leg_meter.h"
#include "search/neighbours/neighbour_lists.h"

// The nearest points a local search tries around every point.
inline constexpr int32_t LocalNeighbourCount = 10;

// Asked between small units of work; false ends the work early.
using TLocalPoll = std::function<bool()>;

// 2-opt, Or-opt (a stretch of one to three points carried elsewhere,
// either way round) and Or-3opt (two neighbouring stretches of any length
// trade places, the three new legs found through the nearest points, as a
// Lin–Kernighan step of depth three would) over a route of any kind (see
// TLocalRing), trying only legs to the nearest points and looking only at
// points in a queue: a point leaves the queue once no move around it helps,
// and comes back when a move touches it. Chain moves (TChainMove) can join
// them where much of the route is unsettled, or take their place.
class TLocalOptimiser : public TLocalRing {
public:
    // legs, lists and penalties must outlive the optimiser (see TLocalRing).
    TLocalOptimiser(const TLegMeter& legs, const TNeighbourLists& lists, const TRouteKind& kind,
                    const std::vector<double>* penalties = nullptr);

    // Makes improving moves until the queue is empty or poll says stop
    // (see Interrupted). Returns by how much the route got shorter.
    double Run(const TLocalPoll& poll);
    bool Interrupted() const { return FInterrupted; }
    // Whether Run also tries chain moves (see TChainMove); off at first.
    void SetChainMoves(bool on) { FChainMoves = on; }
    // Whether, where chain moves are tried, they alone settle a point, with
    // a double bridge (see ImproveByDoubleBridge) where no chain helps (off
    // at first). Tried first, the cheaper moves make the gain of one short
    // move before a chain can look deeper, and left routes that settled
    // worse: on uniform sets of 10 000 points in 10 s the walk made a third
    // as many kicks on chains alone and came out 0.09 % shorter. At 1 000
    // points, where chains settle only many kicks at once, the cheaper
    // moves first stay ahead.
    void SetChainsAlone(bool on) { FChainsAlone = on; }

    // Whole passes over every point until one finds nothing to improve, so
    // that no queued-look shortcut leaves a move behind.
    double Polish(const TLocalPoll& poll);
    // The same with chain moves among the moves tried.
    double PolishWithChains(const TLocalPoll& poll);

private:
    double ImproveTwoOpt(int32_t t1);
    double ImproveOrOpt(int32_t s);
    double ImproveOrThreeOpt(int32_t t1);

    bool FInterrupted = false;
    bool FChainMoves = false;
    bool FChainsAlone = false;
    TChainMove FChain;
};
