#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/point_set.h"
#include "search/exhaustive/counting_order.h"
#include "search/exhaustive/path_floor.h"
#include "search/exhaustive/route_frame.h"

// The engine of the exhaustive search, over any stepper that offers
// Step() and StepBy(count) and answers whether to go on.

// The counter holds n! up to this many points.
inline constexpr int32_t MaxExhaustivePoints = 20;
// The floors' fixed arrays hold the free points of any such set.
static_assert(TPathFloor::MaxPoints >= MaxExhaustivePoints);

// How far a plain double sum of a route's legs, in any order, may lie from
// the route's reference length, per leg and relative to the length: a few
// units in the last place, with room to spare. Only routes within this
// margin of the best get their reference length.
inline constexpr double MarginPerLeg = 8.0 / 9007199254740992.0;  // 8 * 2^-53

// Which floors a subtree meets before it is entered, by the number of its
// free points: the nearest-neighbour floor (unless Nearest is off), the
// tree floor from TreeFrom free points, the penalized tree from
// LagrangeFrom with up to LagrangeSteps subgradient steps. The defaults
// are the fastest order that the exhaustive benchmark measured.
struct TScanFloors {
    bool Nearest = true;
    int32_t TreeFrom = 6;
    int32_t LagrangeFrom = 9;
    int32_t LagrangeSteps = 12;
};

// Walks the routes in counting order by swapping positions from the top
// down, the way the decoder builds each route, so that a subtree shares the
// tail of its routes and the sum of the tail's legs. The reference length
// adds legs from the start of the route, where the routes differ, so it
// can't be shared; a cheap double total decides which routes need it.
//
// The walk orders the free points of a frame (route_frame.h). A frame's
// tail stands in the slot after the free ones, as a position fixed from
// the start, so its leg joins the sums like any other; a head comes before
// position 0 and adds its leg where position 0 is decided. Framed says
// whether the frame fixes any point: a scan of the open route with free
// ends runs that route's code and nothing more.
template <class TStepper, bool Framed = false>
class TExhaustiveScan {
public:
    // skipSubtrees leaves out a whole subtree once its fixed legs and a
    // floor for its free points (see TScanFloors) reach the best. Without it
    // every route goes through the double filter; the benchmark uses that
    // to show the cost of the blocks alone.
    TExhaustiveScan(const TDistanceMatrix& distances, int32_t n, TStepper& stepper, TSpecimen& bestRoute,
                    bool skipSubtrees = true, const TScanFloors& floors = {})
        : TExhaustiveScan(distances, FrameOfKind({}, n), stepper, bestRoute, skipSubtrees, floors)
    {
    }

    // The routes of a frame; bestRoute receives whole routes of
    // frame.Count points. A frame that fixes points needs a Framed scan.
    TExhaustiveScan(const TDistanceMatrix& distances, const TRouteFrame& frame, TStepper& stepper, TSpecimen& bestRoute,
                    bool skipSubtrees = true, const TScanFloors& floors = {})
        : FCount(frame.Count),
          FStepper(stepper),
          FBestRoute(bestRoute),
          FSkipSubtrees(skipSubtrees),
          FFloors(floors),
          FFree(frame.FreeCount()),
          FPositions(frame.FreeCount() + (frame.Tail >= 0 ? 1 : 0)),
          FHead(frame.Head),
          FTail(frame.Tail),
          FTailInRoute(frame.TailInRoute)
    {
        const int32_t n = FCount;
        std::copy(frame.Free.begin(), frame.Free.end(), FFreePoints.begin());
        FDistances.resize(static_cast<size_t>(n) * n);
        for (int32_t i = 0; i < n; ++i)
            std::copy_n(distances[i].data(), n, FDistances.data() + static_cast<size_t>(i) * n);
        FFactorial[0] = 1;
        for (int32_t i = 1; i <= MaxExhaustivePoints; ++i)
            FFactorial[i] = FFactorial[i - 1] * i;
        FFilter = CanFilter();
        FMargin = 1.0 + MarginPerLeg * n;
        PrepareNearest();
        if (FFilter)
            FFloor = TPathFloor(FDistances.data(), n, FHead);
        for (auto& penalties : FPenalties)
            penalties.fill(0.0);
    }

    void Run()
    {
        const int32_t m = FFree;
        for (int32_t i = 0; i < m; ++i)
            FSlots[i] = FFreePoints[i];
        if (FTail >= 0)
            FSlots[m] = FTail;
        // k = 0 becomes the best before anything else, so a complete route is
        // in place whenever the stop is noticed.
        std::array<int32_t, MaxExhaustivePoints> first{};
        for (int32_t i = 0; i < m; ++i)
            first[i] = FFreePoints[(i + 1) % m];
        FBest = Reference(first.data());
        SetBest(first.data());

        if (m < 3) {
            for (int64_t k = 0; k < FFactorial[m]; ++k) {
                TSpecimen route;
                DecodeCountingOrder(k, m, route);
                for (int32_t& entry : route)
                    entry = FFreePoints[entry];
                Consider(route.data());
                if (!FStepper.Step())
                    return;
            }
            return;
        }
        if (m == 3)
            Group(0.0);
        else if (m == 4) {
            int64_t skipped = 0;
            if (Block(0.0, skipped))
                StepSkipped(skipped);
        } else
            Level(m, 0.0, FNearestTotal);
    }

    // Makes this scan one of several that share a search range by range
    // (RunRange instead of Run). Each keeps the first of its own shortest
    // routes; shared holds the shortest length any of them has found (or a
    // route evaluated before) and only narrows what a scan looks at.
    void ShareBest(std::atomic<double>& shared)
    {
        FShared = &shared;
        FBest = std::numeric_limits<double>::infinity();
        FThreshold = std::numeric_limits<double>::infinity();
        FRangeDigit.fill(-1);
        RefreshThreshold();
    }

    // Whether this scan has evaluated a route since ShareBest; its best
    // route and length then stand in the route and Best().
    bool HasBest() const { return FBest < std::numeric_limits<double>::infinity(); }
    double Best() const { return FBest; }

    // The routes whose top depth digits in counting order make up range:
    // the stretch of (n - depth)! routes from range * (n - depth)!. A scan
    // given ranges in rising order keeps the first of its shortest routes.
    // Needs n - depth >= 5. Returns whether the search goes on.
    bool RunRange(int64_t range, int32_t depth)
    {
        const int32_t n = FFree;
        const int32_t bottom = n - depth;
        std::array<int32_t, MaxExhaustivePoints> digit;
        int64_t rest = range;
        for (int32_t top = bottom; top < n; ++top) {
            digit[top] = static_cast<int32_t>(rest % (top + 1));
            rest /= top + 1;
        }
        for (int32_t i = 0; i < n; ++i)
            FSlots[i] = FFreePoints[i];
        if (FTail >= 0)
            FSlots[n] = FTail;
        double tail = 0.0;
        double freeNearest = FNearestTotal;
        // Ranges that share their top digits with the range before share
        // its floors there: a skip holds (the threshold only falls) and a
        // subtree let in need not be measured again.
        bool samePrefix = true;
        for (int32_t level = n; level > bottom; --level) {
            const int32_t top = level - 1;
            samePrefix = samePrefix && digit[top] == FRangeDigit[top];
            FRangeDigit[top] = digit[top];
            std::swap(FSlots[digit[top]], FSlots[top]);
            const double sum = level == Positions() ? 0.0 : tail + D(FSlots[top], FSlots[level]);
            const double nearest = freeNearest - FNearest[FSlots[top]];
            bool goOn = true;
            const bool skip = samePrefix ? FRangeSkippedAt == top : Prunes(top, sum, nearest, goOn);
            if (!goOn)
                return false;
            if (skip) {
                for (int32_t below = top - 1; below >= bottom; --below)
                    FRangeDigit[below] = -1;
                FRangeSkippedAt = top;
                return FStepper.StepBy(FFactorial[bottom]);
            }
            tail = sum;
            freeNearest = nearest;
        }
        FRangeSkippedAt = -1;
        return Level(bottom, tail, freeNearest);
    }

private:
    double D(int32_t a, int32_t b) const { return FDistances[static_cast<size_t>(a) * FCount + b]; }

    // The slots' positions: the free ones and the tail's.
    int32_t Positions() const
    {
        if constexpr (Framed)
            return FPositions;
        else
            return FCount;
    }

    // The tree floor of the rest below the point at top.
    double Tree(int32_t last, int32_t top) const
    {
        if constexpr (Framed)
            return FHead >= 0 ? FFloor.template Tree<true>(last, FSlots.data(), top)
                              : FFloor.template Tree<false>(last, FSlots.data(), top);
        else
            return FFloor.Tree(last, FSlots.data(), top);
    }

    // The length that KindRouteLength gives the whole route of an order of
    // the free points, over the local copy of the matrix: the head's leg,
    // the free points' legs, the tail's leg (a round trip's way back last).
    double Reference(const int32_t* order) const
    {
        double sum = 0.0;
        if (FHead >= 0 && FFree > 0)
            sum = AddLeg(sum, D(FHead, order[0]));
        for (int32_t i = 0; i + 1 < FFree; ++i)
            sum = AddLeg(sum, D(order[i], order[i + 1]));
        const int32_t last = FFree > 0 ? order[FFree - 1] : FHead;
        if (FTail >= 0 && last >= 0)
            sum = AddLeg(sum, D(last, FTail));
        return sum;
    }

    void SetBest(const int32_t* order)
    {
        int32_t* route = FBestRoute.data();
        if (FHead >= 0)
            *route++ = FHead;
        route = std::copy_n(order, FFree, route);
        if (FTailInRoute)
            *route = FTail;
        // Steppers that show the best route live hear of each new one.
        if constexpr (requires(TStepper & stepper) { stepper.Improved(); })
            FStepper.Improved();
        FThreshold = FFilter ? std::min(FBest, FSharedSeen) * FMargin : std::numeric_limits<double>::infinity();
    }

    void Consider(const int32_t* route)
    {
        const double length = Reference(route);
        if (length < FBest) {
            FBest = length;
            SetBest(route);
            Publish();
        }
    }

    // The threshold follows the best length of all ranges, so that a range
    // skips what another range has already beaten. It stays widened by the
    // margin: a route as long as another range's best is still looked at,
    // because it may come first in counting order.
    void RefreshThreshold()
    {
        if (FShared == nullptr)
            return;
        const double shared = FShared->load(std::memory_order_relaxed);
        if (shared < FSharedSeen) {
            FSharedSeen = shared;
            if (FFilter)
                FThreshold = std::min(FThreshold, shared * FMargin);
        }
    }

    void Publish()
    {
        if (FShared == nullptr)
            return;
        double shared = FShared->load(std::memory_order_relaxed);
        while (FBest < shared && !FShared->compare_exchange_weak(shared, FBest, std::memory_order_relaxed)) {
        }
    }

    // The shortcuts rest on legs being equal both ways, finite and not
    // negative, as the distance matrix always is; anything else is measured
    // route by route.
    bool CanFilter() const
    {
        for (int32_t i = 0; i < FCount; ++i)
            for (int32_t j = 0; j < FCount; ++j) {
                const double v = D(i, j);
                if (!std::isfinite(v) || v < 0 || v != D(j, i))
                    return false;
            }
        return true;
    }

    // Every free point but the last leaves by a leg at least as long as the
    // way to its nearest possible successor (a free point or the tail),
    // which bounds what the free positions of a subtree still add.
    void PrepareNearest()
    {
        FNearestTotal = 0.0;
        double largest = 0.0;
        std::array<bool, MaxExhaustivePoints> successor{};
        for (int32_t f = 0; f < FFree; ++f)
            successor[FFreePoints[f]] = true;
        if (FTail >= 0)
            successor[FTail] = true;
        for (int32_t f = 0; f < FFree; ++f) {
            const int32_t i = FFreePoints[f];
            double nearest = std::numeric_limits<double>::infinity();
            for (int32_t j = 0; j < FCount; ++j)
                if (j != i && successor[j])
                    nearest = std::min(nearest, D(i, j));
            FNearest[i] = FFilter && std::isfinite(nearest) ? nearest : 0.0;
            FNearestTotal += FNearest[i];
            largest = std::max(largest, FNearestTotal);
        }
        // The running bound is kept by subtraction; this covers its rounding.
        FBoundSlack = 4.0 * MarginPerLeg * FCount * largest;
    }

    // Positions level .. n-1 are fixed; tail is the double sum of their
    // legs and freeNearest the nearest-neighbour total of the free points.
    // Routes left out are counted here and stepped in one go before the
    // next route that is looked at, so the bar and a stop see them in order.
    bool Level(int32_t level, double tail, double freeNearest)
    {
        int32_t* slot = FSlots.data();
        const int32_t top = level - 1;
        const int64_t subtree = FFactorial[top];
        int64_t skipped = 0;
        for (int32_t digit = 0; digit < level; ++digit) {
            std::swap(slot[digit], slot[top]);
            const double sum = level == Positions() ? 0.0 : tail + D(slot[top], slot[level]);
            const double rest = freeNearest - FNearest[slot[top]];
            bool goOn = true;
            if (Prunes(top, sum, rest, goOn))
                skipped += subtree;
            else if (goOn)
                goOn = top == 4 ? Block(sum, skipped) : StepSkipped(skipped) && Level(top, sum, rest);
            std::swap(slot[digit], slot[top]);
            if (!goOn)
                return false;
        }
        return StepSkipped(skipped);
    }

    // Whether no route of the subtree under the point just placed at top
    // can come below the threshold: its fixed legs sum to sum, rest is the
    // nearest-neighbour total of its free points. The floors go from the
    // cheapest to the dearest, each only while the one before leaves the
    // subtree in. goOn turns false when the stepper saw the stop meanwhile.
    bool Prunes(int32_t top, double sum, double rest, bool& goOn)
    {
        if (!FSkipSubtrees)
            return false;
        RefreshThreshold();
        if (FFloors.Nearest && sum + std::max(0.0, rest - FBoundSlack) >= FThreshold)
            return true;
        if (top < FFloors.TreeFrom || !FFilter)
            return false;
        const int32_t last = FSlots[top];
        const int64_t treeCost = static_cast<int64_t>(top) * top;
        goOn = Weigh(treeCost);
        if (sum + Tree(last, top) >= FThreshold)
            return true;
        if (top < FFloors.LagrangeFrom || !goOn)
            return false;
        goOn = Weigh(treeCost * FFloors.LagrangeSteps);
        double* penalties = FPenalties[top].data();
        std::copy_n(FPenalties[top + 1].data(), FCount, penalties);
        const double floor =
            FFloor.Lagrangian(last, FSlots.data(), top, FThreshold - sum, FFloors.LagrangeSteps, penalties);
        return sum + floor >= FThreshold;
    }

    // A floor over m free points costs about m * m steps of the cheapest
    // kind; steppers that pace themselves by counting calls learn of it.
    bool Weigh(int64_t units)
    {
        if constexpr (requires(TStepper & stepper) { stepper.Weigh(units); })
            return FStepper.Weigh(units);
        else
            return true;
    }

    bool StepSkipped(int64_t& skipped)
    {
        if (skipped == 0)
            return true;
        const int64_t steps = skipped;
        skipped = 0;
        return FStepper.StepBy(steps);
    }

    // The 24 routes over the four free positions: one lower bound for all,
    // from the three ways to pair the four points and the leg that joins
    // the pairs, before any of them is looked at on its own.
    // With a head each line gets the cheapest leg from the head to a point
    // that can stand at position 0.
    bool Block(double tail, int64_t& skipped)
    {
        int32_t* slot = FSlots.data();
        const int32_t a = slot[0];
        const int32_t b = slot[1];
        const int32_t c = slot[2];
        const int32_t d = slot[3];
        const bool toTail = Positions() > 4;
        const double ab = D(a, b);
        const double ac = D(a, c);
        const double ad = D(a, d);
        const double bc = D(b, c);
        const double bd = D(b, d);
        const double cd = D(c, d);
        const double xa = toTail ? D(a, slot[4]) : 0.0;
        const double xb = toTail ? D(b, slot[4]) : 0.0;
        const double xc = toTail ? D(c, slot[4]) : 0.0;
        const double xd = toTail ? D(d, slot[4]) : 0.0;
        const double abcd = ab + cd;
        const double acbd = ac + bd;
        const double adbc = ad + bc;
        // Each line: the point at position 3, then the best of the three
        // points that can stand next to it with the other two paired.
        double endA = xa + std::min({abcd + std::min(bc, bd), acbd + std::min(bc, cd), adbc + std::min(bd, cd)});
        double endB = xb + std::min({abcd + std::min(ac, ad), adbc + std::min(ac, cd), acbd + std::min(ad, cd)});
        double endC = xc + std::min({acbd + std::min(ab, ad), adbc + std::min(ab, bd), abcd + std::min(ad, bd)});
        double endD = xd + std::min({adbc + std::min(ab, ac), acbd + std::min(ab, bc), abcd + std::min(ac, bc)});
        if constexpr (Framed) {
            if (FHead >= 0) {
                const double ha = D(FHead, a);
                const double hb = D(FHead, b);
                const double hc = D(FHead, c);
                const double hd = D(FHead, d);
                endA += std::min({hb, hc, hd});
                endB += std::min({ha, hc, hd});
                endC += std::min({ha, hb, hd});
                endD += std::min({ha, hb, hc});
            }
        }
        if (tail + std::min({endA, endB, endC, endD}) >= FThreshold) {
            skipped += 24;
            return true;
        }
        return StepSkipped(skipped) && BlockRoutes(tail);
    }

    // A block that may hold a route shorter than the best, group by group.
    [[gnu::noinline]] bool BlockRoutes(double tail)
    {
        int32_t* slot = FSlots.data();
        const bool toTail = Positions() > 4;
        for (int32_t digit = 0; digit < 4; ++digit) {
            std::swap(slot[digit], slot[3]);
            const bool goOn = Group(toTail ? tail + D(slot[3], slot[4]) : tail);
            std::swap(slot[digit], slot[3]);
            if (!goOn)
                return false;
        }
        return true;
    }

    // The six routes over the three free positions, in counting order, with
    // their double totals; a head adds its leg to position 0.
    bool Group(double tail)
    {
        const int32_t a = FSlots[0];
        const int32_t b = FSlots[1];
        const int32_t c = FSlots[2];
        const bool toTail = Positions() > 3;
        const double ab = D(a, b);
        const double ac = D(a, c);
        const double bc = D(b, c);
        const double xa = toTail ? D(a, FSlots[3]) : 0.0;
        const double xb = toTail ? D(b, FSlots[3]) : 0.0;
        const double xc = toTail ? D(c, FSlots[3]) : 0.0;
        double totals[6];
        double lowest;
        if constexpr (Framed) {
            // The head's legs, none without a head.
            const bool head = FHead >= 0;
            const double ha = head ? D(FHead, a) : 0.0;
            const double hb = head ? D(FHead, b) : 0.0;
            const double hc = head ? D(FHead, c) : 0.0;
            lowest = tail + std::min({xa + bc + std::min(ac + hb, ab + hc), xb + ac + std::min(ab + hc, bc + ha),
                                      xc + ab + std::min(ac + hb, bc + ha)});
            if (lowest >= FThreshold)
                return FStepper.StepBy(6);
            totals[0] = tail + (xa + (bc + (ac + hb)));
            totals[1] = tail + (xa + (bc + (ab + hc)));
            totals[2] = tail + (xb + (ac + (ab + hc)));
            totals[3] = tail + (xb + (ac + (bc + ha)));
            totals[4] = tail + (xc + (ab + (ac + hb)));
            totals[5] = tail + (xc + (ab + (bc + ha)));
        } else {
            lowest =
                tail + std::min({xa + bc + std::min(ac, ab), xb + ac + std::min(ab, bc), xc + ab + std::min(ac, bc)});
            if (lowest >= FThreshold)
                return FStepper.StepBy(6);
            totals[0] = tail + (xa + (bc + ac));
            totals[1] = tail + (xa + (bc + ab));
            totals[2] = tail + (xb + (ac + ab));
            totals[3] = tail + (xb + (ac + bc));
            totals[4] = tail + (xc + (ab + ac));
            totals[5] = tail + (xc + (ab + bc));
        }
        const int32_t heads[6][3] = {{b, c, a}, {c, b, a}, {c, a, b}, {a, c, b}, {b, a, c}, {a, b, c}};
        std::array<int32_t, MaxExhaustivePoints> route;
        std::copy_n(FSlots.data(), FFree, route.data());
        for (int32_t r = 0; r < 6; ++r) {
            if (totals[r] < FThreshold) {
                std::copy_n(heads[r], 3, route.data());
                Consider(route.data());
            }
            if (!FStepper.Step())
                return false;
        }
        return true;
    }

    int32_t FCount;
    TStepper& FStepper;
    TSpecimen& FBestRoute;
    std::vector<double> FDistances;
    std::array<int64_t, MaxExhaustivePoints + 1> FFactorial{};
    std::array<int32_t, MaxExhaustivePoints> FSlots{};
    std::array<double, MaxExhaustivePoints> FNearest{};
    double FNearestTotal = 0.0;
    double FBoundSlack = 0.0;
    bool FSkipSubtrees;
    TScanFloors FFloors;
    TPathFloor FFloor;
    // Penalties per depth of the walk: a subtree starts from its parent's.
    std::array<std::array<double, MaxExhaustivePoints>, MaxExhaustivePoints + 1> FPenalties;
    bool FFilter = false;
    double FMargin = 1.0;
    double FBest = -1.0;
    double FThreshold = std::numeric_limits<double>::infinity();
    std::atomic<double>* FShared = nullptr;
    double FSharedSeen = std::numeric_limits<double>::infinity();
    // The digits of the range walked last and the position where its walk
    // ended in a skip (-1 when it reached the range's own subtree).
    std::array<int32_t, MaxExhaustivePoints> FRangeDigit;
    int32_t FRangeSkippedAt = MaxExhaustivePoints;
    // The free points the walk orders, the positions the slots hold (the
    // free ones, then the tail when there is one), and the fixed points.
    int32_t FFree;
    int32_t FPositions;
    int32_t FHead;
    int32_t FTail;
    bool FTailInRoute;
    std::array<int32_t, MaxExhaustivePoints> FFreePoints{};
};
