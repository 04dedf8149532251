#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "search/bound/alpha_nearness.h"
#include "search/local/local_search.h"
#include "search/neighbours/point_tree.h"
#include "support/measure_kind_sets.h"

// Every row holds its count of other points, each once, nearer first, on
// every measure, with points at one place among them.
TEST(AlphaNearness, ListsHoldOtherPointsNearerFirst)
{
    std::mt19937 random(81);
    for (const TMetric metric : EveryMetric()) {
        for (int32_t n : {1, 2, 3, 6, 40, 300}) {
            const TLegMeter legs(TMeasure(metric, MakePlaces(metric, n, random)));
            for (const TRouteKind& kind : EveryKind(n, random)) {
                const TNeighbourLists lists = AlphaCandidates(legs, kind, 5).Lists;
                ASSERT_EQ(lists.Count(), std::min(5, std::max(n - 1, 0))) << MetricKey(metric);
                for (int32_t i = 0; i < n; ++i) {
                    const int32_t* row = lists.Of(i);
                    for (int32_t k = 0; k < lists.Count(); ++k) {
                        ASSERT_NE(row[k], i);
                        ASSERT_TRUE(row[k] >= 0 && row[k] < n);
                        ASSERT_EQ(std::count(row, row + lists.Count(), row[k]), 1);
                        if (k > 0) {
                            ASSERT_LE(legs.Leg(i, row[k - 1]), legs.Leg(i, row[k])) << MetricKey(metric);
                        }
                    }
                }
            }
        }
    }
}

// Five legs per point by α-nearness hold nearly every leg of a good route,
// more than the five nearest points hold (far more on a clustered set).
TEST(AlphaNearness, FiveCandidatesHoldNearlyEveryLegOfAGoodRoute)
{
    std::mt19937 random(82);
    for (const bool clustered : {false, true}) {
        TPlaceArray places;
        for (int32_t i = 0; i < 800; ++i) {
            const double cx = clustered ? 1000.0 * static_cast<double>(random() % 8) : 0.0;
            const double cy = clustered ? 1000.0 * static_cast<double>(random() % 8) : 0.0;
            const double side = clustered ? 60.0 : 8000.0;
            places.push_back({cx + side * (random() % 10000) / 10000.0, cy + side * (random() % 10000) / 10000.0});
        }
        const TMeasure measure(TMetric::Plane, places);
        const TRouteProblem problem = MakeRouteProblem(measure, {true, -1, -1}, false);
        const TSpecimen route = KickedRoute(problem, 20000, 5u);
        const TLegMeter legs(measure);
        const TPointTree tree(legs.PlaneX(), legs.PlaneY());
        const auto held = [&route](const TNeighbourLists& lists) {
            int32_t legsHeld = 0;
            for (size_t k = 0; k < route.size(); ++k) {
                const int32_t a = route[k];
                const int32_t b = route[(k + 1) % route.size()];
                const int32_t* rowA = lists.Of(a);
                const int32_t* rowB = lists.Of(b);
                legsHeld += std::find(rowA, rowA + lists.Count(), b) != rowA + lists.Count() ||
                            std::find(rowB, rowB + lists.Count(), a) != rowB + lists.Count();
            }
            return legsHeld;
        };
        const int32_t byAlpha = held(AlphaCandidates(legs, problem.Kind, 5).Lists);
        const int32_t byNearness = held(TNeighbourLists(tree, 5));
        EXPECT_GE(byAlpha, 800 * 97 / 100) << (clustered ? "clustered" : "uniform");
        EXPECT_GT(byAlpha, byNearness) << (clustered ? "clustered" : "uniform");
    }
}

TEST(AlphaNearness, StopLeavesNoLists)
{
    std::mt19937 random(83);
    const TLegMeter legs(TMeasure(TMetric::Plane, MakePlaces(TMetric::Plane, 500, random)));
    EXPECT_EQ(AlphaCandidates(legs, {}, 5, [] { return false; }).Lists.Count(), 0);
}
