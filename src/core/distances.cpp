#include "core/distances.h"

void ComputeDistances(TPointSetState& state, TCoreHost& host, int32_t start)
{
    host.ProcessEvents();
    host.ShowStatus("Obliczanie odległości...", 0);

    const TPointArray& points = state.FPoints;
    const int32_t n = static_cast<int32_t>(points.size());
    TProgressBar& bar = host.PrBar();
    bar.SetMax(static_cast<int32_t>(static_cast<uint32_t>(n) * static_cast<uint32_t>(n)));
    bar.SetPosition(0);

    TDistanceMatrix& d = state.FDistances;
    d.resize(n);
    const int32_t first = start < 0 ? 0 : start;
    for (int32_t i = 0; i < n; ++i) {
        d[i].resize(n, 0.0);
        const int32_t fromColumn = i < first ? first : 0;
        double* row = d[i].data();
        for (int32_t j = fromColumn; j < n; ++j) {
            bar.StepIt();
            // The distance is symmetric and computed the same way from both
            // ends, so a cell below the diagonal takes the value its mirror
            // got earlier in this pass.
            if (j < i) {
                row[j] = d[j][i];
                continue;
            }
            // Differences in 64 bits: points read from a file may lie
            // further apart than a 32-bit difference can hold.
            const int64_t dx = static_cast<int64_t>(points[i].X) - points[j].X;
            const int64_t dy = static_cast<int64_t>(points[i].Y) - points[j].Y;
            row[j] = MapHypot(dx, dy);
        }
    }

    bar.SetPosition(0);
    host.FillDistanceGrid();
    host.ShowStatus("", 0);
}
