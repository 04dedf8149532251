#include "search/cut/branch_and_cut.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>

#include "search/cut/cut_lp.h"
#include "search/cut/dual_bound.h"
#include "search/cut/greedy_tour.h"
#include "search/cut/node_union.h"
#include "search/cut/tour_polish.h"

namespace {

// The programme starts with the tour's edges and each node's nearest.
constexpr int32_t StartNeighbours = 10;
// A tour from the programme's values is tried in every so many
// subproblems, and settled along so many neighbours of each node.
constexpr int64_t LpTourEvery = 16;
constexpr int32_t LpTourNeighbours = 8;

const long double NoBound = -std::numeric_limits<long double>::infinity();

// The double nearest the value from below: a double is no bound when it
// rounded up.
double RoundedDown(long double value)
{
    double rounded = static_cast<double>(value);
    if (rounded > value)
        rounded = std::nextafter(rounded, -std::numeric_limits<double>::infinity());
    return rounded;
}

// The one ring the edges make through every node, or empty.
std::vector<int32_t> RingOf(const std::vector<std::pair<int32_t, int32_t>>& edges, int32_t nodes)
{
    if (static_cast<int32_t>(edges.size()) != nodes || nodes < 3)
        return {};
    std::vector<std::array<int32_t, 2>> link(static_cast<size_t>(nodes), {-1, -1});
    for (const auto& [a, b] : edges) {
        for (const auto& [u, v] : {std::pair{a, b}, std::pair{b, a}}) {
            auto& slots = link[static_cast<size_t>(u)];
            if (slots[0] < 0)
                slots[0] = v;
            else if (slots[1] < 0)
                slots[1] = v;
            else
                return {};
        }
    }
    std::vector<int32_t> ring;
    int32_t previous = -1;
    int32_t at = 0;
    for (int32_t k = 0; k < nodes; ++k) {
        const auto& slots = link[static_cast<size_t>(at)];
        if (slots[1] < 0)
            return {};
        ring.push_back(at);
        const int32_t next = slots[0] != previous ? slots[0] : slots[1];
        previous = at;
        at = next;
    }
    std::vector<int32_t> sorted = ring;
    std::sort(sorted.begin(), sorted.end());
    if (at != 0 || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
        return {};
    return ring;
}

}  // namespace

uint64_t OpenSubproblemBytes(int32_t nodes)
{
    return std::clamp<uint64_t>(uint64_t{100000} * static_cast<uint64_t>(std::max(nodes, 0)), 4000000, 64000000);
}

TBranchAndCut::TBranchAndCut(const TCutGraph& graph, const std::vector<int32_t>& startTour)
    : FGraph(graph), FNodes(graph.Nodes())
{
    // The make-up columns cost more than any tour.
    const long double tourCost = graph.TourCost(startTour);
    FLp = std::make_unique<TCutLp>(FNodes, static_cast<double>(4 * tourCost + 1e6L));
    Offer(startTour);
}

TBranchAndCut::~TBranchAndCut() = default;

int32_t TBranchAndCut::Cuts() const
{
    return static_cast<int32_t>(FLp->Cuts().size());
}

int32_t TBranchAndCut::Edges() const
{
    return static_cast<int32_t>(FLp->Edges().size());
}

bool TBranchAndCut::Closes(long double bound)
{
    if (FBest.empty() || std::isnan(bound))
        return false;
    const long double best = FBestLength;
    if (FGraph.WholeCosts())
        return bound > best - 1;
    const long double share = 2 * FGraph.RoundingShare();
    if (bound >= best * (1 + share))
        return true;
    if (bound < best * (1 - share))
        return false;
    // A tie: the tours ruled out may come out shorter than the best by
    // problem.Length through its roundings alone. The bound keeps below
    // them.
    FTieFloor = std::min(FTieFloor, best * (1 - share) * (1 - share));
    return true;
}

long double TBranchAndCut::Lifted(long double bound, long double reduced, long double magnitude) const
{
    return bound + std::fabs(reduced) - magnitude * 0x1p-56L;
}

bool TBranchAndCut::GoOn(int64_t steps)
{
    if (!FStopped && FGoOn && !FGoOn(steps))
        FStopped = true;
    return !FStopped;
}

void TBranchAndCut::Offer(const std::vector<int32_t>& tour)
{
    const TSpecimen route = FGraph.RouteOfTour(tour);
    if (route.empty())
        return;
    const double length = FGraph.Problem().Length(route);
    if (!FBest.empty() && !(length < FBestLength))
        return;
    FBest = route;
    FBestLength = length;
    FBestTour = tour;
    KillEdgesByRoot();
    if (FImproved)
        FImproved();
}

int32_t TBranchAndCut::LpEdge(int32_t a, int32_t b) const
{
    const auto it = FLpEdge.find(EdgeKey(a, b));
    return it == FLpEdge.end() ? -1 : it->second;
}

int32_t TBranchAndCut::TakeIn(int32_t a, int32_t b)
{
    const int32_t known = LpEdge(a, b);
    if (known >= 0)
        return known;
    FLp->AddEdges({{a, b}}, {FGraph.Cost(a, b)});
    const int32_t edge = static_cast<int32_t>(FLp->Edges().size()) - 1;
    FLpEdge[EdgeKey(a, b)] = edge;
    if (Dead(a, b))
        FLp->SetEdgeBounds(edge, 0, 0);
    return edge;
}

bool TBranchAndCut::Dead(int32_t a, int32_t b) const
{
    return FAliveListed && FAliveKeys.count(EdgeKey(a, b)) == 0;
}

bool TBranchAndCut::Excluded(int32_t a, int32_t b) const
{
    const auto it = FFixed.find(EdgeKey(a, b));
    return it != FFixed.end() && it->second == 0;
}

void TBranchAndCut::KillEdgesByRoot()
{
    if (!FAliveListed)
        return;
    size_t kept = 0;
    for (size_t e = 0; e < FAlive.size(); ++e) {
        const auto [a, b] = FAlive[e];
        const long double reduced = FAliveReduced[e];
        if (reduced >= 0 && !FGraph.Kept(a, b) && Closes(Lifted(FRootBound, reduced, FAliveMagnitude[e]))) {
            FAliveKeys.erase(EdgeKey(a, b));
            const int32_t edge = LpEdge(a, b);
            if (edge >= 0)
                FLp->SetEdgeBounds(edge, 0, 0);
            continue;
        }
        FAlive[kept] = FAlive[e];
        FAliveReduced[kept] = FAliveReduced[e];
        FAliveMagnitude[kept] = FAliveMagnitude[e];
        ++kept;
    }
    FAlive.resize(kept);
    FAliveReduced.resize(kept);
    FAliveMagnitude.resize(kept);
}

bool TBranchAndCut::ApplyFixes(const TNode& node, bool& closed)
{
    for (const int32_t edge : FChanged) {
        const auto [a, b] = FLp->Edges()[static_cast<size_t>(edge)];
        FLp->SetEdgeBounds(edge, 0, Dead(a, b) ? 0 : 1);
    }
    FChanged.clear();
    FFixed.clear();
    for (const auto& [a, b] : FGraph.KeptEdges())
        FFixed[EdgeKey(a, b)] = 1;
    for (const TFix& fix : node.Fixes)
        FFixed[EdgeKey(fix.A, fix.B)] = fix.Value;

    // Forced edges that break every tour close the subproblem at once.
    std::vector<std::pair<int32_t, int32_t>> forced;
    std::vector<int32_t> degree(static_cast<size_t>(FNodes), 0);
    for (const TFix& fix : node.Fixes)
        if (fix.Value == 1)
            forced.emplace_back(fix.A, fix.B);
    for (const auto& edge : FGraph.KeptEdges())
        forced.push_back(edge);
    std::sort(forced.begin(), forced.end(),
              [](const auto& x, const auto& y) { return EdgeKey(x.first, x.second) < EdgeKey(y.first, y.second); });
    forced.erase(std::unique(forced.begin(), forced.end(),
                             [](const auto& x, const auto& y) {
                                 return EdgeKey(x.first, x.second) == EdgeKey(y.first, y.second);
                             }),
                 forced.end());
    TNodeUnion parts(FNodes);
    for (const auto& [a, b] : forced) {
        if (Dead(a, b) || ++degree[static_cast<size_t>(a)] > 2 || ++degree[static_cast<size_t>(b)] > 2) {
            closed = true;
            return true;
        }
        if (parts.Find(a) == parts.Find(b)) {
            // A ring: the one tour of the subproblem, or none.
            const std::vector<int32_t> ring = RingOf(forced, FNodes);
            if (!ring.empty())
                Offer(ring);
            closed = true;
            return true;
        }
        parts.Join(a, b);
    }
    for (const TFix& fix : node.Fixes) {
        const int32_t edge = fix.Value == 1 ? TakeIn(fix.A, fix.B) : LpEdge(fix.A, fix.B);
        if (edge >= 0) {
            FLp->SetEdgeBounds(edge, fix.Value, fix.Value);
            FChanged.push_back(edge);
        }
    }
    for (const auto& [a, b] : FGraph.KeptEdges()) {
        const int32_t edge = TakeIn(a, b);
        FLp->SetEdgeBounds(edge, 1, 1);
        FChanged.push_back(edge);
    }
    return true;
}

bool TBranchAndCut::SingleTourLeft()
{
    std::vector<std::pair<int32_t, int32_t>> possible;
    const auto& edges = FLp->Edges();
    std::vector<int32_t> degree(static_cast<size_t>(FNodes), 0);
    for (size_t e = 0; e < edges.size(); ++e) {
        if (FLp->EdgeUpper(static_cast<int32_t>(e)) < 0.5)
            continue;
        possible.push_back(edges[e]);
        ++degree[static_cast<size_t>(edges[e].first)];
        ++degree[static_cast<size_t>(edges[e].second)];
    }
    // Every tour here uses these edges alone: a node with fewer than two
    // has none, and as many edges as nodes in one ring is the only one.
    for (const int32_t d : degree)
        if (d < 2)
            return true;
    const std::vector<int32_t> ring = RingOf(possible, FNodes);
    if (ring.empty())
        return false;
    Offer(ring);
    return true;
}

void TBranchAndCut::TryLpTour(const std::vector<double>& values)
{
    const auto& edges = FLp->Edges();
    std::vector<size_t> order(edges.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        if (values[x] != values[y])
            return values[x] > values[y];
        return FGraph.Cost(edges[x].first, edges[x].second) < FGraph.Cost(edges[y].first, edges[y].second);
    });
    std::vector<std::pair<int32_t, int32_t>> preferred;
    for (const size_t e : order)
        if (values[e] > 1e-9)
            preferred.push_back(edges[e]);
    const std::vector<int32_t> tour = GreedyTour(FGraph, preferred);
    if (tour.empty())
        return;
    if (FCandidates.empty())
        FCandidates = FGraph.Nearest(LpTourNeighbours);
    TTourPolish polish(FGraph, FCandidates, static_cast<uint32_t>(FSubproblems));
    Offer(polish.Improve(tour, FNodes, [&] { return GoOn(0); }));
}

bool TBranchAndCut::OthersRuledOut(const std::vector<int32_t>& ring, const TPricing& pricing)
{
    std::unordered_set<int64_t> inRing;
    for (size_t k = 0; k < ring.size(); ++k)
        inRing.insert(EdgeKey(ring[k], ring[(k + 1) % ring.size()]));
    TReducedCosts costs(FGraph, FLp->NodeDuals(), FLp->Cuts(), FLp->CutDuals());
    // Another tour takes an edge outside the ring that is free here (at
    // least its reduced cost more) and leaves a free edge of the ring (at
    // least minus its reduced cost more).
    long double leastIn = std::numeric_limits<long double>::infinity();
    long double leastOut = pricing.LeastOutside;
    const auto& edges = FLp->Edges();
    for (size_t e = 0; e < edges.size(); ++e) {
        const int32_t edge = static_cast<int32_t>(e);
        if (FLp->EdgeLower(edge) != 0 || FLp->EdgeUpper(edge) != 1)
            continue;
        const auto [a, b] = edges[e];
        const long double reduced = costs.Of(a, b);
        const long double margin = costs.Magnitude(a, b) * 0x1p-56L;
        if (inRing.count(EdgeKey(a, b)) != 0)
            leastIn = std::min(leastIn, -reduced - margin);
        else
            leastOut = std::min(leastOut, reduced - margin);
    }
    // No free edge on one side: no other tour here at all.
    if (std::isinf(leastIn) || std::isinf(leastOut))
        return true;
    return Closes(pricing.Bound + std::max<long double>(0, leastIn) + std::max<long double>(0, leastOut));
}

bool TBranchAndCut::Process(TNode& node, std::vector<TNode>& children)
{
    ++FSubproblems;
    bool closed = false;
    ApplyFixes(node, closed);
    if (closed)
        return true;
    TPricing pricing;
    if (!CutAndPrice(node, pricing))
        return false;
    if (Closes(node.Bound))
        return true;
    const std::vector<double> values = FLp->EdgeValues();
    const auto& edges = FLp->Edges();
    bool whole = true;
    std::vector<std::pair<int32_t, int32_t>> ones;
    for (size_t e = 0; e < edges.size(); ++e) {
        if (values[e] > WholeValue && values[e] < 1 - WholeValue)
            whole = false;
        if (values[e] >= 1 - WholeValue)
            ones.push_back(edges[e]);
    }
    LearnGain(node);
    if (whole) {
        const std::vector<int32_t> ring = RingOf(ones, FNodes);
        if (!ring.empty()) {
            Offer(ring);
            if (OthersRuledOut(ring, pricing))
                return true;
        }
    }
    if (!whole && (node.Depth == 0 || FSubproblems % LpTourEvery == 0))
        TryLpTour(values);
    if (Closes(node.Bound))
        return true;
    if (pricing.OpenOutside == 0 && SingleTourLeft())
        return true;
    if (!Branch(node, node.Bound, values, children))
        return false;
    RetireSlackCuts(values, FLp->CutDuals());
    return true;
}

bool TBranchAndCut::Run(const std::function<bool(int64_t)>& goOn, const std::function<void()>& improved)
{
    FGoOn = goOn;
    FImproved = improved;
    if (FFinished)
        return true;
    if (FNodes <= 3) {
        // One tour, read either way.
        FFinished = true;
        FShareDone = 1;
        return true;
    }
    if (FSubproblems == 0 && FOpen.empty()) {
        // The programme's first edges: the best tour's and the nearest.
        const std::vector<std::vector<int32_t>> nearest = FGraph.Nearest(StartNeighbours);
        std::vector<std::pair<int32_t, int32_t>> edges;
        std::vector<double> costs;
        auto take = [&](int32_t a, int32_t b) {
            if (a == b || !FGraph.Allowed(a, b) || LpEdge(a, b) >= 0)
                return;
            FLpEdge[EdgeKey(a, b)] = static_cast<int32_t>(edges.size());
            edges.emplace_back(a, b);
            costs.push_back(FGraph.Cost(a, b));
        };
        for (size_t k = 0; k < FBestTour.size(); ++k)
            take(FBestTour[k], FBestTour[(k + 1) % FBestTour.size()]);
        for (int32_t a = 0; a < FNodes; ++a)
            for (const int32_t b : nearest[static_cast<size_t>(a)])
                take(a, b);
        FLp->AddEdges(edges, costs);
        TNode root;
        root.Bound = NoBound;
        FOpen.push_back(root);
    }
    auto later = [](const TNode& x, const TNode& y) {
        return x.Order != y.Order ? x.Order > y.Order : x.Depth < y.Depth;
    };
    std::vector<TNode> children;
    while (!FOpen.empty()) {
        TNode node;
        if (FOpenBytes <= OpenSubproblemBytes(FNodes)) {
            std::pop_heap(FOpen.begin(), FOpen.end(), later);
            node = std::move(FOpen.back());
            FOpen.pop_back();
        } else {
            const auto deepest = std::max_element(FOpen.begin(), FOpen.end(),
                                                  [](const TNode& x, const TNode& y) { return x.Depth < y.Depth; });
            node = std::move(*deepest);
            FOpen.erase(deepest);
            std::make_heap(FOpen.begin(), FOpen.end(), later);
        }
        FOpenBytes -= std::min<uint64_t>(FOpenBytes, sizeof(TNode) + node.Fixes.size() * sizeof(TFix));
        if (Closes(node.Bound)) {
            FShareDone += node.Share;
            continue;
        }
        FWorking = true;
        FWorkingBound = node.Bound;
        children.clear();
        const bool done = Process(node, children);
        FWorking = false;
        if (!done) {
            FOpenBytes += sizeof(TNode) + node.Fixes.size() * sizeof(TFix);
            FOpen.push_back(std::move(node));
            std::push_heap(FOpen.begin(), FOpen.end(), later);
            return false;
        }
        if (children.empty())
            FShareDone += node.Share;
        for (TNode& child : children) {
            child.Order = std::max<double>(child.Order, static_cast<double>(child.Bound));
            FOpenBytes += sizeof(TNode) + child.Fixes.size() * sizeof(TFix);
            FOpen.push_back(std::move(child));
            std::push_heap(FOpen.begin(), FOpen.end(), later);
        }
        if (!GoOn(1)) {
            return false;
        }
    }
    FFinished = true;
    FShareDone = 1;
    return true;
}

double TBranchAndCut::LowerBound() const
{
    if (FFinished)
        return RoundedDown(std::min<long double>(FBestLength, FTieFloor));
    long double least = std::numeric_limits<long double>::infinity();
    for (const TNode& node : FOpen)
        least = std::min(least, node.Bound);
    if (FWorking)
        least = std::min(least, FWorkingBound);
    if (std::isinf(least) && least > 0)
        return RoundedDown(std::min<long double>(FBestLength, FTieFloor));
    if (std::isinf(least) || least <= 0)
        return 0.0;
    const long double value = std::min<long double>(
        FGraph.WholeCosts() ? std::ceil(least) : least * (1 - 2 * FGraph.RoundingShare()), FBestLength);
    return RoundedDown(std::min(value, FTieFloor));
}
