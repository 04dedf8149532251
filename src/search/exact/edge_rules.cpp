#include "search/exact/edge_rules.h"

TEdgeRules::TEdgeRules(int32_t nodes, const std::vector<uint8_t>& nonWhole)
    : FNodes(nodes),
      FStates(static_cast<size_t>(nodes) * nodes, esFree),
      FNonWhole(nonWhole),
      FForced(nodes, 0),
      FOpen(nodes, nodes - 1),
      FOtherEnd(nodes),
      FPathNodes(nodes, 1)
{
    for (int32_t a = 0; a < nodes; ++a) {
        FOtherEnd[a] = a;
        FStates[Index(a, a)] = esExcluded;
        for (int32_t b = a + 1; b < nodes; ++b)
            FNonWholeLeft += FNonWhole[Index(a, b)];
    }
}

void TEdgeRules::Set(int32_t& slot, int32_t value)
{
    FTrail.emplace_back(&slot, slot);
    slot = value;
}

void TEdgeRules::Undo(size_t mark)
{
    while (FTrail.size() > mark) {
        *FTrail.back().first = FTrail.back().second;
        FTrail.pop_back();
    }
}

bool TEdgeRules::SetState(int32_t a, int32_t b, TState state)
{
    Set(FStates[Index(a, b)], state);
    Set(FStates[Index(b, a)], state);
    if (state == esExcluded) {
        Set(FOpen[a], FOpen[a] - 1);
        Set(FOpen[b], FOpen[b] - 1);
        if (FNonWhole[Index(a, b)])
            Set(FNonWholeLeft, FNonWholeLeft - 1);
    } else {
        Set(FForced[a], FForced[a] + 1);
        Set(FForced[b], FForced[b] + 1);
        Set(FForcedEdges, FForcedEdges + 1);
    }
    FPending.push_back(a);
    FPending.push_back(b);
    return true;
}

bool TEdgeRules::Exclude(int32_t a, int32_t b)
{
    const TState state = State(a, b);
    if (state == esExcluded)
        return true;
    if (state == esForced)
        return false;
    SetState(a, b, esExcluded);
    while (!FPending.empty()) {
        const int32_t node = FPending.back();
        FPending.pop_back();
        if (!Settle(node)) {
            FPending.clear();
            return false;
        }
    }
    return true;
}

bool TEdgeRules::Force(int32_t a, int32_t b)
{
    const TState state = State(a, b);
    if (state == esForced)
        return true;
    if (state == esExcluded || FForced[a] == 2 || FForced[b] == 2)
        return false;
    const int32_t endA = FOtherEnd[a];
    const int32_t endB = FOtherEnd[b];
    const int32_t joined = FPathNodes[a] + FPathNodes[b];
    if (endA == b) {
        // The edge closes the path into a ring: only the ring of all nodes.
        if (FPathNodes[a] != FNodes)
            return false;
        SetState(a, b, esForced);
    } else {
        SetState(a, b, esForced);
        Set(FOtherEnd[endA], endB);
        Set(FOtherEnd[endB], endA);
        Set(FPathNodes[endA], joined);
        Set(FPathNodes[endB], joined);
        // Closing the longer path early would make a ring of too few nodes;
        // once it holds every node its ends must meet.
        // Two lone nodes make a path whose ends are the edge itself.
        const bool lone = endA == a && endB == b;
        const bool ok = lone || (joined < FNodes ? Exclude(endA, endB) : Force(endA, endB));
        if (!ok) {
            FPending.clear();
            return false;
        }
    }
    while (!FPending.empty()) {
        const int32_t node = FPending.back();
        FPending.pop_back();
        if (!Settle(node)) {
            FPending.clear();
            return false;
        }
    }
    return true;
}

// A node needs two edges of a ring: with only two left both are forced,
// and once two are forced the others go.
bool TEdgeRules::Settle(int32_t node)
{
    if (FOpen[node] < 2 || FForced[node] > 2)
        return false;
    if (FOpen[node] == FForced[node])
        return true;
    if (FForced[node] == 2) {
        for (int32_t other = 0; other < FNodes; ++other)
            if (State(node, other) == esFree && !Exclude(node, other))
                return false;
    } else if (FOpen[node] == 2) {
        for (int32_t other = 0; other < FNodes; ++other)
            if (State(node, other) == esFree && !Force(node, other))
                return false;
    }
    return true;
}
