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

// A group of nodes: its edges inside and how its ends share the edges out.
struct TGroupShape {
    int32_t Size = 0;
    std::vector<TEdgeValue> Inside;
    std::vector<std::pair<int32_t, double>> First;
    std::vector<std::pair<int32_t, double>> Last;
};

// Two nodes joined by an edge at 1, or a set of three that no path of edges
// at 1 covers yet whose edges out add up to 2.
const TGroupShape Pair = {2, {{0, 1, 1.0}}, {{0, 1.0}}, {{1, 1.0}}};
const TGroupShape Triangle = {3, {{0, 1, 0.5}, {0, 2, 0.5}, {1, 2, 1.0}}, {{0, 1.0}}, {{1, 0.5}, {2, 0.5}}};

// A point whose one broken comb has teeth of two groups each: three groups
// in the handle and three outside, each in the handle joined to its partner
// outside by edges of `tooth` at each end (below 1/2, so that no edge alone
// is a tooth), the rest of each end's share taken by a ring through the
// groups on either side. The nodes are numbered in `order`.
std::vector<TEdgeValue> GroupTeethPoint(const TGroupShape& shape, double tooth, const std::vector<int32_t>& order)
{
    std::vector<TEdgeValue> point;
    auto node = [&](int32_t group, int32_t k) { return order[static_cast<size_t>(group * shape.Size + k)]; };
    for (int32_t group = 0; group < 6; ++group) {
        for (const TEdgeValue& edge : shape.Inside)
            point.push_back({node(group, edge.A), node(group, edge.B), edge.X});
        const int32_t next = 3 * (group / 3) + (group + 1) % 3;
        for (const auto& [a, x] : shape.First)
            for (const auto& [b, y] : shape.Last)
                point.push_back({node(group, a), node(next, b), (1 - tooth) * x * y});
    }
    for (int32_t group = 0; group < 3; ++group)
        for (const auto& ends : {shape.First, shape.Last})
            for (const auto& [a, x] : ends)
                point.push_back({node(group, a), node(group + 3, a), tooth * x});
    return point;
}

}  // namespace

// The comb of the point above, however its nodes are numbered: found where
// its teeth are paths, or sets given to be taken whole, and the point's own
// blossoms find nothing; broken (12 - 6 tooth below 10) for teeth above
// 1/3. Every cut found is broken by the point and a valid comb, and the
// comb is kept by every tour.
TEST(PathCombs, FindsTeethOfTwoGroupsThatBlossomsMiss)
{
    const struct {
        const TGroupShape* shape;
        double tooth;
        bool setsGiven;
        bool found;
    } rows[] = {{&Pair, 0.45, false, true},      {&Pair, 0.36, false, true},    {&Pair, 0.3, false, false},
                {&Triangle, 0.45, false, false}, {&Triangle, 0.45, true, true}, {&Triangle, 0.36, true, true},
                {&Triangle, 0.3, true, false}};
    std::mt19937 random(5);
    for (const auto& row : rows) {
        for (int shuffle = 0; shuffle < 3; ++shuffle) {
            const int32_t nodes = 6 * row.shape->Size;
            std::vector<int32_t> order(static_cast<size_t>(nodes));
            std::iota(order.begin(), order.end(), 0);
            if (shuffle > 0)
                std::shuffle(order.begin(), order.end(), random);
            std::vector<std::vector<int32_t>> sets;
            for (int32_t group = 0; row.setsGiven && group < 6; ++group) {
                sets.emplace_back(order.begin() + group * row.shape->Size,
                                  order.begin() + (group + 1) * row.shape->Size);
                std::sort(sets.back().begin(), sets.back().end());
            }
            const std::vector<TEdgeValue> point = GroupTeethPoint(*row.shape, row.tooth, order);
            const std::string where = "size " + std::to_string(row.shape->Size) + ", tooth " +
                                      std::to_string(row.tooth) + (row.setsGiven ? ", sets" : "");
            const std::vector<TTourCut> cuts = PathCombCuts(point, nodes, 8, {}, sets);
            for (const TTourCut& cut : cuts) {
                EXPECT_LT(LeftSide(cut, point), cut.Rhs - CutViolation) << where;
                EXPECT_TRUE(ValidTourCut(cut, nodes)) << where;
            }
            EXPECT_TRUE(ExactBlossomCuts(point, nodes, 8).empty()) << where;
            if (!row.found) {
                EXPECT_TRUE(cuts.empty()) << where;
                continue;
            }
            ASSERT_FALSE(cuts.empty()) << where;
            const TTourCut& comb = cuts.front();
            ASSERT_EQ(comb.Sets.size(), 4u) << where;
            for (size_t t = 1; t < comb.Sets.size(); ++t)
                EXPECT_EQ(comb.Sets[t].size(), static_cast<size_t>(2 * row.shape->Size)) << where;
            EXPECT_NEAR(LeftSide(comb, point), 12 - 6 * row.tooth, 1e-9) << where;
            EXPECT_GE(LeastOverTours(comb, nodes), comb.Rhs) << where;
        }
    }
}
