// The rounds of a subproblem: cuts found and added, edges priced in by
// their reduced costs, fixed by them, and slack cuts retired to the pool.
#include "search/cut/branch_and_cut.h"

#include <algorithm>
#include <cmath>

#include "search/cut/cut_lp.h"
#include "search/cut/cut_separation.h"
#include "search/cut/dual_bound.h"
#include "search/cut/path_combs.h"

namespace {

// Rounds of cuts at the root and in every other subproblem.
constexpr int32_t RootRounds = 400;
constexpr int32_t NodeRounds = 12;
// Rounds that raise the objective by less than this share count as
// stalling; so many of them in a row end the cuts.
constexpr double StallShare = 2e-6;
constexpr int32_t RootStalls = 4;
constexpr int32_t NodeStalls = 1;
// Edges of reduced cost below this are taken into the programme.
constexpr long double PriceBelow = -1e-9L;
// The cuts dropped from the programme are kept for later up to so many
// of their sets' nodes per node.
constexpr size_t PoolNodesPerNode = 32;
// Subtour cuts whose left-hand side is this close to 2 count as tight.
constexpr double TightSlack = 1e-6;
// Edges the root's duals leave alive are listed up to this many per node.
constexpr int64_t AlivePerNode = 50;

uint64_t NodesOf(const TTourCut& cut)
{
    uint64_t nodes = 0;
    for (const std::vector<int32_t>& set : cut.Sets)
        nodes += set.size();
    return nodes;
}

}  // namespace

std::vector<TTourCut> TBranchAndCut::FindCuts(const std::vector<double>& values, bool flowsOnly)
{
    std::vector<TEdgeValue> point;
    const auto& edges = FLp->Edges();
    for (size_t e = 0; e < edges.size(); ++e)
        if (values[e] > 1e-9)
            point.push_back({edges[e].first, edges[e].second, values[e]});
    std::vector<TTourCut> cuts;
    const int32_t most = std::max(16, FNodes);
    if (flowsOnly) {
        std::vector<TTourCut> exact = SubtourCuts(point, FNodes, most, [&] { return GoOn(0); });
        if (exact.empty()) {
            exact = ExactBlossomCuts(point, FNodes, most, [&] { return GoOn(0); });
            for (TTourCut& cut : PathCombCuts(point, FNodes, most, [&] { return GoOn(0); }))
                exact.push_back(std::move(cut));
            // Again with the sets of the programme's subtour cuts that the
            // point holds tight taken whole too.
            std::vector<std::vector<int32_t>> tight;
            TPointEdges around(point, FNodes);
            for (const TTourCut& cut : FLp->Cuts())
                if (cut.Sets.size() == 1 && around.LeftSide(cut) < cut.Rhs + TightSlack)
                    tight.push_back(cut.Sets[0]);
            if (!tight.empty()) {
                std::vector<TTourCut> combs = PathCombCuts(
                    point, FNodes, most, [&] { return GoOn(0); }, tight);
                for (TTourCut& cut : combs) {
                    const bool known = std::any_of(exact.begin(), exact.end(),
                                                   [&](const TTourCut& other) { return other.Sets == cut.Sets; });
                    if (!known)
                        exact.push_back(std::move(cut));
                }
            }
        }
        return exact;
    }
    // Cuts dropped earlier come back when broken again.
    TPointEdges around(point, FNodes);
    size_t kept = 0;
    for (size_t k = 0; k < FPool.size(); ++k) {
        if (FPool[k].Rhs - around.LeftSide(FPool[k]) > CutViolation) {
            cuts.push_back(std::move(FPool[k]));
        } else {
            if (kept != k)
                FPool[kept] = std::move(FPool[k]);
            ++kept;
        }
    }
    FPool.resize(kept);
    auto take = [&](std::vector<TTourCut> found) {
        for (TTourCut& cut : found)
            cuts.push_back(std::move(cut));
    };
    // A point in pieces has its subtour cuts at hand; otherwise the quick
    // cuts first, and the flows that miss no subtour cut when they find
    // nothing.
    take(PartCuts(point, FNodes, most));
    if (!cuts.empty())
        return cuts;
    take(BlossomCuts(point, FNodes, most));
    if (!FBestTour.empty())
        take(StretchCuts(point, FBestTour, most));

    return cuts;
}

TBranchAndCut::TPricing TBranchAndCut::Price(const TReducedCosts& costs, int32_t maxAdded)
{
    TPricing pricing;
    TBoundSum sum(costs);
    std::vector<std::pair<long double, std::pair<int32_t, int32_t>>> negative;
    long double leastOutside = std::numeric_limits<long double>::infinity();
    auto visit = [&](int32_t a, int32_t b, long double reduced) {
        const long double magnitude = costs.Magnitude(a, b);
        const auto fixed = FFixed.find(EdgeKey(a, b));
        if (fixed != FFixed.end()) {
            if (fixed->second == 1)
                sum.Add(reduced, magnitude);
            return;
        }
        if (reduced < 0)
            sum.Add(reduced, magnitude);
        if (LpEdge(a, b) >= 0)
            return;
        if (reduced < PriceBelow)
            negative.push_back({reduced, {a, b}});
        else
            leastOutside = std::min(leastOutside, reduced - magnitude * 0x1p-56L);
    };
    if (FAliveListed) {
        for (size_t e = 0; e < FAlive.size(); ++e) {
            visit(FAlive[e].first, FAlive[e].second, costs.Of(FAlive[e].first, FAlive[e].second));
            if (e % 4096 == 4095)
                GoOn(0);
        }
    } else {
        costs.ForEveryEdge(visit, [&] { GoOn(0); });
    }
    pricing.Bound = sum.Certified();
    pricing.LeastOutside = leastOutside;
    pricing.OpenOutside = std::isinf(leastOutside) || Closes(pricing.Bound + leastOutside) ? 0 : 1;
    if (!negative.empty()) {
        const size_t take = std::min(negative.size(), static_cast<size_t>(maxAdded));
        std::partial_sort(negative.begin(), negative.begin() + static_cast<std::ptrdiff_t>(take), negative.end());
        std::vector<std::pair<int32_t, int32_t>> edges;
        std::vector<double> edgeCosts;
        for (size_t k = 0; k < take; ++k) {
            const auto [a, b] = negative[k].second;
            FLpEdge[EdgeKey(a, b)] = static_cast<int32_t>(FLp->Edges().size() + edges.size());
            edges.emplace_back(a, b);
            edgeCosts.push_back(FGraph.Cost(a, b));
        }
        FLp->AddEdges(edges, edgeCosts);
        pricing.Added = true;
        pricing.OpenOutside = 1;
    }
    return pricing;
}

bool TBranchAndCut::CutAndPrice(TNode& node, TPricing& pricing)
{
    const bool root = node.Depth == 0;
    const int32_t rounds = root ? RootRounds : NodeRounds;
    const int32_t stallLimit = root ? RootStalls : NodeStalls;
    int32_t round = 0;
    int32_t stalls = 0;
    int32_t flowRounds = 0;
    double last = -std::numeric_limits<double>::infinity();
    while (true) {
        if (!GoOn(0))
            return false;
        FLp->Solve();
        const std::vector<double> values = FLp->EdgeValues();
        // A point that needs made-up degrees first needs edges, not cuts.
        if (round < rounds && FLp->MadeUp() < 1e-9) {
            const double objective = FLp->Objective();
            // Once the quick cuts find nothing or stall, the flows find the
            // subtour cuts they missed; beyond the root once per subproblem.
            std::vector<TTourCut> found;
            if (stalls < stallLimit)
                found = FindCuts(values, false);
            if (found.empty() && (root || flowRounds++ == 0))
                found = FindCuts(values, true);
            if (FLp->AddCuts(found) > 0) {
                stalls = objective - last < StallShare * std::max(1.0, std::fabs(objective)) ? stalls + 1 : 0;
                last = objective;
                ++round;
                continue;
            }
        }
        TReducedCosts costs(FGraph, FLp->NodeDuals(), FLp->Cuts(), FLp->CutDuals());
        pricing = Price(costs, std::max(50, FNodes));
        node.Bound = std::max(node.Bound, pricing.Bound);
        if (Closes(node.Bound))
            return true;
        if (pricing.Added)
            continue;
        FixByReducedCosts(costs, pricing.Bound);
        if (root && !FAliveListed) {
            FRootBound = pricing.Bound;
            // The edges that the root's duals do not rule out, if few.
            std::vector<std::pair<int32_t, int32_t>> alive;
            std::vector<long double> reduced;
            std::vector<long double> magnitude;
            const int64_t most = AlivePerNode * FNodes;
            bool many = false;
            costs.ForEveryEdge(
                [&](int32_t a, int32_t b, long double value) {
                    if (many)
                        return;
                    const long double size = costs.Magnitude(a, b);
                    if (value >= 0 && !FGraph.Kept(a, b) && Closes(Lifted(FRootBound, value, size)))
                        return;
                    alive.emplace_back(a, b);
                    reduced.push_back(value);
                    magnitude.push_back(size);
                    many = static_cast<int64_t>(alive.size()) > most;
                },
                [&] { GoOn(0); });
            if (!many) {
                FAlive = std::move(alive);
                FAliveReduced = std::move(reduced);
                FAliveMagnitude = std::move(magnitude);
                for (const auto& [a, b] : FAlive)
                    FAliveKeys.insert(EdgeKey(a, b));
                for (const auto& [a, b] : FGraph.KeptEdges())
                    FAliveKeys.insert(EdgeKey(a, b));
                FAliveListed = true;
                const auto& edges = FLp->Edges();
                for (size_t e = 0; e < edges.size(); ++e)
                    if (Dead(edges[e].first, edges[e].second))
                        FLp->SetEdgeBounds(static_cast<int32_t>(e), 0, 0);
            }
        }
        return true;
    }
}

void TBranchAndCut::FixByReducedCosts(const TReducedCosts& costs, long double bound)
{
    const auto& edges = FLp->Edges();
    for (size_t e = 0; e < edges.size(); ++e) {
        const int32_t edge = static_cast<int32_t>(e);
        if (FLp->EdgeLower(edge) != 0 || FLp->EdgeUpper(edge) != 1)
            continue;
        const auto [a, b] = edges[e];
        const long double reduced = costs.Of(a, b);
        if (!Closes(Lifted(bound, reduced, costs.Magnitude(a, b))))
            continue;
        const double value = reduced >= 0 ? 0 : 1;
        FLp->SetEdgeBounds(edge, value, value);
        FChanged.push_back(edge);
    }
}

void TBranchAndCut::RetireSlackCuts(const std::vector<double>& values, const std::vector<double>& duals)
{
    (void)values;
    const std::vector<TTourCut>& cuts = FLp->Cuts();
    if (static_cast<int32_t>(cuts.size()) < FNodes / 2)
        return;
    const std::vector<double> activity = FLp->CutActivities();
    std::vector<int32_t> slack;
    for (size_t k = 0; k < cuts.size(); ++k)
        if (duals[k] < 1e-9 && activity[k] > cuts[k].Rhs + 1e-3)
            slack.push_back(static_cast<int32_t>(k));
    for (const int32_t k : slack)
        FPool.push_back(cuts[static_cast<size_t>(k)]);
    FLp->RemoveCuts(slack);
    // The oldest go first once the kept cuts hold too many nodes.
    const uint64_t most = PoolNodesPerNode * static_cast<uint64_t>(FNodes) + 4096;
    uint64_t held = 0;
    for (const TTourCut& cut : FPool)
        held += NodesOf(cut);
    size_t first = 0;
    for (; held > most && first < FPool.size(); ++first)
        held -= NodesOf(FPool[first]);
    FPool.erase(FPool.begin(), FPool.begin() + static_cast<std::ptrdiff_t>(first));
}
