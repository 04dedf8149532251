#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <string>

#include "search/cut/cut_separation.h"
#include "search/cut/path_combs.h"

namespace {

// How often the edge leaves the cut's sets, by looking each end up.
int32_t Crossings(const TTourCut& cut, int32_t a, int32_t b)
{
    int32_t count = 0;
    for (const std::vector<int32_t>& set : cut.Sets) {
        const bool hasA = std::find(set.begin(), set.end(), a) != set.end();
        const bool hasB = std::find(set.begin(), set.end(), b) != set.end();
        count += hasA != hasB ? 1 : 0;
    }
    return count;
}

double LeftSide(const TTourCut& cut, const std::vector<TEdgeValue>& point)
{
    double sum = 0;
    for (const TEdgeValue& edge : point)
        sum += edge.X * Crossings(cut, edge.A, edge.B);
    return sum;
}

// The least left-hand side of the cut over every tour of the nodes: the
// table over every subset of the nodes but 0, of the least sum of a path
// from 0 through the subset to each of its nodes.
int32_t LeastOverTours(const TTourCut& cut, int32_t nodes)
{
    const int32_t others = nodes - 1;
    const size_t width = static_cast<size_t>(others);
    const size_t subsets = size_t{1} << others;
    std::vector<int32_t> cost(static_cast<size_t>(nodes * nodes));
    for (int32_t a = 0; a < nodes; ++a)
        for (int32_t b = 0; b < nodes; ++b)
            cost[static_cast<size_t>(a * nodes + b)] = Crossings(cut, a, b);
    auto costOf = [&](int32_t a, int32_t b) { return cost[static_cast<size_t>(a * nodes + b)]; };
    const int32_t none = std::numeric_limits<int32_t>::max() / 2;
    std::vector<int32_t> least(subsets * width, none);
    for (int32_t v = 0; v < others; ++v)
        least[(size_t{1} << v) * width + static_cast<size_t>(v)] = costOf(0, v + 1);
    for (size_t subset = 1; subset < subsets; ++subset) {
        for (int32_t v = 0; v < others; ++v) {
            const int32_t here = least[subset * width + static_cast<size_t>(v)];
            if (!(subset >> v & 1) || here >= none)
                continue;
            for (int32_t w = 0; w < others; ++w) {
                if (subset >> w & 1)
                    continue;
                int32_t& next = least[(subset | size_t{1} << w) * width + static_cast<size_t>(w)];
                next = std::min(next, here + costOf(v + 1, w + 1));
            }
        }
    }
    int32_t best = none;
    for (int32_t v = 0; v < others; ++v)
        best = std::min(best, least[(subsets - 1) * width + static_cast<size_t>(v)] + costOf(v + 1, 0));
    return best;
}

// A point whose one broken comb has teeth of two paths each: three paths
// in the handle and three outside, each of `length` nodes joined by edges
// at 1; each path in the handle joined to its partner outside by two edges
// of `tooth` (below 1/2, so that no edge alone is a tooth), the rest of
// each end's 2 taken by a ring through the paths on either side. The nodes
// are numbered in `order`.
std::vector<TEdgeValue> TwoPathTeethPoint(int32_t length, double tooth, const std::vector<int32_t>& order)
{
    std::vector<TEdgeValue> point;
    auto node = [&](int32_t path, int32_t k) { return order[static_cast<size_t>(path * length + k)]; };
    auto first = [&](int32_t path) { return node(path, 0); };
    auto last = [&](int32_t path) { return node(path, length - 1); };
    for (int32_t path = 0; path < 6; ++path)
        for (int32_t k = 0; k + 1 < length; ++k)
            point.push_back({node(path, k), node(path, k + 1), 1.0});
    for (int32_t side = 0; side < 2; ++side) {
        for (int32_t p = 0; p < 3; ++p) {
            const int32_t path = 3 * side + p;
            const int32_t next = 3 * side + (p + 1) % 3;
            point.push_back({first(path), last(next), 1.0 - tooth});
        }
    }
    for (int32_t p = 0; p < 3; ++p) {
        point.push_back({first(p), first(p + 3), tooth});
        point.push_back({last(p), last(p + 3), tooth});
    }
    return point;
}

}  // namespace

// The comb of the point above is found however its nodes are numbered, its
// paths long and its teeth weighed, where the point's own blossoms find
// nothing; every cut found is broken by the point and kept by every tour.
TEST(PathCombs, FindsTeethOfTwoPathsThatBlossomsMiss)
{
    // The comb is broken (12 - 6 tooth below 10) for teeth above 1/3.
    const struct {
        int32_t length;
        double tooth;
        bool broken;
    } rows[] = {{2, 0.45, true}, {2, 0.4, true},  {2, 0.35, true},  {3, 0.45, true},
                {3, 0.4, true},  {3, 0.3, false}, {2, 0.25, false}, {1, 0.45, false}};
    std::mt19937 random(5);
    for (const auto& row : rows) {
        for (int shuffle = 0; shuffle < 4; ++shuffle) {
            const int32_t nodes = 6 * row.length;
            std::vector<int32_t> order(static_cast<size_t>(nodes));
            std::iota(order.begin(), order.end(), 0);
            if (shuffle > 0)
                std::shuffle(order.begin(), order.end(), random);
            const std::vector<TEdgeValue> point = TwoPathTeethPoint(row.length, row.tooth, order);
            const std::string where = "length " + std::to_string(row.length) + ", tooth " + std::to_string(row.tooth);
            const std::vector<TTourCut> cuts = PathCombCuts(point, nodes, 8);
            for (const TTourCut& cut : cuts) {
                EXPECT_LT(LeftSide(cut, point), cut.Rhs - CutViolation) << where;
                // Every tour, where the table over them is small.
                if (nodes <= 12) {
                    EXPECT_GE(LeastOverTours(cut, nodes), cut.Rhs) << where;
                } else {
                    EXPECT_TRUE(ValidTourCut(cut, nodes)) << where;
                }
            }
            // Paths of single nodes shrink to nothing new.
            if (!row.broken || row.length == 1) {
                EXPECT_TRUE(cuts.empty()) << where;
                continue;
            }
            EXPECT_TRUE(ExactBlossomCuts(point, nodes, 8).empty()) << where;
            ASSERT_FALSE(cuts.empty()) << where;
            const TTourCut& comb = cuts.front();
            ASSERT_EQ(comb.Sets.size(), 4u) << where;
            for (size_t t = 1; t < comb.Sets.size(); ++t)
                EXPECT_EQ(comb.Sets[t].size(), static_cast<size_t>(2 * row.length)) << where;
            // The handle's six edges of `tooth` and three teeth of 4 - 2 (2 tooth).
            EXPECT_NEAR(LeftSide(comb, point), 6 * row.tooth + 3 * (4 - 4 * row.tooth), 1e-9) << where;
        }
    }
}
