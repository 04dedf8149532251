#include "search/cut/path_combs.h"

#include <algorithm>
#include <map>
#include <utility>

#include "search/cut/cut_separation.h"
#include "search/cut/node_union.h"

namespace {

// Edges at or above this value are taken for 1.
constexpr double OneValue = 1.0 - 1e-9;

// The paths of edges at 1 and the sets made of them as numbered groups:
// the group of every node.
std::vector<int32_t> PathGroups(const std::vector<TEdgeValue>& point, int32_t nodes,
                                const std::vector<std::vector<int32_t>>& sets, int32_t& groups)
{
    TNodeUnion parts(nodes);
    for (const TEdgeValue& edge : point)
        if (edge.X >= OneValue)
            parts.Join(edge.A, edge.B);
    // Each set taken whole that is made of whole groups so far, the
    // smaller first.
    std::vector<const std::vector<int32_t>*> order;
    for (const std::vector<int32_t>& set : sets)
        if (set.size() >= 2 && 2 * set.size() <= static_cast<size_t>(nodes))
            order.push_back(&set);
    std::stable_sort(order.begin(), order.end(), [](const auto* x, const auto* y) { return x->size() < y->size(); });
    std::vector<int32_t> size(static_cast<size_t>(nodes), 0);
    for (const std::vector<int32_t>* set : order) {
        std::fill(size.begin(), size.end(), 0);
        for (int32_t v = 0; v < nodes; ++v)
            ++size[static_cast<size_t>(parts.Find(v))];
        int32_t inside = 0;
        std::vector<int32_t> roots;
        for (const int32_t v : *set) {
            const int32_t root = parts.Find(v);
            if (--size[static_cast<size_t>(root)] == 0)
                ++inside;
            roots.push_back(root);
        }
        std::sort(roots.begin(), roots.end());
        roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
        if (inside != static_cast<int32_t>(roots.size()) || roots.size() < 2)
            continue;
        for (const int32_t root : roots)
            parts.Join(root, roots.front());
    }
    std::vector<int32_t> group(static_cast<size_t>(nodes), -1);
    groups = 0;
    for (int32_t v = 0; v < nodes; ++v) {
        const int32_t root = parts.Find(v);
        if (group[static_cast<size_t>(root)] < 0)
            group[static_cast<size_t>(root)] = groups++;
        group[static_cast<size_t>(v)] = group[static_cast<size_t>(root)];
    }
    return group;
}

}  // namespace

std::vector<TTourCut> PathCombCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                   const std::function<bool()>& goOn, const std::vector<std::vector<int32_t>>& sets)
{
    int32_t groups = 0;
    const std::vector<int32_t> group = PathGroups(point, nodes, sets, groups);
    // Nothing shrinks: the blossoms of the point itself are all there is.
    if (groups == nodes || groups < 3)
        return {};
    // The edges between two paths as one, their values added up.
    std::map<std::pair<int32_t, int32_t>, double> joined;
    for (const TEdgeValue& edge : point) {
        const int32_t a = group[static_cast<size_t>(edge.A)];
        const int32_t b = group[static_cast<size_t>(edge.B)];
        if (a != b)
            joined[{std::min(a, b), std::max(a, b)}] += edge.X;
    }
    std::vector<TEdgeValue> shrunk;
    for (const auto& [ends, x] : joined)
        shrunk.push_back({ends.first, ends.second, std::min(x, 1.0)});
    std::vector<std::vector<int32_t>> members(static_cast<size_t>(groups));
    for (int32_t v = 0; v < nodes; ++v)
        members[static_cast<size_t>(group[static_cast<size_t>(v)])].push_back(v);

    std::vector<std::pair<double, TTourCut>> found;
    for (const TTourCut& small : ExactBlossomCuts(shrunk, groups, 4 * maxCuts, goOn)) {
        TTourCut cut;
        cut.Rhs = small.Rhs;
        std::vector<uint8_t> used(static_cast<size_t>(groups), 0);
        bool apart = true;
        for (const std::vector<int32_t>& set : small.Sets) {
            std::vector<int32_t> grown;
            for (const int32_t g : set) {
                const std::vector<int32_t>& path = members[static_cast<size_t>(g)];
                grown.insert(grown.end(), path.begin(), path.end());
                // Teeth that share a path would overlap once grown.
                if (!cut.Sets.empty()) {
                    apart = apart && !used[static_cast<size_t>(g)];
                    used[static_cast<size_t>(g)] = 1;
                }
            }
            std::sort(grown.begin(), grown.end());
            cut.Sets.push_back(std::move(grown));
        }
        if (!apart || !ValidTourCut(cut, nodes))
            continue;
        const double violation = cut.Rhs - CutLeftSide(cut, point, nodes);
        if (violation > CutViolation)
            found.emplace_back(violation, std::move(cut));
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
    std::vector<TTourCut> cuts;
    for (auto& [violation, cut] : found) {
        if (static_cast<int32_t>(cuts.size()) >= maxCuts)
            break;
        cuts.push_back(std::move(cut));
    }
    return cuts;
}
