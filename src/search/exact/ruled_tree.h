#pragma once

#include <cstdint>
#include <vector>

#include "search/exact/edge_rules.h"
#include "search/exact/fixed_legs.h"

// The least 1-tree of a subproblem under point penalties, in the units of
// TFixedLegs: a spanning tree of the points that holds every forced edge and
// no excluded one, and the gap's two edges (its forced ones, then the
// points with the least penalties). Edge (a, b) weighs its leg plus both
// penalties, the gap's edges the point's penalty alone; the 1-tree's weight
// less twice all penalties is no more than the legs of any route of the
// subproblem, to the unit.
class TRuledTree {
public:
    explicit TRuledTree(const TFixedLegs& legs);

    // false when no 1-tree keeps the rules (the points fall apart, or the
    // gap has too few edges left): the subproblem holds no route.
    bool Build(const TEdgeRules& rules, const std::vector<int64_t>& penalties);

    int64_t Value() const { return FValue; }
    int32_t Degree(int32_t node) const { return FDegrees[node]; }
    // The point each point hangs from in the spanning tree; -1 at its root.
    int32_t Parent(int32_t point) const { return FParents[point]; }
    int32_t GapEnd(int32_t k) const { return FGapEnds[k]; }
    // Every node has two edges: the 1-tree is a ring through all nodes.
    bool IsRing() const;
    // The ring as a route from one of the gap's ends to the other.
    std::vector<int32_t> RingRoute() const;

    // For every free edge outside the 1-tree, how much heavier the least
    // 1-tree that holds it is; -1 for an edge no such 1-tree can take.
    // Fills rise(a, b) for a < b, nodes * nodes.
    void Rises(const TEdgeRules& rules, const std::vector<int64_t>& penalties, std::vector<int64_t>& rise) const;

    int64_t Weight(int32_t a, int32_t b, const std::vector<int64_t>& penalties) const
    {
        return FLegs.Leg(a, b) + penalties[a] + penalties[b];
    }

private:
    const TFixedLegs& FLegs;
    int32_t FCount;
    int64_t FValue = 0;
    std::vector<int32_t> FDegrees;
    std::vector<int32_t> FParents;
    int32_t FGapEnds[2] = {-1, -1};
    std::vector<int64_t> FKeys;
    std::vector<uint8_t> FInside;
};
