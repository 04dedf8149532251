#include "core/distances.h"

#include <algorithm>

namespace {

// Events run before the matrix is worked on (a point may be added
// meanwhile, and its own rebuild goes first), so n is taken after them.
void BeginComputing(TProgress& progress)
{
    progress.ProcessEvents();
    progress.ShowStatus("Obliczanie odległości...", 0);
}

template <typename TLegOf>
void ComputeCells(int32_t n, TLegOf legOf, TDistanceMatrix& d, TProgress& progress, int32_t start)
{
    TProgressBar& bar = progress.PrBar();
    bar.SetMax(static_cast<int32_t>(static_cast<uint32_t>(n) * static_cast<uint32_t>(n)));
    bar.SetPosition(0);

    d.resize(n);
    for (int32_t i = 0; i < n; ++i)
        d[i].resize(n, 0.0);

    // A cell and its mirror get the same value (the distance is computed
    // the same way from both ends), so each pair is computed once. Tiles
    // keep both the rows and the mirrored columns in the cache; a full
    // matrix of 10 000 points would otherwise miss on every mirrored write.
    const int32_t first = start < 0 ? 0 : start;
    constexpr int32_t TileSize = 64;
    for (int32_t rowTile = 0; rowTile < n; rowTile += TileSize) {
        const int32_t rowEnd = std::min(n, rowTile + TileSize);
        for (int32_t columnTile = rowTile; columnTile < n; columnTile += TileSize) {
            const int32_t columnEnd = std::min(n, columnTile + TileSize);
            if (rowEnd <= first && columnEnd <= first)
                continue;
            int64_t cells = 0;
            for (int32_t i = rowTile; i < rowEnd; ++i) {
                double* row = d[i].data();
                for (int32_t j = std::max(columnTile, i); j < columnEnd; ++j) {
                    if (i < first && j < first)
                        continue;
                    const double distance = j == i ? 0.0 : legOf(i, j);
                    row[j] = distance;
                    d[j][i] = distance;
                    cells += j == i ? 1 : 2;
                }
            }
            // Every computed cell is one step of the bar.
            bar.StepBy(cells);
        }
    }
    bar.SetPosition(0);
}

}  // namespace

void ComputeDistances(const TPointArray& points, TDistanceMatrix& d, TProgress& progress, int32_t start)
{
    BeginComputing(progress);
    ComputeCells(
        static_cast<int32_t>(points.size()),
        [&points](int32_t i, int32_t j) { return PointDistance(points[i], points[j]); }, d, progress, start);
}

void ComputeDistances(const TMeasure& measure, TDistanceMatrix& d, TProgress& progress, int32_t start)
{
    BeginComputing(progress);
    ComputeCells(
        measure.Count(), [&measure](int32_t i, int32_t j) { return measure.Leg(i, j); }, d, progress, start);
}

uint64_t DistanceMatrixBytes(int32_t pointCount)
{
    const auto n = static_cast<uint64_t>(pointCount);
    return n * n * sizeof(double) + n * 48;
}
