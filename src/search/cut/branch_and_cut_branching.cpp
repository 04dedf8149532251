// The choice of a subproblem's branch: strong branching on the fractional
// edges, and what each branch taken was seen to gain.
#include "search/cut/branch_and_cut.h"

#include <algorithm>
#include <cmath>

#include "search/cut/cut_lp.h"
#include "search/cut/dual_bound.h"

namespace {

// Candidates tried for each branch, and the dual steps each may take.
constexpr int32_t MaxCandidates = 24;
constexpr int32_t RootCandidates = 12;
constexpr int32_t NodeCandidates = 4;
constexpr int32_t TrialIterations = 40;

}  // namespace

bool TBranchAndCut::Branch(TNode& node, long double bound, const std::vector<double>& values,
                           std::vector<TNode>& children)
{
    const auto& edges = FLp->Edges();
    std::vector<int32_t> fractional;
    int32_t tie = -1;
    long double tieReduced = 0;
    int32_t tourEdge = -1;
    for (size_t e = 0; e < edges.size(); ++e) {
        const int32_t edge = static_cast<int32_t>(e);
        if (FLp->EdgeLower(edge) != 0 || FLp->EdgeUpper(edge) != 1)
            continue;
        if (values[e] > WholeValue && values[e] < 1 - WholeValue)
            fractional.push_back(edge);
        else if (values[e] >= 1 - WholeValue)
            tourEdge = edge;
    }
    const double objective = FLp->Objective();
    int32_t chosen = -1;
    double downOrder = objective;
    double upOrder = objective;
    if (!fractional.empty()) {
        std::stable_sort(fractional.begin(), fractional.end(), [&](int32_t x, int32_t y) {
            return std::fabs(values[static_cast<size_t>(x)] - 0.5) < std::fabs(values[static_cast<size_t>(y)] - 0.5);
        });
        const size_t candidates = std::min(fractional.size(), static_cast<size_t>(MaxCandidates));
        size_t trials = node.Depth == 0 ? RootCandidates : NodeCandidates;
        double bestScore = -1;
        const double floor = 1e-6 * std::max(1.0, std::fabs(objective));
        for (size_t k = 0; k < candidates; ++k) {
            const int32_t edge = fractional[k];
            const double value = values[static_cast<size_t>(edge)];
            const auto [a, b] = edges[static_cast<size_t>(edge)];
            double down = 0;
            double up = 0;
            const auto known = FGains.find(EdgeKey(a, b));
            if (known != FGains.end() && known->second.Downs > 0 && known->second.Ups > 0) {
                // Edges branched on before: what they gained then.
                down = objective + known->second.Down / known->second.Downs * value;
                up = objective + known->second.Up / known->second.Ups * (1 - value);
            } else if (trials > 0) {
                --trials;
                down = FLp->TryBounds(edge, 0, 0, TrialIterations);
                up = FLp->TryBounds(edge, 1, 1, TrialIterations);
                TGains& gains = FGains[EdgeKey(a, b)];
                if (down < 1e200) {
                    gains.Down += std::max(0.0, down - objective) / value;
                    ++gains.Downs;
                }
                if (up < 1e200) {
                    gains.Up += std::max(0.0, up - objective) / (1 - value);
                    ++gains.Ups;
                }
                if (!GoOn(0))
                    return false;
            } else {
                continue;
            }
            const double score = std::max(down - objective, floor) * std::max(up - objective, floor);
            if (score > bestScore) {
                bestScore = score;
                chosen = edge;
                downOrder = std::max(objective, down);
                upOrder = std::max(objective, up);
            }
        }
        if (chosen < 0)
            chosen = fractional.front();
    } else {
        // The programme's point is a tour no shorter than the best, but
        // tours within the lengths' roundings of it may be shorter by
        // problem.Length: an edge still free tells them apart.
        TReducedCosts costs(FGraph, FLp->NodeDuals(), FLp->Cuts(), FLp->CutDuals());
        for (size_t e = 0; e < edges.size(); ++e) {
            const int32_t edge = static_cast<int32_t>(e);
            if (FLp->EdgeLower(edge) != 0 || FLp->EdgeUpper(edge) != 1 || values[e] >= 1 - WholeValue)
                continue;
            const long double reduced = std::fabs(costs.Of(edges[e].first, edges[e].second));
            if (tie < 0 || reduced < tieReduced) {
                tie = edge;
                tieReduced = reduced;
            }
        }
        chosen = tie >= 0 ? tie : tourEdge;
        if (chosen < 0) {
            // Only edges outside the programme are left: the cheapest of them.
            long double least = std::numeric_limits<long double>::infinity();
            std::pair<int32_t, int32_t> pick{-1, -1};
            auto visit = [&](int32_t a, int32_t b, long double reduced) {
                if (LpEdge(a, b) < 0 && !Excluded(a, b) && !Dead(a, b) && reduced < least) {
                    least = reduced;
                    pick = {a, b};
                }
            };
            if (FAliveListed) {
                for (const auto& [a, b] : FAlive)
                    visit(a, b, costs.Of(a, b));
            } else {
                costs.ForEveryEdge(visit);
            }
            if (pick.first < 0)
                return true;
            chosen = TakeIn(pick.first, pick.second);
        }
    }
    if (chosen < 0)
        return true;
    const auto [a, b] = FLp->Edges()[static_cast<size_t>(chosen)];
    for (const uint8_t value : {uint8_t{0}, uint8_t{1}}) {
        TNode child;
        child.Fixes = node.Fixes;
        child.Fixes.push_back({a, b, value});
        child.Bound = bound;
        child.Order = value == 0 ? downOrder : upOrder;
        child.Share = node.Share / 2;
        child.Depth = node.Depth + 1;
        child.ParentObjective = objective;
        const double moved = value == 0 ? values[static_cast<size_t>(chosen)] : 1 - values[static_cast<size_t>(chosen)];
        child.Moved = moved > WholeValue ? moved : 0;
        children.push_back(std::move(child));
    }
    return true;
}

void TBranchAndCut::LearnGain(const TNode& node)
{
    if (node.Fixes.empty() || node.Moved <= 0 || FLp->MadeUp() > 1e-9)
        return;
    const TFix& fix = node.Fixes.back();
    const double gain = std::max(0.0, FLp->Objective() - node.ParentObjective) / node.Moved;
    TGains& gains = FGains[EdgeKey(fix.A, fix.B)];
    if (fix.Value == 0) {
        gains.Down += gain;
        ++gains.Downs;
    } else {
        gains.Up += gain;
        ++gains.Ups;
    }
}
