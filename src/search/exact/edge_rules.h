#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// What a subproblem of the branch and bound says of each edge between the
// nodes 0 .. nodes - 1 (the points and the gap): free, in every route of the
// subproblem, or in none. Every change is recorded, so that a subproblem's
// changes are taken back when its search ends.
//
// Forcing keeps the forced edges a set of paths: an edge that would close a
// path into a ring before the ring holds every node is ruled out, and a node
// with two forced edges loses its other ones; a node left with two edges
// gets them forced.
class TEdgeRules {
public:
    enum TState : int32_t { esFree = 0, esForced = 1, esExcluded = 2 };

    // nonWhole, nodes * nodes, marks the edges whose leg is not a whole
    // number (see NonWholeLeft).
    TEdgeRules(int32_t nodes, const std::vector<uint8_t>& nonWhole);

    int32_t Nodes() const { return FNodes; }
    TState State(int32_t a, int32_t b) const { return static_cast<TState>(FStates[Index(a, b)]); }
    int32_t ForcedDegree(int32_t node) const { return FForced[node]; }
    int32_t OpenDegree(int32_t node) const { return FOpen[node]; }
    // Edges between points with a leg that is not a whole number, still
    // allowed.
    int32_t NonWholeLeft() const { return FNonWholeLeft; }
    // Whether the forced edges make one ring through every node.
    bool Complete() const { return FForcedEdges == FNodes; }

    // false when the rule can't hold together with the others; the rules
    // are then in an unusable state until Undo.
    bool Force(int32_t a, int32_t b);
    bool Exclude(int32_t a, int32_t b);

    size_t Mark() const { return FTrail.size(); }
    void Undo(size_t mark);

private:
    size_t Index(int32_t a, int32_t b) const { return static_cast<size_t>(a) * FNodes + b; }
    void Set(int32_t& slot, int32_t value);
    bool SetState(int32_t a, int32_t b, TState state);
    bool Settle(int32_t node);

    int32_t FNodes = 0;
    std::vector<int32_t> FStates;
    std::vector<uint8_t> FNonWhole;
    std::vector<int32_t> FForced;
    std::vector<int32_t> FOpen;
    // For a node at the end of a forced path, the path's other end and the
    // path's node count.
    std::vector<int32_t> FOtherEnd;
    std::vector<int32_t> FPathNodes;
    int32_t FNonWholeLeft = 0;
    int32_t FForcedEdges = 0;
    std::vector<std::pair<int32_t*, int32_t>> FTrail;
    std::vector<int32_t> FPending;
};
