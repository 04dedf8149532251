#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"

// Cells of the exact method's table: one for every subset of the points and
// every point of it, n * 2^(n - 1) in all.
uint64_t HeldKarpCellCount(int32_t pointCount);

// The value table of the exact method: for every subset S of the points and
// every point j of S, the length of the shortest route over S that ends at
// j. Lengths grow leg by leg with AddLeg from the route's start, so they are
// RouteLength's lengths, and rounding never lets a longer prefix win (AddLeg
// is monotone in the sum), so the table's minimum is the least RouteLength
// of all routes.
//
// Subsets are numbered by their bit masks, and each has a row with one cell
// per point in it, in the order of the points; the rows follow each other in
// the order of the masks.
//
// A subset needs only subsets with one point less. Split by their high
// bits into blocks, those come earlier in its own block or lie in blocks
// with one high bit less. Blocks whose high bits count the same form a
// layer; the blocks of a layer can be filled at the same time once the
// layers before them are done.
class THeldKarpTable {
public:
    // startPoint in the set fixes the route's start; -1 leaves it free.
    THeldKarpTable(const TPointArray& points, int32_t startPoint);
    ~THeldKarpTable();
    THeldKarpTable(const THeldKarpTable&) = delete;
    THeldKarpTable& operator=(const THeldKarpTable&) = delete;

    // Takes the memory of the table; false when the system has none to give.
    bool Allocate();

    // The blocks to fill, layer after layer (blocks that hold no subset a
    // route with the fixed start can use are left out).
    const std::vector<uint32_t>& Blocks() const { return FBlocks; }
    // One past the last index into Blocks() of each layer.
    const std::vector<size_t>& LayerEnds() const { return FLayerEnds; }

    // Fills one block; the layers before its own must be complete.
    void FillBlock(uint32_t block);

    // A shortest route, read back from the complete table.
    TSpecimen Route() const;

    // Gives the table's memory back piece by piece, calling between() after
    // each piece: the system takes tens of milliseconds per gigabyte.
    void Release(const std::function<void()>& between);

private:
    double Leg(int32_t from, int32_t to) const { return FLegs[static_cast<size_t>(from) * FCount + to]; }
    const double* RowWithout(uint64_t subset, uint64_t row, int32_t point) const;
    double BestEnding(uint64_t subset, uint64_t row, int32_t last) const;

    int32_t FCount;
    int32_t FStart;
    int32_t FBlockBits;
    std::vector<double> FLegs;
    std::vector<uint32_t> FBlocks;
    std::vector<size_t> FLayerEnds;
    double* FValues = nullptr;
    size_t FBytes = 0;
};
