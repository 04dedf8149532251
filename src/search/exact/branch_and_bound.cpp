#include "search/exact/branch_and_bound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The ascent's steps at the root: a long run from no penalties, then short
// ones in every subproblem from its parent's penalties.
constexpr int32_t RootIterationsPerPoint = 40;
constexpr int32_t MinChildIterations = 12;
constexpr double RootStep = 1.0;
constexpr double ChildStep = 0.25;
// Rounds of ruling edges out and raising the bound again in one subproblem.
constexpr int32_t MaxRounds = 4;

std::vector<uint8_t> NonWholeEdges(const TFixedLegs& legs)
{
    const int32_t nodes = legs.Count() + 1;
    std::vector<uint8_t> nonWhole(static_cast<size_t>(nodes) * nodes, 0);
    for (int32_t a = 0; a < legs.Count(); ++a)
        for (int32_t b = 0; b < legs.Count(); ++b)
            nonWhole[static_cast<size_t>(a) * nodes + b] = legs.Whole(a, b) ? 0 : 1;
    return nonWhole;
}

}  // namespace

TBranchAndBound::TBranchAndBound(const TPointArray& points, int32_t startPoint, const TSpecimen& incumbent,
                                 TRouteMeasure measure)
    : FPoints(points),
      FCount(static_cast<int32_t>(points.size())),
      FStart(startPoint >= 0 && startPoint < static_cast<int32_t>(points.size()) ? startPoint : -1),
      FMeasure(std::move(measure)),
      FLegs(points),
      FRules(FCount + 1, NonWholeEdges(FLegs)),
      FTree(FLegs)
{
    TSpecimen route = incumbent;
    const double none = std::numeric_limits<double>::infinity();
    double length = Measure(route, none);
    if (FStart < 0) {
        // The same route read from its other end may come out shorter by
        // RouteLength's roundings.
        TSpecimen reversed(route.rbegin(), route.rend());
        const double reversedLength = Measure(reversed, none);
        if (reversedLength < length) {
            route = reversed;
            length = reversedLength;
        }
    }
    SetBest(route, length);
}

void TBranchAndBound::SetBest(const TSpecimen& route, double length)
{
    FBest = route;
    FBestLength = length;
    FRoundings = RoundingsBelow(length);
    const long double bestLength = length;
    FCloseAt = FLegs.UnitsAtLeast(bestLength + bestLength * RoundingShareOf(FRoundings));
    FWholeCloseAt = FMeasure.WholeLegsAddUp ? FLegs.UnitsAtLeast(bestLength) : FCloseAt;
}

double TBranchAndBound::Measure(const TSpecimen& route, double cap) const
{
    return FMeasure.Length ? FMeasure.Length(route, cap) : RouteLengthOfPoints(FPoints, route);
}

int32_t TBranchAndBound::RoundingsBelow(double length) const
{
    // Without legs of zero every leg is counted, the first as well: one
    // fewer would prove nothing more, yet move every step of the ascent,
    // which aims at the closing bound.
    const int32_t every = std::max(0, FCount - 1) + FMeasure.ExtraRoundings;
    if (!FLegs.HasZeroLeg())
        return every;
    if (FLegs.ShortestLeg() == 0.0)
        return FMeasure.ExtraRoundings;
    // Adding a leg of zero, or a leg to zero, is exact. A route shorter than
    // length has fewer legs above zero than fit, each at least the
    // shortest, into what its legs can sum to: the first of them adds
    // exactly, each other one may round.
    const long double reach = length * (1.0L + RoundingShareOf(every));
    const long double above = std::floor(reach / FLegs.ShortestLeg() * (1.0L + 0x1p-60L));
    if (above >= FCount)
        return every;
    return std::max(0, static_cast<int32_t>(above) - 1) + FMeasure.ExtraRoundings;
}

bool TBranchAndBound::Run(const std::function<bool(int64_t)>& goOn, const std::function<void()>& improved,
                          int64_t maxSubproblems)
{
    FGoOn = goOn;
    FImproved = improved;
    FMaxSubproblems = maxSubproblems;
    FPath.clear();
    // One or two points have one route, read either way.
    if (FCount <= 2) {
        FFinished = true;
        FShareDone = 1;
        return true;
    }
    const size_t mark = FRules.Mark();
    bool ok = true;
    if (FStart >= 0)
        ok = FRules.Force(FCount, FStart);
    std::vector<int64_t> penalties(FCount + 1, 0);
    const bool done = !ok || Explore(penalties, 0, 1.0L);
    if (done) {
        FRules.Undo(mark);
        FFinished = true;
        FShareDone = 1;
        FPath.clear();
    }
    return done;
}

bool TBranchAndBound::GoOn(int64_t steps)
{
    // A stop holds, however the caller answers later.
    if (!FStopped && FGoOn && !FGoOn(steps))
        FStopped = true;
    return !FStopped;
}

bool TBranchAndBound::Closed(int64_t bound) const
{
    return bound >= FCloseAt;
}

bool TBranchAndBound::Explore(std::vector<int64_t>& penalties, int64_t inherited, long double share)
{
    if (FSubproblems >= FMaxSubproblems || !GoOn(1))
        return false;
    ++FSubproblems;
    const size_t at = FPath.size();
    FPath.push_back({inherited, 1});
    const bool root = at == 0;
    int32_t iterations = root ? RootIterationsPerPoint * FCount : std::max(MinChildIterations, FCount / 3);
    double step = root ? RootStep : ChildStep;
    int64_t bound = inherited;
    bool closed = false;
    for (int32_t round = 0; !closed; ++round) {
        int64_t value = 0;
        if (!Ascend(penalties, iterations, step, value)) {
            closed = true;
            break;
        }
        bound = std::max(bound, value);
        FPath[at].Bound = bound;
        if (FTree.IsRing())
            Offer(FTree.RingRoute());
        if (Closed(bound))
            break;
        bool changed = false;
        if (!RuleOut(penalties, changed)) {
            closed = true;
            break;
        }
        if (FRules.Complete()) {
            Offer(ForcedRoute());
            closed = true;
            break;
        }
        // Routes of whole legs only add up exactly.
        if (FRules.NonWholeLeft() == 0 && bound >= FWholeCloseAt) {
            closed = true;
            break;
        }
        if (!changed || round + 1 >= MaxRounds)
            break;
        iterations = MinChildIterations;
        step = ChildStep;
    }
    if (!closed && Closed(bound))
        closed = true;
    // The rules may have changed since the last tree.
    if (!closed && !FTree.Build(FRules, penalties))
        closed = true;
    if (closed) {
        FShareDone += share;
        FPath.pop_back();
        return true;
    }

    const std::vector<std::vector<TChoice>> branches = Branches(penalties);
    const long double childShare = share / static_cast<long double>(branches.size());
    FPath[at].Pending = static_cast<int32_t>(branches.size());
    for (const std::vector<TChoice>& branch : branches) {
        const size_t mark = FRules.Mark();
        bool ok = true;
        for (const TChoice& choice : branch) {
            ok = choice.Force ? FRules.Force(choice.A, choice.B) : FRules.Exclude(choice.A, choice.B);
            if (!ok)
                break;
        }
        bool goOn = true;
        if (ok) {
            std::vector<int64_t> childPenalties = penalties;
            goOn = Explore(childPenalties, FPath[at].Bound, childShare);
        } else {
            FShareDone += childShare;
        }
        // After a stop the open subproblems stay on the path for the bound.
        if (!goOn)
            return false;
        FRules.Undo(mark);
        --FPath[at].Pending;
        // A better route found below may close this subproblem's rest.
        if (Closed(FPath[at].Bound)) {
            FShareDone += childShare * FPath[at].Pending;
            break;
        }
    }
    FPath.pop_back();
    return true;
}

bool TBranchAndBound::Ascend(std::vector<int64_t>& penalties, int32_t iterations, double step, int64_t& bound)
{
    const int32_t n = FCount;
    const int64_t limit = FLegs.PenaltyLimit();
    int64_t best = std::numeric_limits<int64_t>::min();
    std::vector<int64_t> bestPenalties = penalties;
    // The step halves after this many steps without a better bound.
    const int32_t patience = std::max(3, std::min(n / 4, 20));
    int32_t sinceBest = 0;
    for (int32_t iteration = 0; iteration < iterations; ++iteration) {
        if (!FTree.Build(FRules, penalties))
            return false;
        const int64_t value = FTree.Value();
        if (value > best) {
            best = value;
            bestPenalties = penalties;
            sinceBest = 0;
        } else if (++sinceBest >= patience) {
            step /= 2;
            sinceBest = 0;
        }
        // A ring is the best route of the subproblem: no penalty beats it.
        if (best >= FCloseAt || FTree.IsRing() || step < 1e-6)
            break;
        int64_t squaredNorm = 0;
        for (int32_t v = 0; v < n; ++v) {
            const int64_t slope = FTree.Degree(v) - 2;
            squaredNorm += slope * slope;
        }
        const double distance = static_cast<double>(FCloseAt - value);
        const double size = step * std::max(distance, 1.0) / static_cast<double>(squaredNorm);
        for (int32_t v = 0; v < n; ++v) {
            const int32_t slope = FTree.Degree(v) - 2;
            if (slope != 0)
                penalties[v] = std::clamp<int64_t>(penalties[v] + std::llround(size * slope), -limit, limit);
        }
        if (!GoOn(0))
            break;
    }
    penalties = bestPenalties;
    bound = best;
    return FTree.Build(FRules, penalties);
}

bool TBranchAndBound::RuleOut(const std::vector<int64_t>& penalties, bool& changed)
{
    FTree.Rises(FRules, penalties, FRise);
    const int32_t nodes = FCount + 1;
    const int64_t value = FTree.Value();
    for (int32_t a = 0; a < nodes; ++a) {
        for (int32_t b = a + 1; b < nodes; ++b) {
            if (FRules.State(a, b) != TEdgeRules::esFree)
                continue;
            const int64_t rise = FRise[static_cast<size_t>(a) * nodes + b];
            // No 1-tree can take the edge, or every one that does is too
            // heavy for a shorter route.
            if (rise < 0 || value + rise >= FCloseAt) {
                changed = true;
                if (!FRules.Exclude(a, b))
                    return false;
            }
        }
    }
    return true;
}

std::vector<std::vector<TBranchAndBound::TChoice>> TBranchAndBound::Branches(
    const std::vector<int64_t>& penalties) const
{
    const int32_t n = FCount;
    const int32_t gap = n;
    int32_t split = -1;
    for (int32_t v = 0; v < n; ++v)
        if (FTree.Degree(v) > 2 && (split < 0 || FTree.Degree(v) > FTree.Degree(split)))
            split = v;

    // The free edges of the 1-tree at a point, heaviest first.
    auto freeEdgesAt = [&](int32_t v) {
        std::vector<std::pair<int64_t, int32_t>> edges;
        auto add = [&](int32_t u, int64_t weight) {
            if (FRules.State(v, u) == TEdgeRules::esFree)
                edges.emplace_back(weight, u);
        };
        if (FTree.Parent(v) >= 0)
            add(FTree.Parent(v), FTree.Weight(v, FTree.Parent(v), penalties));
        for (int32_t u = 0; u < n; ++u)
            if (FTree.Parent(u) == v)
                add(u, FTree.Weight(v, u, penalties));
        if (FTree.GapEnd(0) == v || FTree.GapEnd(1) == v)
            add(gap, penalties[v]);
        std::sort(edges.begin(), edges.end(), [](const auto& x, const auto& y) {
            return x.first > y.first || (x.first == y.first && x.second < y.second);
        });
        return edges;
    };

    if (split >= 0) {
        const auto edges = freeEdgesAt(split);
        const int32_t first = edges[0].second;
        if (FRules.ForcedDegree(split) == 0 && edges.size() >= 2) {
            const int32_t second = edges[1].second;
            return {{{split, first, false}},
                    {{split, first, true}, {split, second, false}},
                    {{split, first, true}, {split, second, true}}};
        }
        return {{{split, first, false}}, {{split, first, true}}};
    }
    // A ring that did not close the subproblem (routes as long as the best
    // to the last unit): one of its free edges is left out, or kept.
    int32_t bestA = -1;
    int32_t bestB = -1;
    int64_t heaviest = std::numeric_limits<int64_t>::min();
    for (int32_t v = 0; v < n; ++v) {
        for (const auto& [weight, u] : freeEdgesAt(v)) {
            if (weight > heaviest) {
                heaviest = weight;
                bestA = v;
                bestB = u;
            }
        }
    }
    return {{{bestA, bestB, false}}, {{bestA, bestB, true}}};
}

std::vector<int32_t> TBranchAndBound::ForcedRoute() const
{
    const int32_t gap = FCount;
    std::vector<int32_t> route;
    int32_t previous = gap;
    int32_t at = -1;
    for (int32_t v = 0; v < FCount && at < 0; ++v)
        if (FRules.State(gap, v) == TEdgeRules::esForced)
            at = v;
    while (at >= 0 && at != gap) {
        route.push_back(at);
        int32_t following = -1;
        for (int32_t v = 0; v <= FCount && following < 0; ++v)
            if (v != previous && v != at && FRules.State(at, v) == TEdgeRules::esForced)
                following = v;
        previous = at;
        at = following;
    }
    return route;
}

void TBranchAndBound::Offer(std::vector<int32_t> route)
{
    if (static_cast<int32_t>(route.size()) != FCount)
        return;
    if (FStart >= 0 && route[0] != FStart)
        std::reverse(route.begin(), route.end());
    double length = Measure(route, FBestLength);
    if (FStart < 0) {
        std::vector<int32_t> reversed(route.rbegin(), route.rend());
        const double reversedLength = Measure(reversed, std::min(length, FBestLength));
        if (reversedLength < length) {
            route.swap(reversed);
            length = reversedLength;
        }
    }
    if (length < FBestLength) {
        SetBest(route, length);
        if (FImproved)
            FImproved();
    }
}

double TBranchAndBound::LowerBound() const
{
    if (FFinished)
        return FBestLength;
    int64_t least = std::numeric_limits<int64_t>::max();
    for (const TOpen& open : FPath)
        if (open.Pending > 0)
            least = std::min(least, open.Bound);
    if (least == std::numeric_limits<int64_t>::max())
        return FBestLength;
    // Every route's legs sum to at least the bound, and its length comes
    // out at least that sum less the roundings' share.
    const long double floor = FLegs.Length(least) / (1.0L + RoundingShareOf(FRoundings));
    double value = static_cast<double>(floor);
    if (value > floor)
        value = std::nextafter(value, 0.0);
    return std::clamp(value, 0.0, FBestLength);
}

int64_t TBranchAndBound::OpenSubproblems() const
{
    int64_t open = 0;
    for (const TOpen& entry : FPath)
        open += entry.Pending;
    return open;
}
