#include "search/neighbours/candidate_graph.h"

#include <algorithm>
#include <cmath>

#include "search/neighbours/point_tree.h"

namespace {

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

bool BuildCandidateGraph(const TLegMeter& legs, int32_t neighbourCount,
                         const std::vector<std::pair<int32_t, int32_t>>& extraEdges, TCandidateGraph& graph,
                         const std::function<bool()>& goOn)
{
    const int32_t n = legs.Count();
    std::vector<std::pair<int32_t, int32_t>> edges = extraEdges;
    if (n > 1) {
        const TPointTree tree(legs.PlaneX(), legs.PlaneY());
        const int32_t count = std::min(neighbourCount, n - 1);
        std::vector<TNeighbour> nearest;
        for (int32_t i = 0; i < n; ++i) {
            tree.Nearest(i, count, nearest);
            for (const TNeighbour& neighbour : nearest)
                edges.emplace_back(i, neighbour.Point);
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
        const double length = legs.Leg(b, a);
        graph.Targets[fill[a]] = b;
        graph.Lengths[fill[a]++] = length;
        graph.Targets[fill[b]] = a;
        graph.Lengths[fill[b]++] = length;
    }
    return true;
}
