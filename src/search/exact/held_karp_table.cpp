#include "search/exact/held_karp_table.h"

#include <sys/mman.h>

#include <algorithm>
#include <bit>
#include <limits>

namespace {

constexpr double Unreachable = std::numeric_limits<double>::infinity();

// Blocks of 2^13 subsets keep a block's work near a few milliseconds at 25
// points (a stop is noticed between blocks) and give each layer enough
// blocks to share between the cores. Small sets get smaller blocks, so that
// they too have layers of several blocks.
int32_t BlockBitsFor(int32_t n)
{
    return std::clamp(n - 8, 0, 13);
}

// Where the row of a subset starts: the number of cells of all smaller
// masks. Each set bit b, with `above` set bits over it, stands for the 2^b
// smaller masks that share the bits above b and clear b: `above` cells each
// for those bits, and b * 2^(b - 1) for the bits below b.
uint64_t RowStart(uint64_t subset)
{
    uint64_t start = 0;
    uint64_t above = static_cast<uint64_t>(std::popcount(subset));
    for (uint64_t rest = subset; rest != 0; rest &= rest - 1) {
        const int32_t b = std::countr_zero(rest);
        --above;
        start += (above << b) + ((static_cast<uint64_t>(b) << b) >> 1);
    }
    return start;
}

}  // namespace

uint64_t HeldKarpCellCount(int32_t pointCount)
{
    return pointCount <= 0 ? 0 : (static_cast<uint64_t>(pointCount) << pointCount) >> 1;
}

THeldKarpTable::THeldKarpTable(const TPointArray& points, int32_t startPoint)
    : FCount(static_cast<int32_t>(points.size())),
      FStart(startPoint >= 0 && startPoint < FCount ? startPoint : -1),
      FBlockBits(BlockBitsFor(FCount))
{
    const size_t n = static_cast<size_t>(FCount);
    FLegs.resize(n * n);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j)
            FLegs[i * n + j] = MapHypot(static_cast<int64_t>(points[j].X) - points[i].X,
                                        static_cast<int64_t>(points[j].Y) - points[i].Y);

    const int32_t highBits = FCount - FBlockBits;
    const int32_t startHigh = FStart - FBlockBits;
    for (int32_t layer = 0; layer <= highBits; ++layer) {
        for (uint32_t block = 0; block < (uint32_t{1} << highBits); ++block) {
            if (std::popcount(block) != layer)
                continue;
            if (startHigh >= 0 && (block >> startHigh & 1u) == 0)
                continue;
            FBlocks.push_back(block);
        }
        FLayerEnds.push_back(FBlocks.size());
    }
}

THeldKarpTable::~THeldKarpTable()
{
    if (FValues != nullptr)
        munmap(FValues, FBytes);
}

bool THeldKarpTable::Allocate()
{
    // Mapped on its own, so that it can go back to the system in pieces.
    // Only cells a route can reach are ever written, and never read before
    // that. Large pages would spare the processor page walks, but once a
    // process asks for them the system stalls its later work now and then
    // for tens of milliseconds.
    const size_t bytes = HeldKarpCellCount(FCount) * sizeof(double);
    void* values = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (values == MAP_FAILED)
        return false;
    FValues = static_cast<double*>(values);
    FBytes = bytes;
    return true;
}

void THeldKarpTable::Release(const std::function<void()>& between)
{
    constexpr size_t PieceBytes = size_t{32} << 20;
    char* const base = reinterpret_cast<char*>(FValues);
    FValues = nullptr;
    if (base == nullptr)
        return;
    for (size_t offset = 0; offset < FBytes; offset += PieceBytes) {
        munmap(base + offset, std::min(PieceBytes, FBytes - offset));
        between();
    }
}

// The row of the subset less one of its points, from the subset's own row:
// the masks between the two are those that keep the bits above the point
// and have it set, each with the bits above, the point itself, and the
// bits below in every combination.
const double* THeldKarpTable::RowWithout(uint64_t subset, uint64_t row, int32_t point) const
{
    const uint64_t above = static_cast<uint64_t>(std::popcount(subset >> point >> 1));
    const uint64_t below = subset & ((uint64_t{1} << point) - 1);
    return FValues + (row - (above << point) - ((static_cast<uint64_t>(point) << point) >> 1) - below);
}

double THeldKarpTable::BestEnding(uint64_t subset, uint64_t row, int32_t last) const
{
    const double* prefix = RowWithout(subset, row, last);
    // MapHypot is symmetric bit for bit, so the row of the last point holds
    // the legs into it.
    const double* legs = FLegs.data() + static_cast<size_t>(last) * FCount;
    double best = Unreachable;
    int32_t cell = 0;
    for (uint64_t rest = subset & ~(uint64_t{1} << last); rest != 0; rest &= rest - 1) {
        const double length = AddLeg(prefix[cell++], legs[std::countr_zero(rest)]);
        if (length < best)
            best = length;
    }
    return best;
}

void THeldKarpTable::FillBlock(uint32_t block)
{
    const uint64_t first = static_cast<uint64_t>(block) << FBlockBits;
    const uint64_t size = uint64_t{1} << FBlockBits;
    uint64_t row = RowStart(first);
    for (uint64_t subset = first; subset < first + size; row += std::popcount(subset), ++subset) {
        if (subset == 0)
            continue;
        if (FStart >= 0 && (subset >> FStart & 1u) == 0)
            continue;
        double* cells = FValues + row;
        if ((subset & (subset - 1)) == 0) {
            const int32_t only = std::countr_zero(subset);
            cells[0] = FStart < 0 || only == FStart ? 0.0 : Unreachable;
            continue;
        }
        int32_t cell = 0;
        for (uint64_t rest = subset; rest != 0; rest &= rest - 1) {
            const int32_t last = std::countr_zero(rest);
            // A fixed start never ends a route of two or more points.
            cells[cell++] = last == FStart ? Unreachable : BestEnding(subset, row, last);
        }
    }
}

TSpecimen THeldKarpTable::Route() const
{
    TSpecimen route(static_cast<size_t>(FCount));
    if (FCount == 0)
        return route;
    uint64_t subset = (uint64_t{1} << FCount) - 1;
    uint64_t row = RowStart(subset);
    const double* full = FValues + row;
    int32_t last = static_cast<int32_t>(std::min_element(full, full + FCount) - full);
    // Walking back, the predecessor is the point whose prefix and leg give
    // the least sum: the same sums, in the same order, as when the cell was
    // filled, so the route keeps the cell's length exactly.
    for (int32_t position = FCount - 1; position > 0; --position) {
        route[position] = last;
        const double* prefix = RowWithout(subset, row, last);
        row = static_cast<uint64_t>(prefix - FValues);
        subset &= ~(uint64_t{1} << last);
        int32_t from = -1;
        double best = Unreachable;
        int32_t cell = 0;
        for (uint64_t rest = subset; rest != 0; rest &= rest - 1) {
            const int32_t i = std::countr_zero(rest);
            const double length = AddLeg(prefix[cell++], Leg(i, last));
            if (from < 0 || length < best) {
                from = i;
                best = length;
            }
        }
        last = from;
    }
    route[0] = last;
    return route;
}
