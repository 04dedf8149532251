#include "search/local/local_optimiser.h"

#include <algorithm>

TLocalOptimiser::TLocalOptimiser(const TPointArray& points, const TNeighbourLists& lists, int32_t startPoint)
    : FLists(lists)
{
    const int32_t n = static_cast<int32_t>(points.size());
    FGap = n;
    FStart = startPoint >= 0 && startPoint < n ? startPoint : -1;
    FX.assign(n + 1, 0.0);
    FY.assign(n + 1, 0.0);
    double span = 1.0;
    for (int32_t i = 0; i < n; ++i) {
        FX[i] = points[i].X;
        FY[i] = points[i].Y;
        span = std::max({span, std::abs(FX[i] - FX[0]), std::abs(FY[i] - FY[0])});
    }
    // Six legs of up to twice the span, each a few units of the last place
    // off: far below this.
    FEpsilon = span * 1e-12;

    const int32_t count = lists.Count();
    FNeighbourDistances.resize(static_cast<size_t>(n) * count);
    for (int32_t i = 0; i < n; ++i) {
        for (int32_t j = 0; j < count; ++j)
            FNeighbourDistances[static_cast<size_t>(i) * count + j] = Distance(i, lists.Of(i)[j]);
    }
    FQueue.assign(n + 1, 0);
    FQueued.assign(n + 1, 0);
}

void TLocalOptimiser::SetRoute(const TSpecimen& route)
{
    std::vector<int32_t> order;
    order.reserve(route.size() + 1);
    order.push_back(FGap);
    order.insert(order.end(), route.begin(), route.end());
    FRing.Assign(order);
    ClearQueue();
}

TSpecimen TLocalOptimiser::Route() const
{
    TSpecimen route;
    route.reserve(FGap);
    const bool forward = FStart < 0 || FRing.Next(FGap) == FStart;
    for (int32_t node = forward ? FRing.Next(FGap) : FRing.Prev(FGap); node != FGap;
         node = forward ? FRing.Next(node) : FRing.Prev(node))
        route.push_back(node);
    return route;
}

TSpecimen TLocalOptimiser::RouteOf(const std::vector<int32_t>& order) const
{
    const int32_t size = static_cast<int32_t>(order.size());
    const int32_t gapAt = static_cast<int32_t>(std::find(order.begin(), order.end(), FGap) - order.begin());
    const bool forward = FStart < 0 || order[(gapAt + 1) % size] == FStart;
    TSpecimen route;
    route.reserve(FGap);
    for (int32_t k = 1; k < size; ++k)
        route.push_back(order[(forward ? gapAt + k : gapAt - k + size) % size]);
    return route;
}

void TLocalOptimiser::Touch(int32_t node)
{
    if (node == FGap || FQueued[node])
        return;
    FQueued[node] = 1;
    FQueue[(FHead + FQueueSize) % FQueue.size()] = node;
    ++FQueueSize;
}

void TLocalOptimiser::TouchAll()
{
    for (int32_t node = FRing.Next(FGap); node != FGap; node = FRing.Next(node))
        Touch(node);
}

void TLocalOptimiser::ClearQueue()
{
    std::fill(FQueued.begin(), FQueued.end(), 0);
    FHead = 0;
    FQueueSize = 0;
}

double TLocalOptimiser::Run(const TLocalPoll& poll)
{
    FInterrupted = false;
    double gained = 0.0;
    while (FQueueSize > 0) {
        const int32_t t1 = FQueue[FHead];
        FHead = (FHead + 1) % FQueue.size();
        --FQueueSize;
        FQueued[t1] = 0;
        // A point that just helped is looked at again at once: the route
        // around it has changed.
        for (;;) {
            if (poll && !poll()) {
                FInterrupted = true;
                return gained;
            }
            double gain = ImproveTwoOpt(t1);
            if (gain <= 0.0)
                gain = ImproveOrOpt(t1);
            if (gain <= 0.0)
                gain = ImproveOrThreeOpt(t1);
            if (gain <= 0.0 && FChainMoves)
                gain = FChain.Improve(*this, t1);
            if (gain <= 0.0)
                break;
            gained += gain;
        }
    }
    return gained;
}

double TLocalOptimiser::Polish(const TLocalPoll& poll)
{
    double gained = 0.0;
    for (;;) {
        TouchAll();
        const double gain = Run(poll);
        gained += gain;
        if (FInterrupted || gain <= 0.0)
            return gained;
    }
}

double TLocalOptimiser::PolishWithChains(const TLocalPoll& poll)
{
    const bool chainMoves = FChainMoves;
    FChainMoves = true;
    const double gained = Polish(poll);
    FChainMoves = chainMoves;
    return gained;
}

// Replaces (t1, t2) and (t3, t4) by (t1, t3) and (t2, t4), t3 one of the
// nearest points of t1 (or the gap): a gain needs the new leg at t1 shorter
// than the old, or the same move is found from t2, t3 or t4.
double TLocalOptimiser::ImproveTwoOpt(int32_t t1)
{
    double best = FEpsilon;
    int32_t move[4] = {-1, -1, -1, -1};
    const int32_t* neighbours = FLists.Of(t1);
    const double* distances = FNeighbourDistances.data() + static_cast<size_t>(t1) * FLists.Count();
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        const int32_t t2 = forward ? FRing.Next(t1) : FRing.Prev(t1);
        if (Fixed(t1, t2))
            continue;
        const double d12 = Distance(t1, t2);
        for (int32_t j = -1; j < FLists.Count(); ++j) {
            const int32_t t3 = j < 0 ? FGap : neighbours[j];
            const double g1 = d12 - (j < 0 ? 0.0 : distances[j]);
            if (g1 <= FEpsilon)
                break;
            if (t3 == t2)
                continue;
            const int32_t t4 = forward ? FRing.Next(t3) : FRing.Prev(t3);
            if (t4 == t1 || Fixed(t3, t4))
                continue;
            const double gain = g1 + Distance(t3, t4) - Distance(t2, t4);
            if (gain > best) {
                best = gain;
                move[0] = t1;
                move[1] = t2;
                move[2] = t3;
                move[3] = t4;
            }
        }
    }
    if (move[0] < 0)
        return 0.0;
    FRing.Exchange(move[0], move[1], move[2], move[3]);
    for (int32_t node : move)
        Touch(node);
    return best;
}

// Carries the stretch of one to three points that starts at s, in either
// direction, next to one of the nearest points of either of its ends (or
// the gap, which is an end of the route), either way round.
double TLocalOptimiser::ImproveOrOpt(int32_t s)
{
    const int32_t size = FRing.Size();
    double best = FEpsilon;
    int32_t move[6] = {-1, -1, -1, -1, -1, -1};
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        const int32_t p = forward ? FRing.Prev(s) : FRing.Next(s);
        if (Fixed(p, s))
            continue;
        int32_t e = s;
        for (int32_t length = 1; length <= 3 && length + 3 <= size; ++length) {
            if (length > 1)
                e = forward ? FRing.Next(e) : FRing.Prev(e);
            const int32_t nx = forward ? FRing.Next(e) : FRing.Prev(e);
            if (Fixed(e, nx))
                continue;
            const double removal = Distance(p, s) + Distance(e, nx) - Distance(p, nx);
            if (removal <= FEpsilon)
                continue;
            const int32_t sPosition = FRing.Position(s);
            auto inStretch = [&](int32_t node) {
                int32_t offset = forward ? FRing.Position(node) - sPosition : sPosition - FRing.Position(node);
                if (offset < 0)
                    offset += size;
                return offset < length;
            };
            for (int32_t side = 0; side < (length > 1 ? 2 : 1); ++side) {
                // The end that meets c, and the one that meets d.
                const int32_t near = side == 0 ? s : e;
                const int32_t far = side == 0 ? e : s;
                if (near == FGap)
                    continue;
                const int32_t* neighbours = FLists.Of(near);
                const double* distances = FNeighbourDistances.data() + static_cast<size_t>(near) * FLists.Count();
                for (int32_t j = -1; j < FLists.Count(); ++j) {
                    const int32_t c = j < 0 ? FGap : neighbours[j];
                    const double dc = j < 0 ? 0.0 : distances[j];
                    if (removal - dc <= FEpsilon)
                        break;
                    if (inStretch(c))
                        continue;
                    for (int32_t d : {FRing.Next(c), FRing.Prev(c)}) {
                        if (inStretch(d) || Fixed(c, d))
                            continue;
                        const double gain = removal + Distance(c, d) - dc - Distance(far, d);
                        if (gain > best) {
                            best = gain;
                            // MoveStretch joins its c to s and its d to e.
                            move[0] = p;
                            move[1] = s;
                            move[2] = e;
                            move[3] = nx;
                            move[4] = side == 0 ? c : d;
                            move[5] = side == 0 ? d : c;
                        }
                    }
                }
            }
        }
    }
    if (move[0] < 0)
        return 0.0;
    FRing.MoveStretch(move[0], move[1], move[2], move[3], move[4], move[5]);
    for (int32_t node : move)
        Touch(node);
    return best;
}

// Removes (t1, t2), (t3, t4) and (t5, t6) and joins t2 to t3, t4 to t5 and
// t6 to t1, where t3 is one of the nearest points of t2 and t5 one of t4,
// each new leg shorter than the gain so far. Read from t1, the route runs
// t2 .. t5, t6 .. t3, t4: the two stretches trade places, neither turned
// round.
double TLocalOptimiser::ImproveOrThreeOpt(int32_t t1)
{
    const int32_t size = FRing.Size();
    if (size < 6)
        return 0.0;
    double best = FEpsilon;
    int32_t move[6] = {-1, -1, -1, -1, -1, -1};
    const int32_t count = FLists.Count();
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        auto after = [&](int32_t node) { return forward ? FRing.Next(node) : FRing.Prev(node); };
        // Places after t1 in the direction read.
        const int32_t origin = FRing.Position(t1);
        auto offset = [&](int32_t node) {
            int32_t places = forward ? FRing.Position(node) - origin : origin - FRing.Position(node);
            return places < 0 ? places + size : places;
        };
        const int32_t t2 = after(t1);
        if (t2 == FGap || Fixed(t1, t2))
            continue;
        const double d12 = Distance(t1, t2);
        const int32_t* near2 = FLists.Of(t2);
        const double* distances2 = FNeighbourDistances.data() + static_cast<size_t>(t2) * count;
        for (int32_t j = 0; j < count; ++j) {
            const int32_t t3 = near2[j];
            const double g1 = d12 - distances2[j];
            if (g1 <= FEpsilon)
                break;
            const int32_t t4 = after(t3);
            // t3 lies beyond t2 and leaves a stretch between them.
            if (offset(t3) < 3 || t4 == t1 || t4 == FGap || Fixed(t3, t4))
                continue;
            const double g1b = g1 + Distance(t3, t4);
            const int32_t* near4 = FLists.Of(t4);
            const double* distances4 = FNeighbourDistances.data() + static_cast<size_t>(t4) * count;
            const int32_t limit3 = offset(t3);
            for (int32_t k = 0; k < count; ++k) {
                const int32_t t5 = near4[k];
                const double g2 = g1b - distances4[k];
                if (g2 <= FEpsilon)
                    break;
                // t5 ends the first stretch: after t2 at the earliest, and
                // before t3, which ends the second.
                const int32_t at5 = offset(t5);
                if (at5 < 1 || at5 >= limit3)
                    continue;
                const int32_t t6 = after(t5);
                if (Fixed(t5, t6))
                    continue;
                const double gain = g2 + Distance(t5, t6) - Distance(t6, t1);
                if (gain > best) {
                    best = gain;
                    move[0] = t1;
                    move[1] = t2;
                    move[2] = t5;
                    move[3] = t6;
                    move[4] = t3;
                    move[5] = t4;
                }
            }
        }
    }
    if (move[0] < 0)
        return 0.0;
    FRing.SwapStretches(move[0], move[1], move[2], move[3], move[4], move[5]);
    for (int32_t node : move)
        Touch(node);
    return best;
}
