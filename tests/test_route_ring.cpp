#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "search/route_ring.h"

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

// The edges the move should leave: the old ones less removed plus added.
TEdges Expected(TEdges edges, const TEdges& removed, const TEdges& added)
{
    for (const auto& edge : removed) {
        const auto at = std::find(edges.begin(), edges.end(), Edge(edge.first, edge.second));
        EXPECT_NE(at, edges.end());
        if (at != edges.end())
            edges.erase(at);
    }
    for (const auto& edge : added)
        edges.push_back(Edge(edge.first, edge.second));
    std::sort(edges.begin(), edges.end());
    return edges;
}

void ExpectConsistent(const TRouteRing& ring)
{
    for (int32_t p = 0; p < ring.Size(); ++p)
        ASSERT_EQ(ring.Position(ring.At(p)), p);
}

TRouteRing ShuffledRing(int32_t size, std::mt19937& random)
{
    std::vector<int32_t> order(size);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    TRouteRing ring;
    ring.Assign(order);
    return ring;
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
        const bool forward = random() % 2 == 0;
        const int32_t a = static_cast<int32_t>(random() % ring.Size());
        const int32_t b = Step(ring, a, forward);
        const int32_t c = ring.Walk(b, (1 + static_cast<int32_t>(random() % (ring.Size() - 3))) * (forward ? 1 : -1));
        const int32_t d = Step(ring, c, forward);
        const TEdges expected = Expected(EdgesOf(ring), {{a, b}, {c, d}}, {{a, c}, {b, d}});
        ring.Exchange(a, b, c, d);
        ASSERT_EQ(EdgesOf(ring), expected) << "trial " << trial;
        ExpectConsistent(ring);
    }
}

TEST(RouteRing, MoveStretchCarriesOneToThreeNodesEitherWayRound)
{
    std::mt19937 random(22);
    for (int trial = 0; trial < 5000; ++trial) {
        const int32_t length = 1 + static_cast<int32_t>(random() % 3);
        TRouteRing ring = ShuffledRing(length + 3 + static_cast<int32_t>(random() % 8), random);
        const bool forward = random() % 2 == 0;
        const int32_t s = static_cast<int32_t>(random() % ring.Size());
        const int32_t e = ring.Walk(s, (length - 1) * (forward ? 1 : -1));
        const int32_t p = Step(ring, s, !forward);
        const int32_t nx = Step(ring, e, forward);
        // c and d anywhere off the stretch, d on either side of c.
        const int32_t c =
            ring.Walk(e, (1 + static_cast<int32_t>(random() % (ring.Size() - length))) * (forward ? 1 : -1));
        const int32_t d = Step(ring, c, random() % 2 == 0);
        const int32_t offset = (ring.Position(d) - ring.Position(s) + ring.Size()) % ring.Size();
        if ((forward ? offset : (ring.Size() - offset) % ring.Size()) < length)
            continue;
        const TEdges expected = Expected(EdgesOf(ring), {{p, s}, {e, nx}, {c, d}}, {{p, nx}, {c, s}, {e, d}});
        ring.MoveStretch(p, s, e, nx, c, d);
        ASSERT_EQ(EdgesOf(ring), expected) << "trial " << trial;
        ExpectConsistent(ring);
    }
}

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
        const TEdges expected = Expected(EdgesOf(ring), {{a, b0}, {b1, c0}, {c1, d}}, {{a, c0}, {c1, b0}, {b1, d}});
        ring.SwapStretches(a, b0, b1, c0, c1, d);
        // The stretches' own edges stay, so these edges say neither was turned round.
        ASSERT_EQ(EdgesOf(ring), expected) << "trial " << trial;
        ExpectConsistent(ring);
    }
}

TEST(RouteRing, UndoRestoresTheRingExactly)
{
    std::mt19937 random(24);
    for (int trial = 0; trial < 500; ++trial) {
        TRouteRing ring = ShuffledRing(5 + static_cast<int32_t>(random() % 30), random);
        std::vector<int32_t> before(ring.Size());
        for (int32_t p = 0; p < ring.Size(); ++p)
            before[p] = ring.At(p);
        ring.SetRecording(true);
        for (int move = 0; move < 6; ++move) {
            const int32_t a = static_cast<int32_t>(random() % ring.Size());
            const int32_t c = ring.Walk(a, 2 + static_cast<int32_t>(random() % (ring.Size() - 3)));
            ring.Exchange(a, ring.Next(a), c, ring.Next(c));
        }
        ring.Undo();
        for (int32_t p = 0; p < ring.Size(); ++p)
            ASSERT_EQ(ring.At(p), before[p]) << "trial " << trial;
        ExpectConsistent(ring);
    }
}
