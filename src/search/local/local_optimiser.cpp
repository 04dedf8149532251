#include "search/local/local_optimiser.h"

#include <algorithm>

#include "search/local/bridge_move.h"

TLocalOptimiser::TLocalOptimiser(const TLegMeter& legs, const TNeighbourLists& lists, const TRouteKind& kind,
                                 const std::vector<double>* penalties)
    : TLocalRing(legs, lists, kind, penalties)
{
}

double TLocalOptimiser::Run(const TLocalPoll& poll)
{
    FInterrupted = false;
    double gained = 0.0;
    // A ring too small for chains is settled by the cheaper moves.
    const bool chainsAlone = FChainMoves && FChainsAlone && Ring().Size() >= MinChainNodes;
    while (!QueueEmpty()) {
        const int32_t t1 = TakeQueued();
        // A point that just helped is looked at again at once: the route
        // around it has changed.
        for (;;) {
            if (poll && !poll()) {
                FInterrupted = true;
                return gained;
            }
            double gain = 0.0;
            if (chainsAlone) {
                gain = FChain.Improve(*this, t1);
                if (gain <= 0.0)
                    gain = ImproveByDoubleBridge(*this, t1);
            } else {
                gain = ImproveTwoOpt(t1);
                if (gain <= 0.0)
                    gain = ImproveOrOpt(t1);
                if (gain <= 0.0)
                    gain = ImproveOrThreeOpt(t1);
                if (gain <= 0.0 && FChainMoves)
                    gain = FChain.Improve(*this, t1);
            }
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
    double best = Epsilon();
    int32_t move[4] = {-1, -1, -1, -1};
    const int32_t* neighbours = Neighbours(t1);
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        const int32_t t2 = forward ? Ring().Next(t1) : Ring().Prev(t1);
        if (Fixed(t1, t2))
            continue;
        const double d12 = Distance(t1, t2);
        for (int32_t j = FirstCandidate(); j < NeighbourCount(); ++j) {
            const int32_t t3 = j < 0 ? Gap() : neighbours[j];
            const double g1 = d12 - CandidateLength(t1, j);
            if (g1 <= Epsilon()) {
                // The gap stands outside the list's order.
                if (j < 0)
                    continue;
                break;
            }
            if (t3 == t2)
                continue;
            const int32_t t4 = forward ? Ring().Next(t3) : Ring().Prev(t3);
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
    Ring().Exchange(move[0], move[1], move[2], move[3]);
    for (int32_t node : move)
        Touch(node);
    return best;
}

// Carries the stretch of one to three points that starts at s, in either
// direction, next to one of the nearest points of either of its ends (or
// the gap, which is an end of the route), either way round.
double TLocalOptimiser::ImproveOrOpt(int32_t s)
{
    const int32_t size = Ring().Size();
    double best = Epsilon();
    int32_t move[6] = {-1, -1, -1, -1, -1, -1};
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        const int32_t p = forward ? Ring().Prev(s) : Ring().Next(s);
        if (Fixed(p, s))
            continue;
        int32_t e = s;
        for (int32_t length = 1; length <= 3 && length + 3 <= size; ++length) {
            if (length > 1)
                e = forward ? Ring().Next(e) : Ring().Prev(e);
            const int32_t nx = forward ? Ring().Next(e) : Ring().Prev(e);
            if (Fixed(e, nx))
                continue;
            const double removal = Distance(p, s) + Distance(e, nx) - Distance(p, nx);
            if (removal <= Epsilon())
                continue;
            const int32_t sPosition = Ring().Position(s);
            auto inStretch = [&](int32_t node) {
                int32_t offset = forward ? Ring().Position(node) - sPosition : sPosition - Ring().Position(node);
                if (offset < 0)
                    offset += size;
                return offset < length;
            };
            for (int32_t side = 0; side < (length > 1 ? 2 : 1); ++side) {
                // The end that meets c, and the one that meets d.
                const int32_t near = side == 0 ? s : e;
                const int32_t far = side == 0 ? e : s;
                if (near == Gap())
                    continue;
                const int32_t* neighbours = Neighbours(near);
                for (int32_t j = FirstCandidate(); j < NeighbourCount(); ++j) {
                    const int32_t c = j < 0 ? Gap() : neighbours[j];
                    const double dc = CandidateLength(near, j);
                    if (removal - dc <= Epsilon()) {
                        if (j < 0)
                            continue;
                        break;
                    }
                    if (inStretch(c))
                        continue;
                    for (int32_t d : {Ring().Next(c), Ring().Prev(c)}) {
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
    Ring().MoveStretch(move[0], move[1], move[2], move[3], move[4], move[5]);
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
    const int32_t size = Ring().Size();
    if (size < 6)
        return 0.0;
    double best = Epsilon();
    int32_t move[6] = {-1, -1, -1, -1, -1, -1};
    const int32_t count = NeighbourCount();
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        auto after = [&](int32_t node) { return forward ? Ring().Next(node) : Ring().Prev(node); };
        // Places after t1 in the direction read.
        const int32_t origin = Ring().Position(t1);
        auto offset = [&](int32_t node) {
            int32_t places = forward ? Ring().Position(node) - origin : origin - Ring().Position(node);
            return places < 0 ? places + size : places;
        };
        const int32_t t2 = after(t1);
        if (t2 == Gap() || Fixed(t1, t2))
            continue;
        const double d12 = Distance(t1, t2);
        const int32_t* near2 = Neighbours(t2);
        const double* distances2 = NeighbourLengths(t2);
        for (int32_t j = 0; j < count; ++j) {
            const int32_t t3 = near2[j];
            const double g1 = d12 - distances2[j];
            if (g1 <= Epsilon())
                break;
            const int32_t t4 = after(t3);
            // t3 lies beyond t2 and leaves a stretch between them.
            if (offset(t3) < 3 || t4 == t1 || t4 == Gap() || Fixed(t3, t4))
                continue;
            const double g1b = g1 + Distance(t3, t4);
            const int32_t* near4 = Neighbours(t4);
            const double* distances4 = NeighbourLengths(t4);
            const int32_t limit3 = offset(t3);
            for (int32_t k = 0; k < count; ++k) {
                const int32_t t5 = near4[k];
                const double g2 = g1b - distances4[k];
                if (g2 <= Epsilon())
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
    Ring().SwapStretches(move[0], move[1], move[2], move[3], move[4], move[5]);
    for (int32_t node : move)
        Touch(node);
    return best;
}
