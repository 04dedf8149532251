#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"
#include "search/local/chain_move.h"
#include "search/local/route_ring.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/plain_distance.h"

// The nearest points a local search tries around every point.
inline constexpr int32_t LocalNeighbourCount = 10;

// Asked between small units of work; false ends the work early.
using TLocalPoll = std::function<bool()>;

// 2-opt, Or-opt (a stretch of one to three points carried elsewhere,
// either way round) and Or-3opt (two neighbouring stretches of any length
// trade places, the three new legs found through the nearest points, as a
// Lin–Kernighan step of depth three would) over an open route, trying only legs to the nearest
// points and looking only at points in a queue: a point leaves the queue
// once no move around it helps, and comes back when a move touches it.
// Chain moves (TChainMove) can join them where much of the route is
// unsettled.
//
// The route is held as a ring with one extra node, the gap, at no distance
// from any point. The gap's two neighbours are the route's ends, so turning
// a prefix or a suffix round, or carrying a stretch to an end, are ordinary
// moves of the ring. A fixed first point stays tied to the gap.
class TLocalOptimiser {
public:
    // startPoint -1 leaves both ends free. lists must outlive the optimiser.
    TLocalOptimiser(const TPointArray& points, const TNeighbourLists& lists, int32_t startPoint);

    // route is a permutation of the points, starting at the fixed point
    // when there is one. Empties the queue.
    void SetRoute(const TSpecimen& route);
    TSpecimen Route() const;
    // The route a ring order over the points and the gap stands for.
    TSpecimen RouteOf(const std::vector<int32_t>& order) const;

    TRouteRing& Ring() { return FRing; }
    // The node that stands for the route's open ends.
    int32_t Gap() const { return FGap; }
    // A point's nearest points, nearer first, and their distances.
    int32_t NeighbourCount() const { return FLists.Count(); }
    const int32_t* Neighbours(int32_t node) const { return FLists.Of(node); }
    const double* NeighbourLengths(int32_t node) const
    {
        return FNeighbourDistances.data() + static_cast<size_t>(node) * FLists.Count();
    }
    // Plain double arithmetic: good for comparing moves, not for the
    // length the program reports.
    double Distance(int32_t a, int32_t b) const
    {
        if (a == FGap || b == FGap)
            return 0.0;
        return PlainDistance(FX[a] - FX[b], FY[a] - FY[b]);
    }
    // Changes of length at or below this are rounding, not a change.
    double Epsilon() const { return FEpsilon; }
    // The edge that ties a fixed first point to the gap; no move removes it.
    bool Fixed(int32_t a, int32_t b) const
    {
        return FStart >= 0 && ((a == FGap && b == FStart) || (a == FStart && b == FGap));
    }

    void Touch(int32_t node);
    void TouchAll();
    void ClearQueue();

    // Makes improving moves until the queue is empty or poll says stop
    // (see Interrupted). Returns by how much the route got shorter.
    double Run(const TLocalPoll& poll);
    bool Interrupted() const { return FInterrupted; }
    // Whether Run also tries chain moves (see TChainMove); off at first.
    // After a single kick the cheaper moves settle the route nearly as well
    // in a quarter of the time, so chains pay only where much is unsettled.
    void SetChainMoves(bool on) { FChainMoves = on; }

    // Whole passes over every point until one finds nothing to improve, so
    // that no queued-look shortcut leaves a move behind.
    double Polish(const TLocalPoll& poll);
    // The same with chain moves among the moves tried.
    double PolishWithChains(const TLocalPoll& poll);

private:
    double ImproveTwoOpt(int32_t t1);
    double ImproveOrOpt(int32_t s);
    double ImproveOrThreeOpt(int32_t t1);

    const TNeighbourLists& FLists;
    int32_t FGap = 0;
    int32_t FStart = -1;
    // Gains at or below this are rounding, not improvement; counting them
    // would let two moves undo each other for ever.
    double FEpsilon = 0.0;
    std::vector<double> FX;
    std::vector<double> FY;
    // Distance of each of FLists' neighbours, in its order.
    std::vector<double> FNeighbourDistances;
    TRouteRing FRing;
    std::vector<int32_t> FQueue;
    std::vector<char> FQueued;
    size_t FHead = 0;
    size_t FQueueSize = 0;
    bool FInterrupted = false;
    bool FChainMoves = false;
    TChainMove FChain;
};
