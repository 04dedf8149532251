#include "search/cut/cut_separation.h"

#include <algorithm>
#include <set>
#include <utility>

#include "search/cut/node_union.h"

namespace {

// Edges below this value are left out of the point's graph.
constexpr double SupportFloor = 1e-9;

// Maximum flows on the point's graph, each edge a pipe of its value both
// ways, by shortest augmenting paths: a flow is cut short at 2, which a
// few paths reach, so each flow costs a few searches of the graph.
class TFlowNet {
public:
    TFlowNet(const std::vector<TEdgeValue>& point, int32_t nodes)
        : FHead(static_cast<size_t>(nodes), -1), FArcIn(static_cast<size_t>(nodes), -1)
    {
        for (const TEdgeValue& edge : point) {
            if (edge.X <= SupportFloor)
                continue;
            Add(edge.A, edge.B, edge.X);
            Add(edge.B, edge.A, edge.X);
        }
        FCapacity = FFull;
        FSide.resize(FHead.size());
        FQueue.reserve(FHead.size());
    }

    // An empty net over so many nodes, for pipes given one by one.
    explicit TFlowNet(int32_t nodes) : FHead(static_cast<size_t>(nodes), -1), FArcIn(static_cast<size_t>(nodes), -1)
    {
        FSide.resize(FHead.size());
        FQueue.reserve(FHead.size());
    }
    void AddPipe(int32_t a, int32_t b, double capacity)
    {
        Add(a, b, capacity);
        Add(b, a, capacity);
        FCapacity = FFull;
    }

    // The flow from s to t, or at least cap; when below cap, Side then
    // tells the nodes left with s.
    double Flow(int32_t s, int32_t t, double cap)
    {
        FCapacity = FFull;
        double total = 0;
        while (total < cap) {
            if (!Search(s, t))
                return total;
            double bottleneck = cap - total;
            for (int32_t v = t; v != s; v = FTo[static_cast<size_t>(FArcIn[static_cast<size_t>(v)] ^ 1)])
                bottleneck = std::min(bottleneck, FCapacity[static_cast<size_t>(FArcIn[static_cast<size_t>(v)])]);
            for (int32_t v = t; v != s; v = FTo[static_cast<size_t>(FArcIn[static_cast<size_t>(v)] ^ 1)]) {
                const int32_t arc = FArcIn[static_cast<size_t>(v)];
                FCapacity[static_cast<size_t>(arc)] -= bottleneck;
                FCapacity[static_cast<size_t>(arc ^ 1)] += bottleneck;
            }
            total += bottleneck;
        }
        return total;
    }
    const std::vector<uint8_t>& Side() const { return FSide; }

private:
    static constexpr double Tiny = 1e-12;

    void Add(int32_t a, int32_t b, double capacity)
    {
        FTo.push_back(b);
        FFull.push_back(capacity);
        FNext.push_back(FHead[static_cast<size_t>(a)]);
        FHead[static_cast<size_t>(a)] = static_cast<int32_t>(FTo.size()) - 1;
    }

    // Breadth first from s along arcs with room; whether t was reached.
    // Side marks what was reached.
    bool Search(int32_t s, int32_t t)
    {
        std::fill(FSide.begin(), FSide.end(), 0);
        FQueue.clear();
        FQueue.push_back(s);
        FSide[static_cast<size_t>(s)] = 1;
        for (size_t head = 0; head < FQueue.size(); ++head) {
            const int32_t u = FQueue[head];
            for (int32_t arc = FHead[static_cast<size_t>(u)]; arc >= 0; arc = FNext[static_cast<size_t>(arc)]) {
                const int32_t v = FTo[static_cast<size_t>(arc)];
                if (FSide[static_cast<size_t>(v)] || FCapacity[static_cast<size_t>(arc)] <= Tiny)
                    continue;
                FSide[static_cast<size_t>(v)] = 1;
                FArcIn[static_cast<size_t>(v)] = arc;
                if (v == t)
                    return true;
                FQueue.push_back(v);
            }
        }
        return false;
    }

    std::vector<int32_t> FHead;
    std::vector<int32_t> FNext;
    std::vector<int32_t> FTo;
    std::vector<double> FFull;
    std::vector<double> FCapacity;
    std::vector<int32_t> FArcIn;
    std::vector<uint8_t> FSide;
    std::vector<int32_t> FQueue;
};

// The cut of one set, stored by its smaller side (both sides have the same
// edges leaving them).
TTourCut SubtourOf(const std::vector<uint8_t>& inside, int32_t nodes)
{
    int32_t count = 0;
    for (const uint8_t in : inside)
        count += in;
    const uint8_t keep = 2 * count <= nodes ? 1 : 0;
    TTourCut cut;
    cut.Sets.emplace_back();
    for (int32_t v = 0; v < nodes; ++v)
        if (inside[static_cast<size_t>(v)] == keep)
            cut.Sets.back().push_back(v);
    cut.Rhs = 2;
    return cut;
}

// The cuts most broken first, at most maxCuts, each set once.
std::vector<TTourCut> Strongest(std::vector<std::pair<double, TTourCut>> found, int32_t maxCuts)
{
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TTourCut> cuts;
    std::set<std::vector<std::vector<int32_t>>> seen;
    for (auto& [violation, cut] : found) {
        if (static_cast<int32_t>(cuts.size()) >= maxCuts)
            break;
        if (seen.insert(cut.Sets).second)
            cuts.push_back(std::move(cut));
    }
    return cuts;
}

}  // namespace

std::vector<TTourCut> PartCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts)
{
    std::vector<std::pair<double, TTourCut>> found;
    TNodeUnion parts(nodes);
    for (const TEdgeValue& edge : point)
        if (edge.X > SupportFloor)
            parts.Join(edge.A, edge.B);
    std::vector<int32_t> root(static_cast<size_t>(nodes));
    std::vector<int32_t> roots;
    for (int32_t v = 0; v < nodes; ++v) {
        root[static_cast<size_t>(v)] = parts.Find(v);
        if (root[static_cast<size_t>(v)] == v)
            roots.push_back(v);
    }
    if (roots.size() < 2)
        return {};
    for (const int32_t r : roots) {
        std::vector<uint8_t> inside(static_cast<size_t>(nodes), 0);
        for (int32_t v = 0; v < nodes; ++v)
            inside[static_cast<size_t>(v)] = root[static_cast<size_t>(v)] == r ? 1 : 0;
        TTourCut cut = SubtourOf(inside, nodes);
        const double violation = cut.Rhs - CutLeftSide(cut, point, nodes);
        found.emplace_back(violation, std::move(cut));
    }
    return Strongest(std::move(found), maxCuts);
}

std::vector<TTourCut> SubtourCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                  const std::function<bool()>& goOn)
{
    std::vector<TTourCut> parts = PartCuts(point, nodes, maxCuts);
    if (!parts.empty())
        return parts;
    std::vector<std::pair<double, TTourCut>> found;
    // Every cut keeps node 0 on one side and some node t on the other, so
    // the flows from node 0 to every other node (each cut short at 2) meet
    // every broken subtour cut. A node already cut off from node 0 by a
    // broken cut found earlier needs no flow of its own.
    // Edges at 1 are shrunk first: a node moved across a cut to join its
    // partner on such an edge takes its two (edges at 1 and 1 more) along,
    // so the cut grows no heavier. Each path of them becomes one node.
    TNodeUnion paths(nodes);
    for (const TEdgeValue& edge : point)
        if (edge.X >= 1.0 - 1e-9)
            paths.Join(edge.A, edge.B);
    std::vector<int32_t> shrunk(static_cast<size_t>(nodes), -1);
    int32_t count = 0;
    for (int32_t v = 0; v < nodes; ++v) {
        const int32_t r = paths.Find(v);
        if (shrunk[static_cast<size_t>(r)] < 0)
            shrunk[static_cast<size_t>(r)] = count++;
        shrunk[static_cast<size_t>(v)] = shrunk[static_cast<size_t>(r)];
    }
    std::vector<TEdgeValue> smaller;
    for (const TEdgeValue& edge : point) {
        const int32_t a = shrunk[static_cast<size_t>(edge.A)];
        const int32_t b = shrunk[static_cast<size_t>(edge.B)];
        if (a != b && edge.X > SupportFloor)
            smaller.push_back({a, b, edge.X});
    }

    // Every cut keeps node 0 on one side and some node t on the other, so
    // the flows from node 0 to every other node (each cut short at 2) meet
    // every broken subtour cut. A node already cut off from node 0 by a
    // broken cut found earlier needs no flow of its own.
    TFlowNet net(smaller, count);
    std::vector<uint8_t> cutOff(static_cast<size_t>(count), 0);
    const int32_t source = shrunk[0];
    for (int32_t t = 0; t < count; ++t) {
        if (t == source || cutOff[static_cast<size_t>(t)])
            continue;
        if (goOn && !goOn())
            break;
        const double flow = net.Flow(source, t, 2.0 - CutViolation);
        if (flow >= 2.0 - CutViolation)
            continue;
        const std::vector<uint8_t>& side = net.Side();
        std::vector<uint8_t> inside(static_cast<size_t>(nodes), 0);
        for (int32_t v = 0; v < nodes; ++v)
            inside[static_cast<size_t>(v)] = side[static_cast<size_t>(shrunk[static_cast<size_t>(v)])];
        for (int32_t u = 0; u < count; ++u)
            if (!side[static_cast<size_t>(u)])
                cutOff[static_cast<size_t>(u)] = 1;
        TTourCut cut = SubtourOf(inside, nodes);
        const double violation = cut.Rhs - CutLeftSide(cut, point, nodes);
        if (violation > CutViolation)
            found.emplace_back(violation, std::move(cut));
    }
    return Strongest(std::move(found), maxCuts);
}

std::vector<TTourCut> StretchCuts(const std::vector<TEdgeValue>& point, const std::vector<int32_t>& tour,
                                  int32_t maxCuts)
{
    const int32_t nodes = static_cast<int32_t>(tour.size());
    std::vector<int32_t> position(static_cast<size_t>(nodes), 0);
    for (int32_t k = 0; k < nodes; ++k)
        position[static_cast<size_t>(tour[static_cast<size_t>(k)])] = k;
    std::vector<std::vector<std::pair<int32_t, double>>> around(static_cast<size_t>(nodes));
    std::vector<double> degree(static_cast<size_t>(nodes), 0.0);
    for (const TEdgeValue& edge : point) {
        if (edge.X <= SupportFloor)
            continue;
        around[static_cast<size_t>(edge.A)].emplace_back(edge.B, edge.X);
        around[static_cast<size_t>(edge.B)].emplace_back(edge.A, edge.X);
        degree[static_cast<size_t>(edge.A)] += edge.X;
        degree[static_cast<size_t>(edge.B)] += edge.X;
    }
    std::vector<std::pair<double, TTourCut>> found;
    for (int32_t first = 0; first < nodes; ++first) {
        // Leaving weight of tour[first .. first + length - 1]: each node adds
        // its degree less twice its edges into the stretch.
        double leaving = 0;
        double least = 2.0 - CutViolation;
        int32_t bestLength = 0;
        for (int32_t length = 1; 2 * length <= nodes; ++length) {
            const int32_t v = tour[static_cast<size_t>((first + length - 1) % nodes)];
            double inside = 0;
            for (const auto& [w, x] : around[static_cast<size_t>(v)]) {
                const int32_t offset = (position[static_cast<size_t>(w)] - first + nodes) % nodes;
                if (offset < length - 1)
                    inside += x;
            }
            leaving += degree[static_cast<size_t>(v)] - 2 * inside;
            if (length >= 2 && leaving < least) {
                least = leaving;
                bestLength = length;
            }
        }
        if (bestLength == 0)
            continue;
        std::vector<uint8_t> in(static_cast<size_t>(nodes), 0);
        for (int32_t k = 0; k < bestLength; ++k)
            in[static_cast<size_t>(tour[static_cast<size_t>((first + k) % nodes)])] = 1;
        TTourCut cut = SubtourOf(in, nodes);
        const double violation = cut.Rhs - CutLeftSide(cut, point, nodes);
        if (violation > CutViolation)
            found.emplace_back(violation, std::move(cut));
    }
    return Strongest(std::move(found), maxCuts);
}

std::vector<TTourCut> ExactBlossomCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                       const std::function<bool()>& goOn)
{
    TFlowNet net(nodes);
    std::vector<uint8_t> odd(static_cast<size_t>(nodes), 0);
    for (const TEdgeValue& edge : point) {
        if (edge.X <= SupportFloor)
            continue;
        const bool flipped = edge.X > 0.5;
        const double weight = flipped ? 1.0 - edge.X : edge.X;
        if (weight > SupportFloor)
            net.AddPipe(edge.A, edge.B, weight);
        if (flipped) {
            odd[static_cast<size_t>(edge.A)] ^= 1;
            odd[static_cast<size_t>(edge.B)] ^= 1;
        }
    }
    std::vector<int32_t> terminals;
    for (int32_t v = 0; v < nodes; ++v)
        if (odd[static_cast<size_t>(v)])
            terminals.push_back(v);
    std::vector<std::pair<double, TTourCut>> found;
    if (terminals.size() < 2)
        return {};
    // Gusfield's tree over the odd nodes: each against its parent so far.
    std::vector<int32_t> parent(terminals.size(), 0);
    for (size_t s = 1; s < terminals.size(); ++s) {
        if (goOn && !goOn())
            break;
        const int32_t source = terminals[s];
        const int32_t sink = terminals[static_cast<size_t>(parent[s])];
        const double flow = net.Flow(source, sink, 1e300);
        const std::vector<uint8_t> side = net.Side();
        for (size_t r = s + 1; r < terminals.size(); ++r)
            if (side[static_cast<size_t>(terminals[r])] && parent[r] == parent[s])
                parent[r] = static_cast<int32_t>(s);
        if (flow >= 1.0 - CutViolation)
            continue;
        int32_t oddInside = 0;
        for (const int32_t v : terminals)
            oddInside += side[static_cast<size_t>(v)];
        if (oddInside % 2 == 0)
            continue;
        TTourCut cut = SubtourOf(side, nodes);
        std::vector<uint8_t> inHandle(static_cast<size_t>(nodes), 0);
        for (const int32_t v : cut.Sets[0])
            inHandle[static_cast<size_t>(v)] = 1;
        for (const TEdgeValue& edge : point)
            if (edge.X > 0.5 && inHandle[static_cast<size_t>(edge.A)] != inHandle[static_cast<size_t>(edge.B)])
                cut.Sets.push_back({std::min(edge.A, edge.B), std::max(edge.A, edge.B)});
        const int32_t teeth = static_cast<int32_t>(cut.Sets.size()) - 1;
        if (teeth % 2 == 0 || cut.Sets.size() > TCutMarks::MaxSets)
            continue;
        cut.Rhs = 3 * teeth + 1;
        const double violation = cut.Rhs - CutLeftSide(cut, point, nodes);
        if (violation > CutViolation)
            found.emplace_back(violation, std::move(cut));
    }
    return Strongest(std::move(found), maxCuts);
}

std::vector<TTourCut> BlossomCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts)
{
    std::vector<std::pair<double, TTourCut>> found;
    for (const double toothFloor : {1.0 - 1e-6, 0.75, 0.6}) {
        TNodeUnion parts(nodes);
        for (const TEdgeValue& edge : point)
            if (edge.X > SupportFloor && edge.X < toothFloor)
                parts.Join(edge.A, edge.B);
        // The handles: parts of at least three nodes.
        std::vector<std::vector<int32_t>> members(static_cast<size_t>(nodes));
        for (int32_t v = 0; v < nodes; ++v)
            members[static_cast<size_t>(parts.Find(v))].push_back(v);
        for (int32_t r = 0; r < nodes; ++r) {
            std::vector<int32_t> handle = members[static_cast<size_t>(r)];
            if (handle.size() < 3 || 2 * handle.size() > static_cast<size_t>(nodes) + 2)
                continue;
            std::vector<uint8_t> inside(static_cast<size_t>(nodes), 0);
            for (const int32_t v : handle)
                inside[static_cast<size_t>(v)] = 1;
            // Teeth sharing their node outside the handle take it in.
            bool grown = true;
            std::vector<std::pair<int32_t, int32_t>> teeth;
            while (grown) {
                grown = false;
                teeth.clear();
                std::vector<int32_t> outsideUse(static_cast<size_t>(nodes), 0);
                for (const TEdgeValue& edge : point) {
                    if (edge.X < toothFloor ||
                        inside[static_cast<size_t>(edge.A)] == inside[static_cast<size_t>(edge.B)])
                        continue;
                    const int32_t in = inside[static_cast<size_t>(edge.A)] ? edge.A : edge.B;
                    const int32_t out = in == edge.A ? edge.B : edge.A;
                    teeth.emplace_back(in, out);
                    ++outsideUse[static_cast<size_t>(out)];
                }
                for (int32_t v = 0; v < nodes; ++v) {
                    if (outsideUse[static_cast<size_t>(v)] > 1) {
                        inside[static_cast<size_t>(v)] = 1;
                        grown = true;
                    }
                }
            }
            const size_t k = teeth.size();
            if (k < 3 || k % 2 == 0 || k + 1 > TCutMarks::MaxSets)
                continue;
            // Teeth must not share their node inside either.
            std::vector<int32_t> ends;
            for (const auto& tooth : teeth)
                ends.push_back(tooth.first);
            std::sort(ends.begin(), ends.end());
            if (std::adjacent_find(ends.begin(), ends.end()) != ends.end())
                continue;
            TTourCut cut;
            cut.Sets.emplace_back();
            for (int32_t v = 0; v < nodes; ++v)
                if (inside[static_cast<size_t>(v)])
                    cut.Sets.back().push_back(v);
            if (2 * cut.Sets.back().size() > static_cast<size_t>(nodes)) {
                // The other side is the same handle to every edge.
                std::vector<int32_t> other;
                for (int32_t v = 0; v < nodes; ++v)
                    if (!inside[static_cast<size_t>(v)])
                        other.push_back(v);
                cut.Sets.back() = other;
            }
            for (const auto& [in, out] : teeth)
                cut.Sets.push_back({std::min(in, out), std::max(in, out)});
            cut.Rhs = 3 * static_cast<int32_t>(k) + 1;
            const double violation = cut.Rhs - CutLeftSide(cut, point, nodes);
            if (violation > CutViolation)
                found.emplace_back(violation, std::move(cut));
        }
    }
    return Strongest(std::move(found), maxCuts);
}
