#include "search/cut/tour_polish.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The two stretches a kick lets trade places lie within this many nodes.
constexpr int32_t KickReach = 30;
constexpr uint32_t FarKickEvery = 4;
// Or-opt moves stretches of up to this many nodes.
constexpr int32_t MaxSegment = 3;

}  // namespace

TTourPolish::TTourPolish(const TCutGraph& graph, std::vector<std::vector<int32_t>> candidates, uint32_t seed)
    : FGraph(graph), FCandidates(std::move(candidates)), FRandom(seed), FCount(graph.Nodes())
{
}

void TTourPolish::Wake(int32_t node)
{
    if (!FQueued[static_cast<size_t>(node)]) {
        FQueued[static_cast<size_t>(node)] = 1;
        FQueue.push_back(node);
    }
}

void TTourPolish::Reverse(int32_t from, int32_t to)
{
    int32_t i = FPos[static_cast<size_t>(from)];
    int32_t j = FPos[static_cast<size_t>(to)];
    int32_t length = (j - i + FCount) % FCount + 1;
    if (2 * length > FCount) {
        // The rest of the ring turned round is the same ring.
        const int32_t newFrom = Next(to);
        const int32_t newTo = Prev(from);
        i = FPos[static_cast<size_t>(newFrom)];
        j = FPos[static_cast<size_t>(newTo)];
        length = FCount - length;
    }
    for (int32_t k = 0; k < length / 2; ++k) {
        const size_t x = static_cast<size_t>((i + k) % FCount);
        const size_t y = static_cast<size_t>((j - k + FCount) % FCount);
        std::swap(FTour[x], FTour[y]);
        FPos[static_cast<size_t>(FTour[x])] = static_cast<int32_t>(x);
        FPos[static_cast<size_t>(FTour[y])] = static_cast<int32_t>(y);
    }
}

void TTourPolish::MoveSegment(int32_t first, int32_t last, int32_t c, bool reversed)
{
    std::array<int32_t, MaxSegment> segment{};
    int32_t length = 0;
    for (int32_t node = first;; node = Next(node)) {
        segment[static_cast<size_t>(length++)] = node;
        if (node == last)
            break;
    }
    if (reversed)
        std::reverse(segment.begin(), segment.begin() + length);
    const int32_t before = Prev(first);
    const int32_t after = Next(last);
    const int32_t d = Next(c);
    const int32_t forward = (FPos[static_cast<size_t>(c)] - FPos[static_cast<size_t>(after)] + FCount) % FCount + 1;
    const int32_t backward = (FPos[static_cast<size_t>(before)] - FPos[static_cast<size_t>(d)] + FCount) % FCount + 1;
    auto place = [&](int32_t index, int32_t node) {
        const size_t slot = static_cast<size_t>((index % FCount + FCount) % FCount);
        FTour[slot] = node;
        FPos[static_cast<size_t>(node)] = static_cast<int32_t>(slot);
    };
    if (forward <= backward) {
        // after .. c move back by the stretch's length; it lands behind c.
        const int32_t from = FPos[static_cast<size_t>(after)];
        for (int32_t k = 0; k < forward; ++k)
            place(from + k - length, FTour[static_cast<size_t>((from + k) % FCount)]);
        for (int32_t k = 0; k < length; ++k)
            place(from + forward - length + k, segment[static_cast<size_t>(k)]);
    } else {
        // d .. before move on by the stretch's length; it lands before d.
        const int32_t from = FPos[static_cast<size_t>(d)];
        for (int32_t k = backward - 1; k >= 0; --k)
            place(from + k + length, FTour[static_cast<size_t>((from + k) % FCount)]);
        for (int32_t k = 0; k < length; ++k)
            place(from + k, segment[static_cast<size_t>(k)]);
    }
}

bool TTourPolish::TryTwoOpt(int32_t a)
{
    for (const bool forward : {true, false}) {
        const int32_t b = forward ? Next(a) : Prev(a);
        if (!Free(a, b))
            continue;
        const double ab = Cost(a, b);
        for (const int32_t c : FCandidates[static_cast<size_t>(a)]) {
            const double ac = Cost(a, c);
            if (ab - ac <= FEpsilon)
                break;
            const int32_t d = forward ? Next(c) : Prev(c);
            if (c == b || d == a || !Free(c, d) || !FGraph.Allowed(b, d))
                continue;
            const double delta = ac + Cost(b, d) - ab - Cost(c, d);
            if (delta < -FEpsilon) {
                if (forward)
                    Reverse(b, c);
                else
                    Reverse(a, d);
                for (const int32_t node : {a, b, c, d})
                    Wake(node);
                return true;
            }
        }
    }
    return false;
}

bool TTourPolish::TryOrOpt(int32_t a)
{
    if (FCount < MaxSegment + 5)
        return false;
    int32_t last = a;
    for (int32_t length = 1; length <= MaxSegment; ++length, last = Next(last)) {
        const int32_t before = Prev(a);
        const int32_t after = Next(last);
        if (!Free(before, a) || !Free(last, after) || !FGraph.Allowed(before, after))
            continue;
        const double removed = Cost(before, a) + Cost(last, after) - Cost(before, after);
        if (removed <= FEpsilon)
            continue;
        auto inside = [&](int32_t node) {
            return (FPos[static_cast<size_t>(node)] - FPos[static_cast<size_t>(a)] + FCount) % FCount < length;
        };
        for (const int32_t end : {a, last}) {
            for (const int32_t c : FCandidates[static_cast<size_t>(end)]) {
                const double joined = Cost(end, c);
                if (joined >= removed - FEpsilon)
                    break;
                if (inside(c))
                    continue;
                for (const bool cFirst : {true, false}) {
                    // The stretch goes between u and v, u before v.
                    const int32_t u = cFirst ? c : Prev(c);
                    const int32_t v = cFirst ? Next(c) : c;
                    if (inside(u) || inside(v) || !Free(u, v))
                        continue;
                    // Which end of the stretch meets u.
                    const int32_t toU = cFirst ? end : (end == a ? last : a);
                    const int32_t toV = toU == a ? last : a;
                    if (!FGraph.Allowed(u, toU) || !FGraph.Allowed(toV, v))
                        continue;
                    const double delta = Cost(u, toU) + Cost(toV, v) - Cost(u, v) - removed;
                    if (delta < -FEpsilon) {
                        MoveSegment(a, last, u, toU != a);
                        for (const int32_t node : {before, after, u, v, a, last})
                            Wake(node);
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

void TTourPolish::Settle()
{
    while (FQueueHead < FQueue.size()) {
        const int32_t a = FQueue[FQueueHead++];
        FQueued[static_cast<size_t>(a)] = 0;
        if (TryTwoOpt(a) || TryOrOpt(a))
            Wake(a);
    }
    FQueue.clear();
    FQueueHead = 0;
}

bool TTourPolish::Kick()
{
    // Most kicks stay near one place; every so often the two stretches
    // may lie anywhere, so that a route's ends, too, can move far.
    const bool far = FRandom() % FarKickEvery == 0;
    const int32_t reach = std::min(far ? FCount : KickReach, FCount - 2);
    if (reach < 3)
        return false;
    const int32_t i = static_cast<int32_t>(FRandom() % static_cast<uint32_t>(FCount));
    int32_t o1 = 1 + static_cast<int32_t>(FRandom() % static_cast<uint32_t>(reach));
    int32_t o2 = 1 + static_cast<int32_t>(FRandom() % static_cast<uint32_t>(reach));
    if (o1 == o2)
        return false;
    if (o1 > o2)
        std::swap(o1, o2);
    auto at = [&](int32_t k) { return FTour[static_cast<size_t>((i + k) % FCount)]; };
    const int32_t t0 = at(0);
    const int32_t a1 = at(1);
    const int32_t a2 = at(o1);
    const int32_t b1 = at(o1 + 1);
    const int32_t b2 = at(o2);
    const int32_t rest = at(o2 + 1);
    if (!Free(t0, a1) || !Free(a2, b1) || !Free(b2, rest) || !FGraph.Allowed(t0, b1) || !FGraph.Allowed(b2, a1) ||
        !FGraph.Allowed(a2, rest))
        return false;
    std::vector<int32_t> swapped;
    for (int32_t k = o1 + 1; k <= o2; ++k)
        swapped.push_back(at(k));
    for (int32_t k = 1; k <= o1; ++k)
        swapped.push_back(at(k));
    for (int32_t k = 0; k < o2; ++k) {
        const size_t slot = static_cast<size_t>((i + 1 + k) % FCount);
        FTour[slot] = swapped[static_cast<size_t>(k)];
        FPos[static_cast<size_t>(FTour[slot])] = static_cast<int32_t>(slot);
    }
    for (const int32_t node : {t0, a1, a2, b1, b2, rest})
        Wake(node);
    return true;
}

std::vector<int32_t> TTourPolish::Improve(const std::vector<int32_t>& tour, int64_t kicks,
                                          const std::function<bool()>& goOn)
{
    if (static_cast<int32_t>(tour.size()) != FCount || FCount < 5)
        return tour;
    FTour = tour;
    FPos.assign(static_cast<size_t>(FCount), 0);
    for (int32_t k = 0; k < FCount; ++k)
        FPos[static_cast<size_t>(FTour[static_cast<size_t>(k)])] = k;
    FQueued.assign(static_cast<size_t>(FCount), 0);
    FQueue.clear();
    FQueueHead = 0;
    const long double start = FGraph.TourCost(FTour);
    FEpsilon = FGraph.WholeCosts() ? 0.5 : static_cast<double>(1e-12L * (start / FCount + 1e-300L));
    for (int32_t k = 0; k < FCount; ++k)
        Wake(FTour[static_cast<size_t>(k)]);
    Settle();
    std::vector<int32_t> best = FTour;
    long double bestCost = FGraph.TourCost(FTour);
    for (int64_t k = 0; k < kicks; ++k) {
        if (k % 16 == 0 && goOn && !goOn())
            break;
        if (!Kick())
            continue;
        Settle();
        const long double cost = FGraph.TourCost(FTour);
        if (cost < bestCost - FEpsilon) {
            best = FTour;
            bestCost = cost;
        } else if (cost > bestCost + FEpsilon) {
            FTour = best;
            for (int32_t p = 0; p < FCount; ++p)
                FPos[static_cast<size_t>(FTour[static_cast<size_t>(p)])] = p;
        }
    }
    return best;
}
