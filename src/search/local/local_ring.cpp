#include "search/local/local_ring.h"

#include <algorithm>

TLocalRing::TLocalRing(const TLegMeter& legs, const TNeighbourLists& lists, const TRouteKind& kind,
                       const std::vector<double>* penalties)
    : FLegs(legs), FLists(lists), FPenalties(penalties != nullptr && !penalties->empty() ? penalties : nullptr)
{
    const int32_t n = legs.Count();
    FPointCount = n;
    FHasGap = !kind.RoundTrip;
    // No node of a round trip is ever the gap.
    FGap = FHasGap ? n : -2;
    FStart = kind.Start >= 0 && kind.Start < n ? kind.Start : -1;
    FEnd = FHasGap && kind.End >= 0 && kind.End < n && kind.End != FStart ? kind.End : -1;
    if (!FHasGap)
        FStart = -1;
    FRoundTripStart = kind.RoundTrip && kind.Start >= 0 && kind.Start < n ? kind.Start : -1;
    FEpsilon = legs.Epsilon();

    const int32_t count = lists.Count();
    FNeighbourDistances.resize(static_cast<size_t>(n) * count);
    for (int32_t i = 0; i < n; ++i) {
        for (int32_t j = 0; j < count; ++j)
            FNeighbourDistances[static_cast<size_t>(i) * count + j] = Distance(i, lists.Of(i)[j]);
    }
    FQueue.assign(n + 1, 0);
    FQueued.assign(n + 1, 0);
}

void TLocalRing::SetRoute(const TSpecimen& route)
{
    std::vector<int32_t> order;
    order.reserve(route.size() + 1);
    if (FHasGap)
        order.push_back(FGap);
    order.insert(order.end(), route.begin(), route.end());
    FRing.Assign(order);
    ClearQueue();
}

TSpecimen TLocalRing::Route() const
{
    TSpecimen route;
    route.reserve(FPointCount);
    if (FPointCount == 0)
        return route;
    if (!FHasGap) {
        const int32_t first = FRoundTripStart >= 0 ? FRoundTripStart : 0;
        int32_t node = first;
        do {
            route.push_back(node);
            node = FRing.Next(node);
        } while (node != first);
        return route;
    }
    const bool forward = FStart >= 0 ? FRing.Next(FGap) == FStart : FEnd < 0 || FRing.Prev(FGap) == FEnd;
    for (int32_t node = forward ? FRing.Next(FGap) : FRing.Prev(FGap); node != FGap;
         node = forward ? FRing.Next(node) : FRing.Prev(node))
        route.push_back(node);
    return route;
}

TSpecimen TLocalRing::RouteOf(const std::vector<int32_t>& order) const
{
    const int32_t size = static_cast<int32_t>(order.size());
    TSpecimen route;
    route.reserve(FPointCount);
    if (size == 0)
        return route;
    if (!FHasGap) {
        const int32_t first = FRoundTripStart >= 0 ? FRoundTripStart : 0;
        const int32_t at = static_cast<int32_t>(std::find(order.begin(), order.end(), first) - order.begin());
        for (int32_t k = 0; k < size; ++k)
            route.push_back(order[(at + k) % size]);
        return route;
    }
    const int32_t gapAt = static_cast<int32_t>(std::find(order.begin(), order.end(), FGap) - order.begin());
    const int32_t after = order[(gapAt + 1) % size];
    const int32_t before = order[(gapAt + size - 1) % size];
    const bool forward = FStart >= 0 ? after == FStart : FEnd < 0 || before == FEnd;
    for (int32_t k = 1; k < size; ++k)
        route.push_back(order[(forward ? gapAt + k : gapAt - k + size) % size]);
    return route;
}

void TLocalRing::Touch(int32_t node)
{
    if (node == FGap || FQueued[node])
        return;
    FQueued[node] = 1;
    FQueue[(FHead + FQueueSize) % FQueue.size()] = node;
    ++FQueueSize;
}

void TLocalRing::TouchAll()
{
    if (FRing.Size() == 0)
        return;
    const int32_t first = FHasGap ? FRing.Next(FGap) : FRing.At(0);
    int32_t node = first;
    do {
        Touch(node);
        node = FRing.Next(node);
    } while (node != first && node != FGap);
}

void TLocalRing::ClearQueue()
{
    std::fill(FQueued.begin(), FQueued.end(), 0);
    FHead = 0;
    FQueueSize = 0;
}

int32_t TLocalRing::TakeQueued()
{
    if (FQueueSize == 0)
        return -1;
    const int32_t node = FQueue[FHead];
    FHead = (FHead + 1) % FQueue.size();
    --FQueueSize;
    FQueued[node] = 0;
    return node;
}
