#include "search/cut/greedy_tour.h"

#include <array>
#include <limits>
#include <numeric>

#include "search/cut/node_union.h"

std::vector<int32_t> GreedyTour(const TCutGraph& graph, const std::vector<std::pair<int32_t, int32_t>>& preferred)
{
    const int32_t nodes = graph.Nodes();
    if (nodes < 3) {
        std::vector<int32_t> tour(static_cast<size_t>(nodes));
        std::iota(tour.begin(), tour.end(), 0);
        return tour;
    }
    std::vector<std::array<int32_t, 2>> link(static_cast<size_t>(nodes), {-1, -1});
    TNodeUnion parts(nodes);
    auto degree = [&](int32_t v) {
        return (link[static_cast<size_t>(v)][0] >= 0 ? 1 : 0) + (link[static_cast<size_t>(v)][1] >= 0 ? 1 : 0);
    };
    int32_t joined = 0;
    auto join = [&](int32_t a, int32_t b) {
        if (a == b || degree(a) >= 2 || degree(b) >= 2 || parts.Find(a) == parts.Find(b) || !graph.Allowed(a, b))
            return false;
        link[static_cast<size_t>(a)][degree(a)] = b;
        link[static_cast<size_t>(b)][degree(b)] = a;
        parts.Join(a, b);
        ++joined;
        return true;
    };
    for (const auto& [a, b] : graph.KeptEdges())
        join(a, b);
    for (const auto& [a, b] : preferred)
        join(a, b);
    // The paths left, joined from one end to the nearest end of another.
    while (joined < nodes - 1) {
        int32_t from = -1;
        for (int32_t v = 0; v < nodes && from < 0; ++v)
            if (degree(v) < 2)
                from = v;
        int32_t to = -1;
        double cheapest = std::numeric_limits<double>::infinity();
        for (int32_t v = 0; v < nodes; ++v) {
            if (degree(v) >= 2 || parts.Find(v) == parts.Find(from) || !graph.Allowed(from, v))
                continue;
            const double cost = graph.Cost(from, v);
            if (to < 0 || cost < cheapest) {
                to = v;
                cheapest = cost;
            }
        }
        if (to < 0 || !join(from, to))
            return {};
    }
    std::vector<int32_t> tour;
    int32_t previous = -1;
    int32_t at = 0;
    for (int32_t v = 0; v < nodes; ++v)
        if (degree(v) < 2)
            at = v;
    for (int32_t k = 0; k < nodes; ++k) {
        tour.push_back(at);
        const auto& next = link[static_cast<size_t>(at)];
        const int32_t step = next[0] != previous ? next[0] : next[1];
        previous = at;
        at = step;
    }
    // The ring closes between the two ends, which must be allowed to meet.
    if (!graph.Allowed(tour.front(), tour.back()))
        return {};
    return tour;
}
