#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "search/local/route_ring.h"
#include "support/shuffled_ring.h"

namespace {

using TEdges = std::vector<std::pair<int32_t, int32_t>>;

std::pair<int32_t, int32_t> Edge(int32_t a, int32_t b)
{
    return {std::min(a, b), std::max(a, b)};
}

TEdges EdgesOf(const TRouteRing& ring)
{
    TEdges edges;
    for (int32_t p = 0; p < ring.Size(); ++p)
        edges.push_back(Edge(ring.At(p), ring.At((p + 1) % ring.Size())));
    std::sort(edges.begin(), edges.end());
    return edges;
}

std::vector<int32_t> OrderOf(const TRouteRing& ring)
{
    std::vector<int32_t> order(ring.Size());
    for (int32_t p = 0; p < ring.Size(); ++p)
        order[p] = ring.At(p);
    return order;
}

// Makes the move with recording on. The ring must then hold the old edges
// less removed plus added, each node where its position says, and Undo must
// give the ring back exactly as it was.
template <class TMove>
void ExpectMove(TRouteRing& ring, const TEdges& removed, const TEdges& added, TMove move, int trial)
{
    const std::vector<int32_t> before = OrderOf(ring);
    TEdges expected = EdgesOf(ring);
    for (const auto& edge : removed) {
        const auto at = std::find(expected.begin(), expected.end(), Edge(edge.first, edge.second));
        ASSERT_NE(at, expected.end()) << "trial " << trial;
        expected.erase(at);
    }
    for (const auto& edge : added)
        expected.push_back(Edge(edge.first, edge.second));
    std::sort(expected.begin(), expected.end());

    ring.SetRecording(true);
    move();
    ASSERT_EQ(EdgesOf(ring), expected) << "trial " << trial;
    for (int32_t p = 0; p < ring.Size(); ++p)
        ASSERT_EQ(ring.Position(ring.At(p)), p) << "trial " << trial;
    ring.Undo();
    ASSERT_EQ(OrderOf(ring), before) << "trial " << trial;
}

int32_t Step(const TRouteRing& ring, int32_t node, bool forward)
{
    return forward ? ring.Next(node) : ring.Prev(node);
}

}  // namespace

TEST(RouteRing, ExchangeReplacesTwoEdgesEitherWayRound)
{
    std::mt19937 random(21);
    for (int trial = 0; trial < 3000; ++trial) {
        TRouteRing ring = ShuffledRing(4 + static_cast<int32_t>(random() % 12), random);
        const int32_t way = random() % 2 == 0 ? 1 : -1;
        const int32_t a = static_cast<int32_t>(random() % ring.Size());
        const int32_t b = ring.Walk(a, way);
        const int32_t c = ring.Walk(b, (1 + static_cast<int32_t>(random() % (ring.Size() - 3))) * way);
        const int32_t d = ring.Walk(c, way);
        ExpectMove(
            ring, {{a, b}, {c, d}}, {{a, c}, {b, d}}, [&] { ring.Exchange(a, b, c, d); }, trial);
    }
}

TEST(RouteRing, MoveStretchCarriesOneToThreeNodesEitherWayRound)
{
    std::mt19937 random(22);
    for (int trial = 0; trial < 5000; ++trial) {
        const int32_t length = 1 + static_cast<int32_t>(random() % 3);
        TRouteRing ring = ShuffledRing(length + 3 + static_cast<int32_t>(random() % 8), random);
        const int32_t way = random() % 2 == 0 ? 1 : -1;
        const int32_t s = static_cast<int32_t>(random() % ring.Size());
        const int32_t e = ring.Walk(s, (length - 1) * way);
        const int32_t p = ring.Walk(s, -way);
        const int32_t nx = ring.Walk(e, way);
        // c anywhere off the stretch, d on either side of it but off it too.
        const int32_t c = ring.Walk(e, (1 + static_cast<int32_t>(random() % (ring.Size() - length))) * way);
        const int32_t d = Step(ring, c, random() % 2 == 0);
        if ((c == p && d == s) || (c == nx && d == e))
            continue;
        ExpectMove(
            ring, {{p, s}, {e, nx}, {c, d}}, {{p, nx}, {c, s}, {e, d}}, [&] { ring.MoveStretch(p, s, e, nx, c, d); },
            trial);
    }
}

// The stretches' own edges stay, so the edges say neither was turned round.
TEST(RouteRing, SwapStretchesTradesNeighbouringStretches)
{
    std::mt19937 random(23);
    for (int trial = 0; trial < 3000; ++trial) {
        TRouteRing ring = ShuffledRing(4 + static_cast<int32_t>(random() % 12), random);
        const int32_t room = ring.Size() - 2;
        const int32_t lengthB = 1 + static_cast<int32_t>(random() % (room - 1));
        const int32_t lengthC = 1 + static_cast<int32_t>(random() % (room - lengthB));
        const int32_t a = static_cast<int32_t>(random() % ring.Size());
        const int32_t b0 = ring.Next(a);
        const int32_t b1 = ring.Walk(a, lengthB);
        const int32_t c0 = ring.Next(b1);
        const int32_t c1 = ring.Walk(b1, lengthC);
        const int32_t d = ring.Next(c1);
        ExpectMove(
            ring, {{a, b0}, {b1, c0}, {c1, d}}, {{a, c0}, {c1, b0}, {b1, d}},
            [&] { ring.SwapStretches(a, b0, b1, c0, c1, d); }, trial);
    }
}
