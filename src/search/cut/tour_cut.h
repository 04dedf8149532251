#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

// An inequality every tour of the nodes keeps, written by node sets: the
// edges that leave the sets, each counted once per set it leaves, add up to
// at least Rhs. A subtour cut has one set and Rhs 2 (a tour enters and
// leaves every set of nodes); a comb has its handle and an odd number of
// teeth, and Rhs three times the teeth and one.
struct TTourCut {
    // Each set sorted, of at least one node and fewer than all.
    std::vector<std::vector<int32_t>> Sets;
    int32_t Rhs = 2;
};

// Whether the cut is one that every tour of so many nodes keeps: a subtour
// cut (one set, neither empty nor every node, Rhs 2), a blossom (a handle
// of the same kind and an odd number of distinct edges leaving it as
// teeth, Rhs three times the teeth and one), or a comb (a handle and an
// odd number, at least three, of teeth that do not meet, each with nodes
// both in and out of the handle, the same Rhs). Cuts are checked before they go into the programme, so a
// fault in finding them can cost time, never a proof.
bool ValidTourCut(const TTourCut& cut, int32_t nodes);

// How often the edge between a and b leaves the cut's sets.
int32_t CutCoefficient(const TTourCut& cut, int32_t a, int32_t b);

// A node's membership of each set of one cut, kept in a scratch array, so
// that many edges are weighed against one cut quickly.
class TCutMarks {
public:
    explicit TCutMarks(int32_t nodes) : FMarks(static_cast<size_t>(nodes), 0) {}
    void Mark(const TTourCut& cut);
    void Clear(const TTourCut& cut);
    // As CutCoefficient for the marked cut.
    int32_t Coefficient(int32_t a, int32_t b) const
    {
        const uint32_t x = FMarks[static_cast<size_t>(a)] ^ FMarks[static_cast<size_t>(b)];
        return std::popcount(x);
    }
    // Whether the marked cut has more sets than the marks can tell apart.
    static constexpr size_t MaxSets = 32;

private:
    std::vector<uint32_t> FMarks;
};

// A fractional point as edges with their values.
struct TEdgeValue {
    int32_t A = 0;
    int32_t B = 0;
    double X = 0.0;
};

// The left-hand side of the cut at the point.
double CutLeftSide(const TTourCut& cut, const std::vector<TEdgeValue>& point, int32_t nodes);

// The point's edges around each node, for weighing many cuts against one
// point: each cut costs the edges around its sets' nodes.
class TPointEdges {
public:
    TPointEdges(const std::vector<TEdgeValue>& point, int32_t nodes);
    // As CutLeftSide.
    double LeftSide(const TTourCut& cut);

private:
    std::vector<std::vector<std::pair<int32_t, double>>> FAround;
    std::vector<uint8_t> FMark;
};
