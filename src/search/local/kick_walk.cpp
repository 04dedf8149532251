#include "search/local/kick_walk.h"

#include <algorithm>

#include "search/local/route_merge.h"

namespace {

// The longest stretch a kick moves: long enough that one Or-opt move can't
// simply carry it back, short enough to stay a local change. On uniform
// sets of 1 000 and 10 000 points 100 came out a little ahead of 50 and
// level with 200 in the same time.
constexpr int32_t MaxKickStretch = 100;
// Kicks in a row without a shorter route, per point, after which the walk
// counts as settled in a hollow.
constexpr int64_t StallKicksPerPoint = 2;
// One kick of the restart per this many points.
constexpr int32_t PointsPerRestartKick = 50;

}  // namespace

TKickWalk::TKickWalk(TLocalOptimiser& optimiser, TRandomStream& random) : FOptimiser(optimiser), FRandom(random)
{
    const TRouteRing& ring = optimiser.Ring();
    for (int32_t p = 0; p < ring.Size(); ++p)
        FWalkLength += optimiser.Distance(ring.At(p), ring.At(p + 1 == ring.Size() ? 0 : p + 1));
    FBestLength = FWalkLength;
}

std::vector<int32_t> TKickWalk::RingOrder() const
{
    const TRouteRing& ring = FOptimiser.Ring();
    std::vector<int32_t> order(ring.Size());
    for (int32_t p = 0; p < ring.Size(); ++p)
        order[p] = ring.At(p);
    return order;
}

TSpecimen TKickWalk::BestRoute() const
{
    return FWalkIsBest ? FOptimiser.Route() : FOptimiser.RouteOf(FBestOrder);
}

// Two neighbouring stretches of the ring, each of one to MaxKickStretch
// nodes, trade places; or, with chain settling, the first and last of
// three. Returns by how much the route got longer.
double TKickWalk::Kick()
{
    TLocalOptimiser& optimiser = FOptimiser;
    TRouteRing& ring = optimiser.Ring();
    const int32_t size = ring.Size();
    // Two stretches trading places are three legs changed, which one
    // Or-3opt move or one step of a chain takes straight back: with chains
    // most such kicks came to nothing. Three stretches change four legs.
    const int32_t stretches = FChainSettling && size >= 5 ? 3 : 2;
    const int32_t longest = std::clamp((size - 2) / stretches, 1, MaxKickStretch);
    int32_t lengths[3] = {0, 0, 0};
    for (int32_t k = 0; k < stretches; ++k)
        lengths[k] = 1 + FRandom.Below(longest);
    int32_t a = ring.At(FRandom.Below(size));
    // The stretches' first and last nodes, and the node after them.
    int32_t first[3] = {0, 0, 0};
    int32_t last[3] = {0, 0, 0};
    int32_t after = 0;
    // A fixed end keeps its tie to the gap: the kick moves on to the next
    // place where it cuts no fixed edge. With one fixed edge there always
    // is one, as a kick cuts at most four edges of at least five; with both
    // ends fixed a short route may have none, and then nothing is kicked.
    bool placed = false;
    for (int32_t attempt = 0; attempt < size && !placed; ++attempt) {
        int32_t before = a;
        placed = true;
        for (int32_t k = 0; k < stretches; ++k) {
            first[k] = ring.Next(before);
            last[k] = ring.Walk(before, lengths[k]);
            placed = placed && !optimiser.Fixed(before, first[k]);
            before = last[k];
        }
        after = ring.Next(before);
        placed = placed && !optimiser.Fixed(before, after);
        if (!placed)
            a = ring.Next(a);
    }
    if (!placed)
        return 0.0;
    double added = 0.0;
    if (stretches == 2) {
        added = optimiser.Distance(a, first[1]) + optimiser.Distance(last[1], first[0]) +
                optimiser.Distance(last[0], after) - optimiser.Distance(a, first[0]) -
                optimiser.Distance(last[0], first[1]) - optimiser.Distance(last[1], after);
        ring.SwapStretches(a, first[0], last[0], first[1], last[1], after);
    } else {
        added = optimiser.Distance(a, first[2]) + optimiser.Distance(last[2], first[1]) +
                optimiser.Distance(last[1], first[0]) + optimiser.Distance(last[0], after) -
                optimiser.Distance(a, first[0]) - optimiser.Distance(last[0], first[1]) -
                optimiser.Distance(last[1], first[2]) - optimiser.Distance(last[2], after);
        ring.ReorderThreeStretches(a, first[0], last[0], first[1], last[1], first[2], last[2], after);
    }
    optimiser.Touch(a);
    for (int32_t k = 0; k < stretches; ++k) {
        optimiser.Touch(first[k]);
        optimiser.Touch(last[k]);
    }
    optimiser.Touch(after);
    return added;
}

void TKickWalk::KeepWalkAsBest()
{
    if (!FWalkIsBest)
        return;
    FBestOrder = RingOrder();
    FBestLength = FWalkLength;
}

void TKickWalk::MergeWalkIntoBest(const std::function<void()>& improved)
{
    const TMergedRing merged = MergeRings(
        FBestOrder, RingOrder(), [this](int32_t a, int32_t b) { return FOptimiser.Distance(a, b); },
        FOptimiser.Epsilon());
    if (merged.Order.empty())
        return;
    FBestOrder = merged.Order;
    FBestLength -= merged.Gain;
    improved();
}

bool TKickWalk::Restart(const TLocalPoll& poll, const std::function<void()>& improved)
{
    TRouteRing& ring = FOptimiser.Ring();
    if (FWalkIsBest)
        KeepWalkAsBest();
    else
        MergeWalkIntoBest(improved);
    ring.Assign(FBestOrder);
    FOptimiser.ClearQueue();
    FWalkLength = FBestLength;
    FWalkIsBest = true;
    double added = 0.0;
    const int32_t kicks = std::max(1, ring.Size() / PointsPerRestartKick);
    for (int32_t k = 0; k < kicks; ++k)
        added += Kick();
    // Many kicks at once leave much to settle: there chain moves pay.
    FOptimiser.SetChainMoves(true);
    const double gained = FOptimiser.Run(poll);
    FOptimiser.SetChainMoves(FChainSettling);
    if (FOptimiser.Interrupted()) {
        FOptimiser.ClearQueue();
        ring.Assign(FBestOrder);
        return false;
    }
    FWalkLength += added - gained;
    FWalkIsBest = FWalkLength < FBestLength - FOptimiser.Epsilon();
    if (FWalkIsBest)
        improved();
    return true;
}

int64_t TKickWalk::Run(const TLocalPoll& poll, const std::function<bool(int64_t)>& next,
                       const std::function<void()>& improved)
{
    TRouteRing& ring = FOptimiser.Ring();
    if (ring.Size() < 4)
        return 0;
    const int64_t stall = StallKicksPerPoint * ring.Size();
    int64_t since = 0;
    ring.SetRecording(true);
    FOptimiser.SetChainMoves(FChainSettling);
    int64_t done = 0;
    while (next(done)) {
        if (since >= stall) {
            since = 0;
            if (!Restart(poll, improved))
                break;
        }
        ring.ClearRecord();
        const double added = Kick();
        const double gained = FOptimiser.Run(poll);
        if (FOptimiser.Interrupted()) {
            FOptimiser.ClearQueue();
            ring.Undo();
            break;
        }
        ++done;
        ++since;
        // A settling that only took the kick back (Or-3opt can) comes out a
        // rounding's worth shorter or longer, and one that found another
        // route of the same length may be a rounding longer as the program
        // measures: either is taken back, not counted as a gain.
        const double change = added - gained;
        if (change >= -FOptimiser.Epsilon()) {
            ring.Undo();
            continue;
        }
        FWalkLength += change;
        since = 0;
        if (FWalkIsBest || FWalkLength < FBestLength - FOptimiser.Epsilon()) {
            FWalkIsBest = true;
            improved();
        }
    }
    ring.SetRecording(false);
    ring.ClearRecord();
    FOptimiser.SetChainMoves(false);
    if (!FWalkIsBest) {
        MergeWalkIntoBest(improved);
        ring.Assign(FBestOrder);
        FWalkLength = FBestLength;
        FWalkIsBest = true;
    }
    return done;
}
