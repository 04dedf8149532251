#include "search/local/bridge_move.h"

#include <algorithm>

namespace {

// The four dropped legs, each named by the node it leaves going forward
// round the ring.
struct TBridge {
    double Gain = 0.0;
    int32_t Cut[4] = {-1, -1, -1, -1};
};

// The only way to join four stretches again with no stretch turned round
// and no dropped leg back.
void MakeBridge(TLocalRing& route, const TBridge& bridge)
{
    TRouteRing& ring = route.Ring();
    int32_t p[4];
    for (int32_t k = 0; k < 4; ++k)
        p[k] = ring.Position(bridge.Cut[k]);
    std::sort(p, p + 4);
    // Any cut may lead, as the move reads the same from each; one whose
    // stretch before it holds two nodes or more keeps a and e apart.
    int32_t lead = 0;
    while (ring.Next(ring.At(p[(lead + 3) % 4])) == ring.At(p[lead]))
        ++lead;
    const int32_t a = ring.At(p[lead]);
    const int32_t e = ring.Next(ring.At(p[(lead + 3) % 4]));
    int32_t first[3];
    int32_t last[3];
    for (int32_t k = 0; k < 3; ++k) {
        first[k] = ring.Next(ring.At(p[(lead + k) % 4]));
        last[k] = ring.At(p[(lead + k + 1) % 4]);
    }
    ring.ReorderThreeStretches(a, first[0], last[0], first[1], last[1], first[2], last[2], e);
    route.Touch(a);
    route.Touch(e);
    for (int32_t k = 0; k < 3; ++k) {
        route.Touch(first[k]);
        route.Touch(last[k]);
    }
}

}  // namespace

double ImproveByDoubleBridge(TLocalRing& route, int32_t t1)
{
    const TRouteRing& ring = route.Ring();
    const int32_t size = ring.Size();
    if (size < 8 || t1 == route.Gap())
        return 0.0;
    const int32_t count = route.NeighbourCount();
    TBridge best;
    best.Gain = route.Epsilon();
    for (int32_t direction = 0; direction < 2; ++direction) {
        const bool forward = direction == 0;
        auto after = [&](int32_t node) { return forward ? ring.Next(node) : ring.Prev(node); };
        auto before = [&](int32_t node) { return forward ? ring.Prev(node) : ring.Next(node); };
        // Places from a to node in the direction read.
        auto ahead = [&](int32_t a, int32_t node) {
            const int32_t places =
                forward ? ring.Position(node) - ring.Position(a) : ring.Position(a) - ring.Position(node);
            return places < 0 ? places + size : places;
        };
        auto offer = [&](double gain, int32_t c1, int32_t c2, int32_t c3, int32_t c4) {
            if (gain <= best.Gain)
                return;
            best.Gain = gain;
            // Read backwards, a leg is left going forward by its other node.
            for (int32_t k = 0; const int32_t node : {c1, c2, c3, c4})
                best.Cut[k++] = forward ? node : after(node);
        };
        const int32_t t2 = after(t1);
        if (route.Fixed(t1, t2))
            continue;
        const double d12 = route.Distance(t1, t2);
        const int32_t* near1 = route.Neighbours(t1);
        const double* lengths1 = route.NeighbourLengths(t1);
        for (int32_t j = 0; j < count; ++j) {
            const int32_t t3 = near1[j];
            const double g1a = d12 - lengths1[j];
            // An exchange that gains at all gains at once read from one of
            // its ends, and every end is looked at both ways.
            if (g1a <= 0.0)
                break;
            const int32_t t4 = before(t3);
            if (t3 == t2 || t4 == t2 || route.Fixed(t4, t3))
                continue;
            const double g1 = g1a + route.Distance(t4, t3) - route.Distance(t2, t4);
            if (g1 <= 0.0)
                continue;
            const int32_t length1 = ahead(t2, t4) + 1;
            const bool firstSmaller = 2 * length1 <= size;
            if (std::min(length1, size - length1) > MaxBridgeLoop)
                continue;
            // The smaller loop runs from .. to; the other from otherFrom.
            const int32_t from = firstSmaller ? t2 : t3;
            const int32_t to = firstSmaller ? t4 : t1;
            const int32_t otherFrom = firstSmaller ? t3 : t2;
            const int32_t otherLast = firstSmaller ? t1 : t4;
            const int32_t otherLength = firstSmaller ? size - length1 : length1;
            auto inOther = [&](int32_t node) { return ahead(otherFrom, node) < otherLength; };
            for (int32_t u = from; u != to; u = after(u)) {
                const int32_t v = after(u);
                if (route.Fixed(u, v))
                    continue;
                const double g2a = g1 + route.Distance(u, v);
                // u is t5 (v is t6): t5 joins t8, one of its nearest. The
                // gap has no nearest points.
                if (u != route.Gap()) {
                    const int32_t* near = route.Neighbours(u);
                    const double* lengths = route.NeighbourLengths(u);
                    for (int32_t k = 0; k < count; ++k) {
                        const double g2 = g2a - lengths[k];
                        if (g2 <= route.Epsilon())
                            break;
                        const int32_t t8 = near[k];
                        if (t8 == otherFrom || !inOther(t8))
                            continue;
                        const int32_t t7 = before(t8);
                        if (route.Fixed(t7, t8))
                            continue;
                        offer(g2 + route.Distance(t7, t8) - route.Distance(t7, v), t1, t4, u, t7);
                    }
                }
                // v is t6 (u is t5): t6 joins t7, one of its nearest.
                if (v != route.Gap()) {
                    const int32_t* near = route.Neighbours(v);
                    const double* lengths = route.NeighbourLengths(v);
                    for (int32_t k = 0; k < count; ++k) {
                        const double g2 = g2a - lengths[k];
                        if (g2 <= route.Epsilon())
                            break;
                        const int32_t t7 = near[k];
                        if (t7 == otherLast || !inOther(t7))
                            continue;
                        const int32_t t8 = after(t7);
                        if (route.Fixed(t7, t8))
                            continue;
                        offer(g2 + route.Distance(t7, t8) - route.Distance(u, t8), t1, t4, u, t7);
                    }
                }
            }
        }
    }
    if (best.Cut[0] < 0)
        return 0.0;
    MakeBridge(route, best);
    return best.Gain;
}
