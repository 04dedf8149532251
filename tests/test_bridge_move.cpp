#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>

#include "search/local/bridge_move.h"
#include "search/local/local_optimiser.h"
#include "search/neighbours/neighbour_lists.h"
#include "support/kind_reference.h"
#include "support/point_sets.h"
#include "support/search_reference.h"

namespace {

// The ring's length as moves weigh it.
double RingLength(const TLocalRing& route)
{
    const TRouteRing& ring = route.Ring();
    double sum = 0.0;
    for (int32_t p = 0; p < ring.Size(); ++p)
        sum += route.Distance(ring.At(p), ring.At(p + 1 == ring.Size() ? 0 : p + 1));
    return sum;
}

// The largest gain of any double bridge on the ring, found by trying every
// four legs: the move can't claim more.
double BestBridgeByTrial(const TLocalRing& route)
{
    const TRouteRing& ring = route.Ring();
    const int32_t size = ring.Size();
    auto at = [&](int32_t p) { return ring.At(p % size); };
    double best = 0.0;
    for (int32_t a = 0; a < size; ++a)
        for (int32_t b = a + 1; b < size; ++b)
            for (int32_t c = b + 1; c < size; ++c)
                for (int32_t d = c + 1; d < size; ++d) {
                    const int32_t cuts[4] = {a, b, c, d};
                    bool fixed = false;
                    double dropped = 0.0;
                    for (int32_t p : cuts) {
                        fixed = fixed || route.Fixed(at(p), at(p + 1));
                        dropped += route.Distance(at(p), at(p + 1));
                    }
                    if (fixed)
                        continue;
                    // a B C D e becomes a D C B e.
                    const double joined = route.Distance(at(a), at(c + 1)) + route.Distance(at(d), at(b + 1)) +
                                          route.Distance(at(c), at(a + 1)) + route.Distance(at(b), at(d + 1));
                    best = std::max(best, dropped - joined);
                }
    return best;
}

}  // namespace

// From random routes of every kind over sets of every awkward shape, a
// double bridge from any point keeps the route whole and of its kind,
// shortens it by what it claims, and claims no more than the best double
// bridge found by trying every four legs; one that claims nothing leaves
// the route as it was.
TEST(BridgeMove, GainIsWhatTheRouteGotShorterAndNoMoreThanAnyBridgeGives)
{
    std::mt19937 random(71);
    int bridges = 0;
    for (int shape = 0; shape < skKindCount; ++shape) {
        for (int32_t n : {7, 8, 11, 14, 30}) {
            const TPointArray points = MakeSet(shape, n, random);
            const TNeighbourLists lists = NeighbourListsOf(points, LocalNeighbourCount);
            const TLegMeter legs = TLegMeter::OfPoints(points);
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                TLocalOptimiser optimiser(legs, lists, kind);
                optimiser.SetRoute(RandomRouteOfKind(kind, n, random));
                const double scale = std::max(1.0, RingLength(optimiser));
                for (int32_t look = 0; look < 3 * n; ++look) {
                    const TSpecimen before = optimiser.Route();
                    const double length = RingLength(optimiser);
                    const double possible =
                        n <= 14 ? BestBridgeByTrial(optimiser) : std::numeric_limits<double>::infinity();
                    const double gain = ImproveByDoubleBridge(optimiser, static_cast<int32_t>(random() % n));
                    const TSpecimen after = optimiser.Route();
                    const std::string where = "shape " + std::to_string(shape) + ", n = " + std::to_string(n);
                    ASSERT_TRUE(IsPermutation(after) && RouteFitsKind(after, kind, n)) << where;
                    if (gain == 0.0) {
                        ASSERT_EQ(after, before) << where;
                        continue;
                    }
                    ++bridges;
                    ASSERT_GT(gain, optimiser.Epsilon()) << where;
                    ASSERT_NEAR(length - RingLength(optimiser), gain, 1e-9 * scale) << where;
                    ASSERT_LE(gain, possible + 1e-9 * scale) << where;
                }
            }
        }
    }
    EXPECT_GT(bridges, 300);
}
