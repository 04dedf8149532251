#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "search/local/route_merge.h"

namespace {

using TEdge = std::pair<int32_t, int32_t>;

std::set<TEdge> EdgesOf(const std::vector<int32_t>& order)
{
    std::set<TEdge> edges;
    for (size_t i = 0; i < order.size(); ++i) {
        const int32_t a = order[i];
        const int32_t b = order[(i + 1) % order.size()];
        edges.insert({std::min(a, b), std::max(a, b)});
    }
    return edges;
}

struct TPlane {
    std::vector<double> X;
    std::vector<double> Y;
    double Leg(int32_t a, int32_t b) const { return std::hypot(X[a] - X[b], Y[a] - Y[b]); }
    double Length(const std::vector<int32_t>& order) const
    {
        double sum = 0.0;
        for (size_t i = 0; i < order.size(); ++i)
            sum += Leg(order[i], order[(i + 1) % order.size()]);
        return sum;
    }
};

TPlane RandomPlane(int32_t n, std::mt19937& random)
{
    TPlane plane;
    for (int32_t i = 0; i < n; ++i) {
        plane.X.push_back(static_cast<double>(random() % 50));
        plane.Y.push_back(static_cast<double>(random() % 50));
    }
    return plane;
}

// order with the stretch from .. to turned round or shuffled.
std::vector<int32_t> Disturbed(std::vector<int32_t> order, std::mt19937& random)
{
    const int32_t n = static_cast<int32_t>(order.size());
    const int32_t from = static_cast<int32_t>(random() % n);
    const int32_t to = std::min(n, from + 2 + static_cast<int32_t>(random() % 6));
    if (random() % 2 == 0)
        std::reverse(order.begin() + from, order.begin() + to);
    else
        std::shuffle(order.begin() + from, order.begin() + to, random);
    return order;
}

}  // namespace

// Two rings that differ in two places far apart: the merge takes the
// shorter version of each place, whichever ring it comes from.
TEST(RouteMerge, TakesTheShorterPieceOfEachPart)
{
    // Points on a line 0 .. 19, the ring closing from 19 back to 0.
    TPlane plane;
    for (int32_t i = 0; i < 20; ++i) {
        plane.X.push_back(i);
        plane.Y.push_back(0);
    }
    std::vector<int32_t> straight(20);
    std::iota(straight.begin(), straight.end(), 0);
    // base detours at 3 .. 5, other at 13 .. 15.
    std::vector<int32_t> base = straight;
    std::swap(base[3], base[5]);
    std::vector<int32_t> other = straight;
    std::swap(other[13], other[15]);
    const auto leg = [&](int32_t a, int32_t b) { return plane.Leg(a, b); };
    const TMergedRing merged = MergeRings(base, other, leg, 1e-9);
    ASSERT_EQ(EdgesOf(merged.Order), EdgesOf(straight));
    EXPECT_NEAR(merged.Gain, plane.Length(base) - plane.Length(straight), 1e-9);
    // Nothing to gain from base itself.
    EXPECT_TRUE(MergeRings(straight, base, leg, 1e-9).Order.empty());
    EXPECT_TRUE(MergeRings(base, base, leg, 1e-9).Order.empty());
}

// A part that the rings leave by four legs, paired alike by both: base
// runs 5, 20, 7 and 19, 6, 21 where other runs 5, 6, 7 and 19, 20, 21, and
// the runs between lead into other parts (base's 13 before its 12, and its
// 26 before its 25), not back. Both of other's pieces are taken.
TEST(RouteMerge, TakesAPartLeftByFourLegsWhereBothRingsPairThemAlike)
{
    TPlane plane;
    for (int32_t i = 0; i < 30; ++i) {
        plane.X.push_back(i);
        plane.Y.push_back(0);
    }
    std::vector<int32_t> straight(30);
    std::iota(straight.begin(), straight.end(), 0);
    std::vector<int32_t> base = straight;
    std::swap(base[6], base[20]);
    std::swap(base[12], base[13]);
    std::swap(base[25], base[26]);
    const auto leg = [&](int32_t a, int32_t b) { return plane.Leg(a, b); };
    const TMergedRing merged = MergeRings(base, straight, leg, 1e-9);
    ASSERT_EQ(EdgesOf(merged.Order), EdgesOf(straight));
    EXPECT_NEAR(merged.Gain, plane.Length(base) - plane.Length(straight), 1e-9);
}

// Whatever the two rings, a merged ring visits every node once, keeps every
// leg both rings share, takes no leg neither has, and is shorter than base
// by the gain it reports.
TEST(RouteMerge, MergedRingIsWholeAndShorterByItsGain)
{
    std::mt19937 random(53);
    int merges = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const int32_t n = 4 + static_cast<int32_t>(random() % 40);
        const TPlane plane = RandomPlane(n, random);
        std::vector<int32_t> base(n);
        std::iota(base.begin(), base.end(), 0);
        std::shuffle(base.begin(), base.end(), random);
        std::vector<int32_t> other = base;
        for (int32_t k = 1 + static_cast<int32_t>(random() % 4); k > 0; --k)
            other = Disturbed(other, random);
        if (random() % 2 == 0)
            std::swap(base, other);
        const TMergedRing merged = MergeRings(
            base, other, [&](int32_t a, int32_t b) { return plane.Leg(a, b); }, 1e-9);
        if (merged.Order.empty()) {
            EXPECT_EQ(merged.Gain, 0.0);
            continue;
        }
        ++merges;
        std::vector<int32_t> sorted = merged.Order;
        std::sort(sorted.begin(), sorted.end());
        for (int32_t i = 0; i < n; ++i)
            ASSERT_EQ(sorted[i], i) << "trial " << trial;
        const std::set<TEdge> baseEdges = EdgesOf(base);
        const std::set<TEdge> otherEdges = EdgesOf(other);
        for (const TEdge& edge : EdgesOf(merged.Order))
            EXPECT_TRUE(baseEdges.count(edge) || otherEdges.count(edge)) << "trial " << trial;
        const std::set<TEdge> mergedEdges = EdgesOf(merged.Order);
        for (const TEdge& edge : baseEdges) {
            if (otherEdges.count(edge)) {
                EXPECT_TRUE(mergedEdges.count(edge)) << "trial " << trial;
            }
        }
        EXPECT_GT(merged.Gain, 1e-9) << "trial " << trial;
        EXPECT_NEAR(plane.Length(base) - plane.Length(merged.Order), merged.Gain, 1e-9) << "trial " << trial;
    }
    EXPECT_GT(merges, 300);
}
