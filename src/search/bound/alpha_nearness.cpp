#include "search/bound/alpha_nearness.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "search/bound/one_tree.h"
#include "search/bound/penalty_tree.h"
#include "search/neighbours/candidate_graph.h"
#include "search/neighbours/point_tree.h"

namespace {

// The nearest points whose α is weighed, per point.
constexpr int32_t WeighedNeighbours = 14;
// Steps of the short ascent: fewer for large sets, each step being a tree.
// Where its penalties also weigh a local search's legs, twice as many pay
// up to WeighingLongAscentMaxPoints: at 10 000 points in 10 s, 600 steps
// (about two seconds) gave routes 0.035 % shorter than 300, and 1 200
// steps 0.05 % longer; at 100 000 points in 60 s 60 steps 0.035 % longer
// than 30. For the lists alone, at 1 000 points in 2 s, 600 steps cost
// 0.05 %.
constexpr int32_t WeighingLongAscentMaxPoints = 20000;

int32_t AscentSteps(int32_t n, bool weighing)
{
    const int32_t scale = weighing && n <= WeighingLongAscentMaxPoints ? 2 : 1;
    return std::clamp(scale * 3'000'000 / std::max(n, 1), 40, scale * 300);
}

// The heaviest edge on tree paths by binary lifting.
class TPathMaxima {
public:
    TPathMaxima(const std::vector<int32_t>& parents, const std::vector<double>& edgeWeights)
    {
        const int32_t n = static_cast<int32_t>(parents.size());
        FDepth.assign(n, -1);
        // Depths by walking up from each point, remembering the way.
        std::vector<int32_t> path;
        for (int32_t i = 0; i < n; ++i) {
            int32_t v = i;
            while (v >= 0 && FDepth[v] < 0) {
                path.push_back(v);
                v = parents[v];
            }
            int32_t depth = v >= 0 ? FDepth[v] : -1;
            while (!path.empty()) {
                FDepth[path.back()] = ++depth;
                path.pop_back();
            }
        }
        int32_t levels = 1;
        while ((1 << levels) < n)
            ++levels;
        FUp.assign(levels, std::vector<int32_t>(n, -1));
        FMax.assign(levels, std::vector<double>(n, 0.0));
        for (int32_t i = 0; i < n; ++i) {
            FUp[0][i] = parents[i];
            FMax[0][i] = parents[i] >= 0 ? edgeWeights[i] : 0.0;
        }
        for (int32_t k = 1; k < levels; ++k) {
            for (int32_t i = 0; i < n; ++i) {
                const int32_t mid = FUp[k - 1][i];
                FUp[k][i] = mid >= 0 ? FUp[k - 1][mid] : -1;
                FMax[k][i] = mid >= 0 ? std::max(FMax[k - 1][i], FMax[k - 1][mid]) : FMax[k - 1][i];
            }
        }
    }

    // -1 when a and b lie in different trees.
    double Between(int32_t a, int32_t b) const
    {
        double heaviest = 0.0;
        if (FDepth[a] < FDepth[b])
            std::swap(a, b);
        for (int32_t k = static_cast<int32_t>(FUp.size()) - 1; k >= 0; --k) {
            if (FDepth[a] - (1 << k) >= FDepth[b]) {
                heaviest = std::max(heaviest, FMax[k][a]);
                a = FUp[k][a];
            }
        }
        if (a == b)
            return heaviest;
        for (int32_t k = static_cast<int32_t>(FUp.size()) - 1; k >= 0; --k) {
            if (FUp[k][a] != FUp[k][b]) {
                heaviest = std::max({heaviest, FMax[k][a], FMax[k][b]});
                a = FUp[k][a];
                b = FUp[k][b];
            }
        }
        if (FUp[0][a] < 0 || FUp[0][a] != FUp[0][b])
            return -1.0;
        return std::max({heaviest, FMax[0][a], FMax[0][b]});
    }

private:
    std::vector<int32_t> FDepth;
    std::vector<std::vector<int32_t>> FUp;
    std::vector<std::vector<double>> FMax;
};

}  // namespace

TAlphaCandidates AlphaCandidates(const TLegMeter& legs, const TRouteKind& kind, int32_t count,
                                 const std::function<bool()>& goOn, bool weighing)
{
    const auto stopped = [&goOn] { return goOn && !goOn(); };
    const int32_t n = legs.Count();
    count = std::clamp(count, 0, std::max(n - 1, 0));
    std::vector<int32_t> lists(static_cast<size_t>(n) * count);
    if (n < 2 || count == 0)
        return {TNeighbourLists(count, std::move(lists)), std::vector<double>(static_cast<size_t>(n), 0.0)};
    const TPointTree tree(legs.PlaneX(), legs.PlaneY());
    // The nearest points, then per quarter the nearest two not among them.
    const int32_t weighed = std::min(WeighedNeighbours, n - 1);
    std::vector<std::vector<int32_t>> near(static_cast<size_t>(n));
    std::vector<TNeighbour> nearest;
    const std::vector<double>& x = legs.PlaneX();
    const std::vector<double>& y = legs.PlaneY();
    std::vector<std::pair<int32_t, int32_t>> edges;
    for (int32_t i = 0; i < n; ++i) {
        tree.Nearest(i, std::min(n - 1, 4 * weighed), nearest);
        int32_t inQuarter[4] = {0, 0, 0, 0};
        for (size_t k = 0; k < nearest.size(); ++k) {
            const int32_t j = nearest[k].Point;
            const int32_t quarter = (x[j] >= x[i] ? 1 : 0) + (y[j] >= y[i] ? 2 : 0);
            if (static_cast<int32_t>(k) < weighed || inQuarter[quarter] < 2) {
                near[i].push_back(j);
                edges.emplace_back(i, j);
            }
            ++inQuarter[quarter];
        }
        if (stopped())
            return {};
    }
    TCandidateGraph graph;
    BuildCandidateGraph(legs, 0, edges, graph);

    // A short ascent of the penalties on the graph.
    const TOneTreeShape shape = ShapeOfKind(kind, n);
    std::vector<double> penalties(static_cast<size_t>(n), 0.0);
    TPenaltyTree spanning;
    SparsePenaltyTree(graph, penalties, shape.Special, spanning);
    TOneTree oneTree = OneTreeOf(spanning, penalties, shape, LightestEdgesOfGraph(graph, penalties, shape.Special));
    std::vector<double> best = penalties;
    long double bestValue = oneTree.Value;
    std::vector<int32_t> lastSlopes = oneTree.Slopes;
    const int32_t steps = AscentSteps(n, weighing);
    long double stepSize = 0.01L * std::max(oneTree.Value, 0.0L) / n;
    for (int32_t step = 0; step < steps && oneTree.SquaredNorm != 0; ++step) {
        for (int32_t i = 0; i < n; ++i) {
            penalties[i] += static_cast<double>(stepSize * (0.7L * oneTree.Slopes[i] + 0.3L * lastSlopes[i]));
            lastSlopes[i] = oneTree.Slopes[i];
        }
        SparsePenaltyTree(graph, penalties, shape.Special, spanning);
        oneTree = OneTreeOf(spanning, penalties, shape, LightestEdgesOfGraph(graph, penalties, shape.Special));
        if (oneTree.Value > bestValue) {
            bestValue = oneTree.Value;
            best = penalties;
        }
        if ((step + 1) % std::max(1, steps / 6) == 0)
            stepSize /= 2;
        if (stopped())
            return {};
    }
    penalties = best;
    SparsePenaltyTree(graph, penalties, -1, spanning);
    std::vector<double> edgeWeights(static_cast<size_t>(n), 0.0);
    for (int32_t i = 0; i < n; ++i) {
        const int32_t parent = spanning.Parents[i];
        if (parent >= 0)
            edgeWeights[i] = (legs.Leg(i, parent) + penalties[i]) + penalties[parent];
    }
    const TPathMaxima maxima(spanning.Parents, edgeWeights);

    std::vector<std::pair<double, int32_t>> costs;
    for (int32_t i = 0; i < n; ++i) {
        costs.clear();
        for (const int32_t j : near[i]) {
            const double weight = (legs.Leg(i, j) + penalties[i]) + penalties[j];
            const double heaviest = maxima.Between(i, j);
            costs.emplace_back(heaviest < 0 ? weight : weight - heaviest, j);
        }
        std::sort(costs.begin(), costs.end(), [&](const auto& a, const auto& b) {
            return a.first < b.first || (a.first == b.first && legs.Leg(i, a.second) < legs.Leg(i, b.second));
        });
        const int32_t taken = std::min<int32_t>(count, static_cast<int32_t>(costs.size()));
        std::vector<int32_t> chosen;
        for (int32_t k = 0; k < taken; ++k)
            chosen.push_back(costs[k].second);
        std::sort(chosen.begin(), chosen.end(), [&](int32_t a, int32_t b) {
            const double la = legs.Leg(i, a);
            const double lb = legs.Leg(i, b);
            return la < lb || (la == lb && a < b);
        });
        std::copy(chosen.begin(), chosen.end(), lists.begin() + static_cast<size_t>(i) * count);
        if (stopped())
            return {};
    }
    return {TNeighbourLists(count, std::move(lists)), std::move(penalties)};
}
