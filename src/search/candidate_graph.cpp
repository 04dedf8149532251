#include "search/candidate_graph.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace {

// Points bucketed by cell, about two to a cell, so that the nearest
// neighbours of a point lie in the few rings of cells around its own.
class TPointGrid {
public:
    TPointGrid(const std::vector<double>& x, const std::vector<double>& y) : FX(x), FY(y)
    {
        const int32_t n = static_cast<int32_t>(x.size());
        FMinX = *std::min_element(x.begin(), x.end());
        FMinY = *std::min_element(y.begin(), y.end());
        const double width = *std::max_element(x.begin(), x.end()) - FMinX;
        const double height = *std::max_element(y.begin(), y.end()) - FMinY;
        FCell = std::max(1.0, std::sqrt(std::max(width * height, std::max(width, height)) * 2.0 / n));
        FColumns = static_cast<int32_t>(std::min(width / FCell, 4096.0)) + 1;
        FRows = static_cast<int32_t>(std::min(height / FCell, 4096.0)) + 1;
        // Clamped to the grid, a far point joins the outermost cell.
        FCell = std::max({FCell, width / FColumns, height / FRows});
        FStarts.assign(static_cast<size_t>(FColumns) * FRows + 1, 0);
        for (int32_t i = 0; i < n; ++i)
            ++FStarts[CellOf(i) + 1];
        for (size_t c = 1; c < FStarts.size(); ++c)
            FStarts[c] += FStarts[c - 1];
        FPoints.resize(n);
        std::vector<int32_t> fill(FStarts.begin(), FStarts.end() - 1);
        for (int32_t i = 0; i < n; ++i)
            FPoints[fill[CellOf(i)]++] = i;
    }

    // The count nearest points to point i (itself excluded), nearest first.
    std::vector<int32_t> Nearest(int32_t i, int32_t count) const
    {
        // A max-heap of the best so far: squared distance, then index.
        std::priority_queue<std::pair<double, int32_t>> best;
        const int32_t column = Column(i);
        const int32_t row = Row(i);
        const int32_t maxRing = std::max(FColumns, FRows);
        for (int32_t ring = 0; ring <= maxRing; ++ring) {
            for (int32_t r = row - ring; r <= row + ring; ++r) {
                if (r < 0 || r >= FRows)
                    continue;
                const bool edgeRow = r == row - ring || r == row + ring;
                for (int32_t c = column - ring; c <= column + ring; c += edgeRow ? 1 : 2 * ring) {
                    if (c >= 0 && c < FColumns)
                        Visit(i, static_cast<size_t>(r) * FColumns + c, count, best);
                    if (ring == 0)
                        break;
                }
            }
            // Every point beyond this ring lies at least ring cells away.
            const double reach = ring * FCell;
            if (static_cast<int32_t>(best.size()) == count && best.top().first <= reach * reach)
                break;
        }
        std::vector<int32_t> nearest(best.size());
        for (size_t k = nearest.size(); k-- > 0; best.pop())
            nearest[k] = best.top().second;
        return nearest;
    }

private:
    int32_t Column(int32_t i) const { return std::min(FColumns - 1, static_cast<int32_t>((FX[i] - FMinX) / FCell)); }
    int32_t Row(int32_t i) const { return std::min(FRows - 1, static_cast<int32_t>((FY[i] - FMinY) / FCell)); }
    size_t CellOf(int32_t i) const { return static_cast<size_t>(Row(i)) * FColumns + Column(i); }

    void Visit(int32_t i, size_t cell, int32_t count, std::priority_queue<std::pair<double, int32_t>>& best) const
    {
        for (int32_t k = FStarts[cell]; k < FStarts[cell + 1]; ++k) {
            // Points at the same place as this one: nothing can come nearer.
            if (static_cast<int32_t>(best.size()) == count && best.top().first == 0)
                return;
            const int32_t j = FPoints[k];
            if (j == i)
                continue;
            const double dx = FX[j] - FX[i];
            const double dy = FY[j] - FY[i];
            const std::pair<double, int32_t> entry(dx * dx + dy * dy, j);
            if (static_cast<int32_t>(best.size()) < count) {
                best.push(entry);
            } else if (entry < best.top()) {
                best.pop();
                best.push(entry);
            }
        }
    }

    const std::vector<double>& FX;
    const std::vector<double>& FY;
    double FMinX = 0;
    double FMinY = 0;
    double FCell = 1;
    int32_t FColumns = 1;
    int32_t FRows = 1;
    std::vector<int32_t> FStarts;
    std::vector<int32_t> FPoints;
};

// Each edge once, by its lower end and then its higher end: a counting
// sort by the lower end and a sort of each end's few partners, which takes
// a fraction of one sort of all edges and keeps the host's wait short.
std::vector<std::pair<int32_t, int32_t>> UniqueEdges(const std::vector<std::pair<int32_t, int32_t>>& edges, int32_t n)
{
    std::vector<int32_t> starts(static_cast<size_t>(n) + 1, 0);
    for (const auto& [a, b] : edges)
        ++starts[std::min(a, b) + 1];
    for (int32_t i = 0; i < n; ++i)
        starts[i + 1] += starts[i];
    std::vector<int32_t> partners(edges.size());
    std::vector<int32_t> fill(starts.begin(), starts.end() - 1);
    for (const auto& [a, b] : edges)
        partners[fill[std::min(a, b)]++] = std::max(a, b);
    std::vector<std::pair<int32_t, int32_t>> unique;
    unique.reserve(edges.size());
    for (int32_t a = 0; a < n; ++a) {
        const auto first = partners.begin() + starts[a];
        const auto last = partners.begin() + starts[a + 1];
        std::sort(first, last);
        for (auto b = first; b != last; ++b)
            if (b == first || *b != *(b - 1))
                unique.emplace_back(a, *b);
    }
    return unique;
}

}  // namespace

bool BuildCandidateGraph(const std::vector<double>& x, const std::vector<double>& y, int32_t neighbourCount,
                         const std::vector<std::pair<int32_t, int32_t>>& extraEdges, TCandidateGraph& graph,
                         const std::function<bool()>& goOn)
{
    const int32_t n = static_cast<int32_t>(x.size());
    std::vector<std::pair<int32_t, int32_t>> edges = extraEdges;
    if (n > 1) {
        const TPointGrid grid(x, y);
        const int32_t count = std::min(neighbourCount, n - 1);
        for (int32_t i = 0; i < n; ++i) {
            for (const int32_t j : grid.Nearest(i, count))
                edges.emplace_back(i, j);
            if (goOn && !goOn())
                return false;
        }
    }
    edges = UniqueEdges(edges, n);

    graph = {};
    graph.Starts.assign(static_cast<size_t>(n) + 1, 0);
    for (const auto& [a, b] : edges) {
        ++graph.Starts[a + 1];
        ++graph.Starts[b + 1];
    }
    for (int32_t i = 0; i < n; ++i)
        graph.Starts[i + 1] += graph.Starts[i];
    graph.Targets.resize(2 * edges.size());
    graph.Lengths.resize(2 * edges.size());
    std::vector<int32_t> fill(graph.Starts.begin(), graph.Starts.end() - 1);
    for (const auto& [a, b] : edges) {
        const double length = PlainDistance(x[b] - x[a], y[b] - y[a]);
        graph.Targets[fill[a]] = b;
        graph.Lengths[fill[a]++] = length;
        graph.Targets[fill[b]] = a;
        graph.Lengths[fill[b]++] = length;
    }
    return true;
}
