#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "search/bound/penalty_tree.h"
#include "search/neighbours/candidate_graph.h"
#include "support/point_sets.h"

namespace {

struct TCoordinates {
    std::vector<double> X;
    std::vector<double> Y;
};

TCoordinates CoordinatesOf(const std::vector<TMapPoint>& points)
{
    TCoordinates c;
    for (const TMapPoint& p : points) {
        c.X.push_back(p.X);
        c.Y.push_back(p.Y);
    }
    return c;
}

double Weight(const TCoordinates& c, const std::vector<double>& penalties, int32_t u, int32_t v)
{
    return (PlainDistance(c.X[v] - c.X[u], c.Y[v] - c.Y[u]) + penalties[u]) + penalties[v];
}

// Kruskal's algorithm over every pair, with the same computed weights.
double ReferenceTreeWeight(const TCoordinates& c, const std::vector<double>& penalties)
{
    const int32_t n = static_cast<int32_t>(c.X.size());
    std::vector<std::pair<double, std::pair<int32_t, int32_t>>> edges;
    for (int32_t u = 0; u < n; ++u)
        for (int32_t v = u + 1; v < n; ++v)
            edges.push_back({Weight(c, penalties, u, v), {u, v}});
    std::sort(edges.begin(), edges.end());
    std::vector<int32_t> root(n);
    std::iota(root.begin(), root.end(), 0);
    auto find = [&](int32_t a) {
        while (root[a] != a)
            a = root[a] = root[root[a]];
        return a;
    };
    double weight = 0;
    for (const auto& [w, e] : edges) {
        const int32_t a = find(e.first);
        const int32_t b = find(e.second);
        if (a != b) {
            root[a] = b;
            weight += w;
        }
    }
    return weight;
}

std::vector<double> RandomPenalties(int32_t n, std::mt19937& random)
{
    std::vector<double> penalties(n);
    for (double& p : penalties)
        p = static_cast<double>(static_cast<int32_t>(random() % 2001) - 1000) / 37.0;
    return penalties;
}

}  // namespace

TEST(PenaltyTree, BothTreesMatchKruskalOverEveryPair)
{
    std::mt19937 random(17);
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n : {1, 2, 3, 9, 40}) {
            const TPointArray points = MakeSet(kind, n, random);
            const TCoordinates c = CoordinatesOf(points);
            const std::vector<double> penalties = RandomPenalties(n, random);
            const double expected = ReferenceTreeWeight(c, penalties);
            TPenaltyTree complete;
            const TLegMeter legs = TLegMeter::OfPoints(points);
            ASSERT_TRUE(CompletePenaltyTree(legs, penalties, -1, complete, {}));
            // Every point reaches the others: a candidate graph of all pairs.
            TCandidateGraph graph;
            ASSERT_TRUE(BuildCandidateGraph(legs, n, {}, graph));
            TPenaltyTree sparse;
            SparsePenaltyTree(graph, penalties, -1, sparse);
            const double tolerance = 1e-12 * (1 + static_cast<double>(complete.Magnitude));
            EXPECT_NEAR(static_cast<double>(complete.Weight), expected, tolerance) << "kind " << kind << ", n " << n;
            EXPECT_NEAR(static_cast<double>(sparse.Weight), expected, tolerance) << "kind " << kind << ", n " << n;
            EXPECT_EQ(std::count(complete.Parents.begin(), complete.Parents.end(), -1), n > 0 ? 1 : 0);
        }
    }
}

// Every point is linked to each point nearer than its neighbourCount-th
// nearest, however the point tree splits the set.
TEST(CandidateGraph, HoldsEveryNearestNeighbour)
{
    std::mt19937 random(29);
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n : {2, 7, 60, 500}) {
            const TPointArray points = MakeSet(kind, n, random);
            const TCoordinates c = CoordinatesOf(points);
            const int32_t count = 5;
            TCandidateGraph graph;
            ASSERT_TRUE(BuildCandidateGraph(TLegMeter::OfPoints(points), count, {}, graph));
            for (int32_t i = 0; i < n; ++i) {
                std::vector<double> distances;
                for (int32_t j = 0; j < n; ++j)
                    if (j != i)
                        distances.push_back(PlainDistance(c.X[j] - c.X[i], c.Y[j] - c.Y[i]));
                std::sort(distances.begin(), distances.end());
                const double kth = distances[std::min<size_t>(count, distances.size()) - 1];
                const auto first = graph.Targets.begin() + graph.Starts[i];
                const auto last = graph.Targets.begin() + graph.Starts[i + 1];
                for (int32_t j = 0; j < n; ++j) {
                    if (j == i || PlainDistance(c.X[j] - c.X[i], c.Y[j] - c.Y[i]) >= kth)
                        continue;
                    ASSERT_NE(std::find(first, last, j), last)
                        << "kind " << kind << ", n " << n << ", " << i << "-" << j;
                }
            }
        }
    }
}
