#include "search/exact/ruled_tree.h"

#include <limits>

namespace {

constexpr int64_t Unreached = std::numeric_limits<int64_t>::max();
// Forced edges join before any free one: their keys sit this far lower.
// Weights stay far below it (see TFixedLegs).
constexpr int64_t ForcedShift = int64_t{1} << 61;

}  // namespace

TRuledTree::TRuledTree(const TFixedLegs& legs)
    : FLegs(legs),
      FCount(legs.Count()),
      FDegrees(legs.Count() + 1, 0),
      FParents(legs.Count(), -1),
      FKeys(legs.Count(), Unreached),
      FInside(legs.Count(), 0)
{
}

bool TRuledTree::Build(const TEdgeRules& rules, const std::vector<int64_t>& penalties)
{
    const int32_t n = FCount;
    const int32_t gap = n;
    std::fill(FDegrees.begin(), FDegrees.end(), 0);
    std::fill(FParents.begin(), FParents.end(), -1);
    std::fill(FKeys.begin(), FKeys.end(), Unreached);
    std::fill(FInside.begin(), FInside.end(), 0);
    int64_t value = 0;

    // Prim's algorithm over the points, from point 0.
    int32_t joining = 0;
    for (int32_t joined = 0; joined < n; ++joined) {
        FInside[joining] = 1;
        const int32_t parent = FParents[joining];
        if (parent >= 0) {
            value += Weight(joining, parent, penalties);
            ++FDegrees[joining];
            ++FDegrees[parent];
        }
        int32_t next = -1;
        int64_t nextKey = Unreached;
        for (int32_t v = 0; v < n; ++v) {
            if (FInside[v])
                continue;
            const TEdgeRules::TState state = rules.State(joining, v);
            if (state != TEdgeRules::esExcluded) {
                int64_t key = Weight(joining, v, penalties);
                if (state == TEdgeRules::esForced)
                    key -= ForcedShift;
                if (key < FKeys[v]) {
                    FKeys[v] = key;
                    FParents[v] = joining;
                }
            }
            if (FKeys[v] < nextKey) {
                nextKey = FKeys[v];
                next = v;
            }
        }
        if (joined + 1 < n) {
            if (next < 0)
                return false;
            joining = next;
        }
    }

    // The gap's edges: the forced ones, then the cheapest free ones.
    int32_t ends = 0;
    for (int32_t v = 0; v < n && ends < 2; ++v)
        if (rules.State(gap, v) == TEdgeRules::esForced)
            FGapEnds[ends++] = v;
    while (ends < 2) {
        int32_t best = -1;
        for (int32_t v = 0; v < n; ++v) {
            if (rules.State(gap, v) != TEdgeRules::esFree || (ends == 1 && v == FGapEnds[0]))
                continue;
            if (best < 0 || penalties[v] < penalties[best])
                best = v;
        }
        if (best < 0)
            return false;
        FGapEnds[ends++] = best;
    }
    for (const int32_t end : FGapEnds) {
        value += penalties[end];
        ++FDegrees[end];
    }
    FDegrees[gap] = 2;
    for (int32_t v = 0; v < n; ++v)
        value -= 2 * penalties[v];
    FValue = value;
    return true;
}

bool TRuledTree::IsRing() const
{
    for (const int32_t degree : FDegrees)
        if (degree != 2)
            return false;
    return true;
}

std::vector<int32_t> TRuledTree::RingRoute() const
{
    // With every degree two the spanning tree is a path between the gap's
    // ends.
    std::vector<std::vector<int32_t>> next(FCount);
    for (int32_t v = 0; v < FCount; ++v) {
        if (FParents[v] >= 0) {
            next[v].push_back(FParents[v]);
            next[FParents[v]].push_back(v);
        }
    }
    std::vector<int32_t> route;
    int32_t previous = -1;
    int32_t at = FGapEnds[0];
    while (static_cast<int32_t>(route.size()) < FCount) {
        route.push_back(at);
        int32_t following = -1;
        for (const int32_t v : next[at])
            if (v != previous)
                following = v;
        previous = at;
        at = following;
        if (at < 0)
            break;
    }
    return route;
}

void TRuledTree::Rises(const TEdgeRules& rules, const std::vector<int64_t>& penalties, std::vector<int64_t>& rise) const
{
    const int32_t n = FCount;
    const int32_t nodes = n + 1;
    const int32_t gap = n;
    rise.assign(static_cast<size_t>(nodes) * nodes, -1);
    std::vector<std::vector<int32_t>> around(n);
    for (int32_t v = 0; v < n; ++v) {
        if (FParents[v] >= 0) {
            around[v].push_back(FParents[v]);
            around[FParents[v]].push_back(v);
        }
    }
    // From each point, the heaviest free edge on the tree's path to every
    // other point: the edge that gives way when an edge to it comes in.
    // Forced edges never give way.
    constexpr int64_t NoneFree = std::numeric_limits<int64_t>::min();
    std::vector<int64_t> heaviest(n);
    std::vector<int32_t> stack;
    std::vector<int32_t> from(n);
    for (int32_t a = 0; a < n; ++a) {
        heaviest[a] = NoneFree;
        from[a] = -1;
        stack.assign(1, a);
        while (!stack.empty()) {
            const int32_t u = stack.back();
            stack.pop_back();
            for (const int32_t v : around[u]) {
                if (v == from[u])
                    continue;
                from[v] = u;
                const int64_t weight = rules.State(u, v) == TEdgeRules::esForced ? NoneFree : Weight(u, v, penalties);
                heaviest[v] = std::max(heaviest[u], weight);
                stack.push_back(v);
            }
        }
        for (int32_t b = a + 1; b < n; ++b) {
            if (rules.State(a, b) != TEdgeRules::esFree)
                continue;
            int64_t& slot = rise[static_cast<size_t>(a) * nodes + b];
            if (FParents[a] == b || FParents[b] == a)
                slot = 0;
            else if (heaviest[b] != NoneFree)
                slot = Weight(a, b, penalties) - heaviest[b];
        }
    }
    // A gap edge comes in for the dearer of the gap's free edges.
    int64_t dearestFree = NoneFree;
    for (const int32_t end : FGapEnds)
        if (rules.State(gap, end) == TEdgeRules::esFree)
            dearestFree = std::max(dearestFree, penalties[end]);
    for (int32_t a = 0; a < n; ++a) {
        if (rules.State(a, gap) != TEdgeRules::esFree)
            continue;
        int64_t& slot = rise[static_cast<size_t>(a) * nodes + gap];
        if (a == FGapEnds[0] || a == FGapEnds[1])
            slot = 0;
        else if (dearestFree != NoneFree)
            slot = penalties[a] - dearestFree;
    }
}
