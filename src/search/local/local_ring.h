#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"
#include "core/route_kind.h"
#include "search/local/route_ring.h"
#include "search/neighbours/leg_meter.h"
#include "search/neighbours/neighbour_lists.h"

// The route a local search works on, held as a ring, with what every move
// asks of it: the legs, each point's nearest points, the legs the kind of
// route ties down, and the queue of points to look at.
//
// An open route is held as a ring with one extra node, the gap, at no
// distance from any point. The gap's two neighbours are the route's ends,
// so turning a prefix or a suffix round, or carrying a stretch to an end,
// are ordinary moves of the ring. A fixed first or last point stays tied
// to the gap. A round trip is the ring of its points alone, with no gap.
class TLocalRing {
public:
    // legs, lists and penalties must outlive the ring. A fixed start or end
    // outside the points, or an end on a round trip, counts as free. With
    // penalties (one a point) each leg weighs its length and its points'
    // penalties (the gap has none; see Distance).
    TLocalRing(const TLegMeter& legs, const TNeighbourLists& lists, const TRouteKind& kind,
               const std::vector<double>* penalties = nullptr);

    // route is a permutation of the points of the ring's kind. Empties the
    // queue.
    void SetRoute(const TSpecimen& route);
    TSpecimen Route() const;
    // The route a ring order over the points (and the gap) stands for.
    TSpecimen RouteOf(const std::vector<int32_t>& order) const;

    TRouteRing& Ring() { return FRing; }
    const TRouteRing& Ring() const { return FRing; }
    int32_t PointCount() const { return FPointCount; }
    // The node that stands for an open route's ends; no node of a round
    // trip is the gap.
    int32_t Gap() const { return FGap; }
    bool HasGap() const { return FHasGap; }
    // Where a point's list of candidates begins: -1 stands for the gap,
    // which comes before every point of an open route's lists, so that any
    // point may become an end.
    int32_t FirstCandidate() const { return FHasGap ? -1 : 0; }
    // A point's nearest points, nearer first, and their legs.
    int32_t NeighbourCount() const { return FLists.Count(); }
    const int32_t* Neighbours(int32_t node) const { return FLists.Of(node); }
    const double* NeighbourLengths(int32_t node) const
    {
        return FNeighbourDistances.data() + static_cast<size_t>(node) * FLists.Count();
    }
    // The leg between two nodes, for comparing moves (see TLegMeter): not
    // the length the program reports. Every point has two legs on any
    // route, so penalties add the same to every route, and moves compare
    // as without them; but a chain that joins the legs the 1-tree shuns
    // runs out of gain sooner, and one along its legs goes on. With the
    // 1-tree's penalties, kicked walks on uniform sets of 3 000, 10 000
    // and 100 000 points came out 0.04-0.05 % shorter in the same time.
    double Distance(int32_t a, int32_t b) const
    {
        if (!FPenalties) {
            if (a == FGap || b == FGap)
                return 0.0;
            return FLegs.Leg(a, b);
        }
        if (a == FGap)
            return b == FGap ? 0.0 : (*FPenalties)[b];
        if (b == FGap)
            return (*FPenalties)[a];
        return FLegs.Leg(a, b) + (*FPenalties)[a] + (*FPenalties)[b];
    }
    // The leg from node to its j-th nearest point, j = -1 being the gap.
    double CandidateLength(int32_t node, int32_t j) const
    {
        return j < 0 ? Distance(node, FGap) : NeighbourLengths(node)[j];
    }
    // Changes of length at or below this are rounding, not a change.
    double Epsilon() const { return FEpsilon; }
    // The edges that tie a fixed first or last point to the gap; no move
    // removes them.
    bool Fixed(int32_t a, int32_t b) const
    {
        if (a == FGap)
            return b == FStart || b == FEnd;
        if (b == FGap)
            return a == FStart || a == FEnd;
        return false;
    }

    void Touch(int32_t node);
    void TouchAll();
    void ClearQueue();

protected:
    // The next point of the queue, -1 when it is empty.
    int32_t TakeQueued();
    bool QueueEmpty() const { return FQueueSize == 0; }

    const TLegMeter& FLegs;
    const TNeighbourLists& FLists;
    const std::vector<double>* FPenalties = nullptr;

private:
    int32_t FPointCount = 0;
    bool FHasGap = true;
    int32_t FGap = 0;
    int32_t FStart = -1;
    int32_t FEnd = -1;
    // Where a round trip's route is read from: its start, or point 0.
    int32_t FRoundTripStart = -1;
    // Gains at or below this are rounding, not improvement; counting them
    // would let two moves undo each other for ever.
    double FEpsilon = 0.0;
    // Distance of each of FLists' neighbours, in its order.
    std::vector<double> FNeighbourDistances;
    TRouteRing FRing;
    std::vector<int32_t> FQueue;
    std::vector<char> FQueued;
    size_t FHead = 0;
    size_t FQueueSize = 0;
};
