#include <gtest/gtest.h>

#include <random>

#include "search/bound/penalty_tree.h"
#include "search/bound/space_tree.h"
#include "support/measure_kind_sets.h"

namespace {

std::vector<double> RandomPenalties(int32_t n, double scale, std::mt19937& random)
{
    std::vector<double> penalties(static_cast<size_t>(n));
    for (double& p : penalties)
        p = scale * static_cast<double>(static_cast<int32_t>(random() % 2001) - 1000) / 1000.0;
    return penalties;
}

}  // namespace

// Borůvka's rounds through the k-d tree weigh what Prim's algorithm over
// every pair weighs, on every measure, with and without penalties (large
// ones too, which make far pairs the lightest), with a point left out, and
// on sets full of points at one place.
TEST(SpaceTree, SpanningTreeWeighsWhatPrimsOverEveryPairWeighs)
{
    std::mt19937 random(77);
    int trees = 0;
    for (const TMetric metric : EveryMetric()) {
        for (int32_t n : {1, 2, 3, 17, 300, 1200}) {
            const TLegMeter legs(TMeasure(metric, MakePlaces(metric, n, random)));
            for (const double scale : {0.0, 0.3, 3.0}) {
                const double span = legs.LongestLeg();
                const std::vector<double> penalties = RandomPenalties(n, scale * span / std::sqrt(n), random);
                const int32_t excluded = n > 1 && random() % 2 == 0 ? static_cast<int32_t>(random() % n) : -1;
                TPenaltyTree prim;
                ASSERT_TRUE(CompletePenaltyTree(legs, penalties, excluded, prim, {}));
                TSpaceTree space(legs, excluded);
                TPenaltyTree boruvka;
                ASSERT_TRUE(space.SpanningTree(penalties, boruvka));
                const std::string name = MetricKey(metric) + ", n = " + std::to_string(n);
                EXPECT_NEAR(static_cast<double>(boruvka.Weight), static_cast<double>(prim.Weight),
                            1e-12 * static_cast<double>(prim.Magnitude + 1))
                    << name;
                // A spanning tree: every point but the one left out hangs
                // from another, but one root.
                int32_t roots = 0;
                for (int32_t i = 0; i < n; ++i) {
                    if (i == excluded)
                        EXPECT_EQ(boruvka.Parents[i], -1) << name;
                    else
                        roots += boruvka.Parents[i] < 0;
                }
                EXPECT_EQ(roots, n - (excluded >= 0 ? 1 : 0) > 0 ? 1 : 0) << name;
                ++trees;
            }
        }
    }
    EXPECT_EQ(trees, 6 * 6 * 3);
}

TEST(SpaceTree, StopsWhenAsked)
{
    std::mt19937 random(78);
    const TLegMeter legs(TMeasure(TMetric::Plane, MakePlaces(TMetric::Plane, 2000, random)));
    TSpaceTree space(legs, -1);
    TPenaltyTree tree;
    int calls = 0;
    EXPECT_FALSE(space.SpanningTree(std::vector<double>(2000, 0.0), tree, [&calls] { return ++calls < 3; }));
    EXPECT_EQ(calls, 3);
}
