#include "search/local/chain_move.h"

#include <algorithm>

namespace {

// The nearest points a step tries at each of its two joins, besides the
// gap. Three and four found about as much on uniform sets of 1 000 points.
constexpr int32_t ChainNeighbours = 5;
// From this step of a chain on, each join tries fewer nearest points: a
// deep step seldom closes a chain, and on uniform sets of 10 000 points
// the narrower deep steps gave a third more kicks in the same time and
// routes a little shorter.
constexpr int32_t WideSteps = 3;
constexpr int32_t DeepNeighbours = 3;

bool SameEdge(const std::pair<int32_t, int32_t>& edge, int32_t a, int32_t b)
{
    return (edge.first == a && edge.second == b) || (edge.first == b && edge.second == a);
}

}  // namespace

bool TChainMove::Joined(int32_t a, int32_t b) const
{
    return std::any_of(FJoined.begin(), FJoined.end(), [&](const auto& edge) { return SameEdge(edge, a, b); });
}

bool TChainMove::Dropped(int32_t a, int32_t b) const
{
    return std::any_of(FDropped.begin(), FDropped.end(), [&](const auto& edge) { return SameEdge(edge, a, b); });
}

void TChainMove::Note(int32_t dropped1, int32_t dropped2, int32_t joined1, int32_t joined2)
{
    FDropped.emplace_back(dropped1, dropped2);
    FJoined.emplace_back(joined1, joined2);
}

void TChainMove::Exchange(int32_t a, int32_t b, int32_t c, int32_t d)
{
    FTrial.Exchange(a, b, c, d);
    FExchanges.push_back({a, b, c, d});
}

// The same exchanges as TRouteRing::SwapStretches.
void TChainMove::SwapStretches(int32_t a, int32_t b0, int32_t b1, int32_t c0, int32_t c1, int32_t d)
{
    Exchange(a, b0, c1, d);
    if (c0 != c1)
        Exchange(a, c1, c0, b1);
    if (b0 != b1)
        Exchange(c1, b1, b0, d);
}

double TChainMove::Improve(TLocalRing& route, int32_t t1)
{
    TRouteRing& ring = route.Ring();
    if (ring.Size() < MinChainNodes || t1 == route.Gap())
        return 0.0;
    FRoute = &route;
    for (int32_t t2 : {ring.Next(t1), ring.Prev(t1)}) {
        // The gap has no nearest points for a step to go on from.
        if (t2 == route.Gap() || route.Fixed(t1, t2))
            continue;
        double gain = route.Distance(t1, t2);
        if (gain <= route.Epsilon())
            continue;
        FDropped.assign(1, {t1, t2});
        FJoined.clear();
        FTrial.Reset(ring);
        FExchanges.clear();
        FClosed = 0.0;
        int32_t end = t2;
        for (int32_t step = 0; step < MaxChainSteps && end >= 0 && FClosed == 0.0; ++step)
            end = Step(t1, end, gain, step);
        if (FClosed > 0.0) {
            for (const TExchange& exchange : FExchanges)
                ring.Exchange(exchange.A, exchange.B, exchange.C, exchange.D);
            for (const auto& edge : FDropped) {
                route.Touch(edge.first);
                route.Touch(edge.second);
            }
            return FClosed;
        }
    }
    return 0.0;
}

int32_t TChainMove::Step(int32_t t1, int32_t t2, double& gain, int32_t depth)
{
    TLocalRing& route = *FRoute;
    const TTrialRing& ring = FTrial;
    const int32_t gap = route.Gap();
    const int32_t firstCandidate = route.FirstCandidate();
    const double epsilon = route.Epsilon();
    const int32_t size = ring.Size();
    // The path runs from t2 away from t1 and round back to t1; "succ" and
    // "pred" and places are along it.
    const bool forward = ring.Next(t1) == t2;
    auto succ = [&](int32_t node) { return forward ? ring.Next(node) : ring.Prev(node); };
    auto pred = [&](int32_t node) { return forward ? ring.Prev(node) : ring.Next(node); };
    const int32_t origin = ring.Place(t2);
    auto place = [&](int32_t node) {
        const int32_t places = forward ? ring.Place(node) - origin : origin - ring.Place(node);
        return places < 0 ? places + size : places;
    };
    auto nearest = [&](int32_t node, int32_t j) { return j < 0 ? gap : route.Neighbours(node)[j]; };
    const int32_t count = std::min(route.NeighbourCount(), depth < WideSteps ? ChainNeighbours : DeepNeighbours);

    // The best step that goes on: t3 .. t6 and whether t4 lay beyond t3.
    int32_t best[4] = {-1, -1, -1, -1};
    bool bestBeyond = false;
    double bestGain = 0.0;
    // The gap comes first in every list of an open route: joining it makes
    // a point an end.
    const int32_t after2 = succ(t2);
    for (int32_t j = firstCandidate; j < count; ++j) {
        const int32_t t3 = nearest(t2, j);
        const double g1 = gain - route.CandidateLength(t2, j);
        if (g1 <= epsilon) {
            // The gap stands outside the list's order.
            if (j < 0)
                continue;
            break;
        }
        if (t3 == t1 || t3 == after2 || Dropped(t2, t3))
            continue;
        const int32_t place3 = place(t3);
        for (const bool beyond : {false, true}) {
            const int32_t t4 = beyond ? succ(t3) : pred(t3);
            if (t4 == t1 || route.Fixed(t3, t4) || Joined(t3, t4))
                continue;
            const double g2 = g1 + route.Distance(t3, t4);
            if (!beyond && g2 - route.Distance(t4, t1) > epsilon) {
                Exchange(t1, t2, t4, t3);
                Note(t3, t4, t2, t3);
                FDropped.emplace_back(t1, t4);
                FClosed = g2 - route.Distance(t4, t1);
                return -1;
            }
            if (t4 == gap)
                continue;
            const int32_t place4 = place(t4);
            const int32_t before4 = pred(t4);
            const int32_t after4 = succ(t4);
            for (int32_t k = firstCandidate; k < count; ++k) {
                const int32_t t5 = nearest(t4, k);
                const double g3 = g2 - route.CandidateLength(t4, k);
                if (g3 <= epsilon) {
                    if (k < 0)
                        continue;
                    break;
                }
                if (t5 == t1 || t5 == t3 || t5 == before4 || t5 == after4 || Dropped(t4, t5))
                    continue;
                const int32_t place5 = place(t5);
                // Beyond: t5 must lie in the loop t2 .. t3, and either of its
                // legs there opens it. Otherwise the leg of t5 towards t4
                // on the path as the first exchange left it.
                if (beyond && place5 > place3)
                    continue;
                for (const bool succeeding : {true, false}) {
                    int32_t t6 = 0;
                    if (beyond) {
                        if (!succeeding && t5 == t2)
                            continue;
                        t6 = succeeding ? succ(t5) : pred(t5);
                    } else {
                        if (!succeeding)
                            break;
                        t6 = place5 < place4 ? succ(t5) : pred(t5);
                    }
                    if (route.Fixed(t5, t6) || Joined(t5, t6))
                        continue;
                    const double g4 = g3 + route.Distance(t5, t6);
                    const double closed = g4 - route.Distance(t6, t1);
                    if (closed > epsilon || (g4 > bestGain && t6 != gap)) {
                        best[0] = t3;
                        best[1] = t4;
                        best[2] = t5;
                        best[3] = t6;
                        bestBeyond = beyond;
                        bestGain = g4;
                        if (closed > epsilon) {
                            FClosed = closed;
                            break;
                        }
                    }
                }
                if (FClosed > 0.0)
                    break;
            }
            if (FClosed > 0.0)
                break;
        }
        if (FClosed > 0.0)
            break;
    }
    if (best[0] < 0)
        return -1;
    const int32_t t3 = best[0];
    const int32_t t4 = best[1];
    const int32_t t5 = best[2];
    const int32_t t6 = best[3];
    if (!bestBeyond) {
        Exchange(t1, t2, t4, t3);  // t1 t4 .. t2 t3 .. on the path
        Exchange(t1, t4, t6, t5);
    } else if (t6 == succ(t5)) {
        SwapStretches(t1, t2, t5, t6, t3, t4);  // t1 t6 .. t3 t2 .. t5 t4
    } else {
        Exchange(t1, t2, t6, t5);  // t1 t6 .. t2 t5 .. t3 t4
        Exchange(t2, t5, t3, t4);  // t1 t6 .. t2 t3 .. t5 t4
    }
    Note(t3, t4, t2, t3);
    Note(t5, t6, t4, t5);
    FDropped.emplace_back(t1, t6);
    gain = bestGain;
    return t6;
}
