#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "search/local/chain_move.h"
#include "search/local/local_optimiser.h"
#include "search/local/local_search.h"
#include "search/neighbours/neighbour_lists.h"
#include "support/point_set_kinds.h"
#include "support/point_sets.h"
#include "support/search_reference.h"

namespace {

// The open route's length in plain arithmetic, as the optimiser measures.
double PlainLength(const TPointArray& points, const TSpecimen& route)
{
    double sum = 0.0;
    for (size_t i = 0; i + 1 < route.size(); ++i) {
        const TMapPoint& a = points[route[i]];
        const TMapPoint& b = points[route[i + 1]];
        sum += std::hypot(static_cast<double>(a.X) - b.X, static_cast<double>(a.Y) - b.Y);
    }
    return sum;
}

TSpecimen ShuffledRoute(int32_t n, int32_t start, std::mt19937& random)
{
    TSpecimen route(n);
    std::iota(route.begin(), route.end(), 0);
    std::shuffle(route.begin(), route.end(), random);
    if (start >= 0)
        std::iter_swap(route.begin(), std::find(route.begin(), route.end(), start));
    return route;
}

}  // namespace

// From random routes over sets of every awkward kind, each chain made from
// any point leaves a whole route from the fixed point, shorter by what the
// chain claims; a chain that claims nothing leaves the route as it was.
TEST(ChainMove, GainIsWhatTheRouteGotShorter)
{
    std::mt19937 random(61);
    int chains = 0;
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n : {5, 6, 9, 14, 30, 60}) {
            for (int trial = 0; trial < 6; ++trial) {
                const TPointArray points = MakeSet(kind, n, random);
                const int32_t start = trial % 2 == 0 ? -1 : static_cast<int32_t>(random() % n);
                const TNeighbourLists lists = NeighbourListsOf(points, LocalNeighbourCount);
                const TLegMeter legs = TLegMeter::OfPoints(points);
                TLocalOptimiser optimiser(legs, lists, {false, start});
                optimiser.SetRoute(ShuffledRoute(n, start, random));
                TChainMove chain;
                const double scale = std::max(1.0, PlainLength(points, optimiser.Route()));
                for (int32_t look = 0; look < 4 * n; ++look) {
                    const TSpecimen before = optimiser.Route();
                    const double gain = chain.Improve(optimiser, static_cast<int32_t>(random() % n));
                    const TSpecimen after = optimiser.Route();
                    ASSERT_TRUE(IsPermutation(after) && static_cast<int32_t>(after.size()) == n);
                    ASSERT_TRUE(start < 0 || after[0] == start) << "kind " << kind << ", n = " << n;
                    if (gain == 0.0) {
                        ASSERT_EQ(after, before);
                        continue;
                    }
                    ++chains;
                    ASSERT_GT(gain, optimiser.Epsilon());
                    ASSERT_NEAR(PlainLength(points, before) - PlainLength(points, after), gain, 1e-9 * scale)
                        << "kind " << kind << ", n = " << n;
                    ASSERT_LT(RouteLengthOfPoints(points, after), RouteLengthOfPoints(points, before));
                }
            }
        }
    }
    EXPECT_GT(chains, 500);
}

// Polished with chain moves from random routes, sets of up to nine points
// are never given a route shorter than the shortest found by trying every
// order (a chain that miscounts would be), and nearly always that route;
// kicks close the rest.
TEST(ChainMove, PolishesSmallSetsToTheirShortestRoute)
{
    std::mt19937 random(62);
    int sets = 0;
    int shortest = 0;
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n : {6, 7, 8, 9}) {
            for (int trial = 0; trial < 3; ++trial) {
                TPointSetState state;
                SetPoints(state, MakeSet(kind, n, random));
                const TPointArray& points = state.FPoints;
                const int32_t start = trial == 1 ? static_cast<int32_t>(random() % n) : -1;
                const double best = ShortestLengthByTrial(state.FDistances, start);
                const TNeighbourLists lists = NeighbourListsOf(points, LocalNeighbourCount);
                const TLegMeter legs = TLegMeter::OfPoints(points);
                TLocalOptimiser optimiser(legs, lists, {false, start});
                optimiser.SetRoute(ShuffledRoute(n, start, random));
                optimiser.PolishWithChains({});
                const TSpecimen polished = optimiser.Route();
                ASSERT_TRUE(IsPermutation(polished) && (start < 0 || polished[0] == start));
                const double length = RouteLength(state.FDistances, polished);
                // The same route read backwards may differ in the last bit.
                EXPECT_GE(length, best * (1 - 1e-12)) << "kind " << kind << ", n = " << n;
                ++sets;
                shortest += length <= best * (1 + 1e-12);
                const TSpecimen kicked = KickedRoute(points, start, 50, 7u + static_cast<uint32_t>(trial));
                EXPECT_LE(RouteLength(state.FDistances, kicked), best * (1 + 1e-12))
                    << "kind " << kind << ", n = " << n << ", trial " << trial;
            }
        }
    }
    EXPECT_GE(shortest, sets - sets / 10) << shortest << " of " << sets;
}

// The same seed gives the same route, whatever the random state before;
// the state is given back.
TEST(KickWalk, KickedRouteRepeatsFromItsSeed)
{
    std::mt19937 random(63);
    const TPointArray points = MakeSet(skScattered, 200, random);
    SetRandomState(5);
    const TSpecimen first = KickedRoute(points, 17, 500, 99u);
    EXPECT_EQ(RandomState(), 5u);
    SetRandomState(6);
    const TSpecimen second = KickedRoute(points, 17, 500, 99u);
    EXPECT_EQ(RandomState(), 6u);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first[0], 17);
    // Two seeds may both find the shortest route; after a few kicks they
    // have not.
    EXPECT_NE(KickedRoute(points, 17, 20, 100u), KickedRoute(points, 17, 20, 99u));
}
