#include "search/cut/tour_cut.h"

#include <algorithm>

bool ValidTourCut(const TTourCut& cut, int32_t nodes)
{
    if (cut.Sets.empty() || cut.Sets.size() > TCutMarks::MaxSets)
        return false;
    std::vector<uint8_t> seen(static_cast<size_t>(nodes), 0);
    for (const std::vector<int32_t>& set : cut.Sets) {
        if (set.empty() || static_cast<int32_t>(set.size()) >= nodes || !std::is_sorted(set.begin(), set.end()) ||
            std::adjacent_find(set.begin(), set.end()) != set.end() || set.front() < 0 || set.back() >= nodes)
            return false;
    }
    const size_t teeth = cut.Sets.size() - 1;
    if (teeth == 0)
        return cut.Rhs == 2;
    if (teeth % 2 == 0 || cut.Rhs != 3 * static_cast<int32_t>(teeth) + 1)
        return false;
    const std::vector<int32_t>& handle = cut.Sets[0];
    auto inHandle = [&](int32_t node) { return std::binary_search(handle.begin(), handle.end(), node); };
    // Teeth of two nodes, one in the handle, may share nodes: every tour
    // keeps x(δ(H)) - 2 x(F) >= 1 - |F| for an odd set F of edges leaving
    // H (two edges at each node, each edge 0 or 1), which these sets write
    // with x(δ({u, v})) = 4 - 2 x(uv).
    bool pairs = true;
    for (size_t t = 1; t < cut.Sets.size(); ++t)
        pairs = pairs && cut.Sets[t].size() == 2 && inHandle(cut.Sets[t][0]) != inHandle(cut.Sets[t][1]);
    if (pairs) {
        std::vector<std::vector<int32_t>> edges(cut.Sets.begin() + 1, cut.Sets.end());
        std::sort(edges.begin(), edges.end());
        return std::adjacent_find(edges.begin(), edges.end()) == edges.end();
    }
    if (teeth < 3)
        return false;
    for (size_t t = 1; t < cut.Sets.size(); ++t) {
        bool in = false;
        bool out = false;
        for (const int32_t node : cut.Sets[t]) {
            if (seen[static_cast<size_t>(node)])
                return false;
            seen[static_cast<size_t>(node)] = 1;
            (inHandle(node) ? in : out) = true;
        }
        if (!in || !out)
            return false;
    }
    return true;
}

int32_t CutCoefficient(const TTourCut& cut, int32_t a, int32_t b)
{
    int32_t count = 0;
    for (const std::vector<int32_t>& set : cut.Sets) {
        const bool hasA = std::binary_search(set.begin(), set.end(), a);
        const bool hasB = std::binary_search(set.begin(), set.end(), b);
        count += hasA != hasB ? 1 : 0;
    }
    return count;
}

void TCutMarks::Mark(const TTourCut& cut)
{
    for (size_t s = 0; s < cut.Sets.size() && s < MaxSets; ++s)
        for (const int32_t node : cut.Sets[s])
            FMarks[static_cast<size_t>(node)] |= uint32_t{1} << s;
}

void TCutMarks::Clear(const TTourCut& cut)
{
    for (const std::vector<int32_t>& set : cut.Sets)
        for (const int32_t node : set)
            FMarks[static_cast<size_t>(node)] = 0;
}

double CutLeftSide(const TTourCut& cut, const std::vector<TEdgeValue>& point, int32_t nodes)
{
    TCutMarks marks(nodes);
    marks.Mark(cut);
    double sum = 0;
    for (const TEdgeValue& edge : point)
        sum += edge.X * marks.Coefficient(edge.A, edge.B);
    return sum;
}

TPointEdges::TPointEdges(const std::vector<TEdgeValue>& point, int32_t nodes)
    : FAround(static_cast<size_t>(nodes)), FMark(static_cast<size_t>(nodes), 0)
{
    for (const TEdgeValue& edge : point) {
        FAround[static_cast<size_t>(edge.A)].emplace_back(edge.B, edge.X);
        FAround[static_cast<size_t>(edge.B)].emplace_back(edge.A, edge.X);
    }
}

double TPointEdges::LeftSide(const TTourCut& cut)
{
    double sum = 0;
    for (const std::vector<int32_t>& set : cut.Sets) {
        for (const int32_t node : set)
            FMark[static_cast<size_t>(node)] = 1;
        for (const int32_t node : set)
            for (const auto& [other, x] : FAround[static_cast<size_t>(node)])
                if (!FMark[static_cast<size_t>(other)])
                    sum += x;
        for (const int32_t node : set)
            FMark[static_cast<size_t>(node)] = 0;
    }
    return sum;
}
