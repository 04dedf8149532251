#include "search/local/route_ring.h"

#include <utility>

void TRouteRing::Assign(const std::vector<int32_t>& order)
{
    FOrder = order;
    FSize = static_cast<int32_t>(order.size());
    FPosition.assign(FSize, 0);
    for (int32_t p = 0; p < FSize; ++p)
        FPosition[FOrder[p]] = p;
    FRecord.clear();
}

int32_t TRouteRing::Walk(int32_t node, int32_t steps) const
{
    int32_t p = (FPosition[node] + steps % FSize) % FSize;
    if (p < 0)
        p += FSize;
    return FOrder[p];
}

void TRouteRing::Exchange(int32_t a, int32_t b, int32_t c, [[maybe_unused]] int32_t d)
{
    if (Next(a) == b)
        Reverse(FPosition[b], FPosition[c]);
    else
        Reverse(FPosition[c], FPosition[b]);
}

void TRouteRing::MoveStretch(int32_t p, int32_t s, int32_t e, int32_t nx, int32_t c, int32_t d)
{
    // Read the ring in the direction in which d follows c; read that way
    // the stretch may come reversed, and then it must be put in reversed.
    const bool stretchForward = Next(p) == s;
    const bool edgeForward = Next(c) == d;
    const bool reversed = stretchForward != edgeForward;
    if (reversed) {
        std::swap(p, nx);
        std::swap(s, e);
    }
    // Read so: p s .. e nx .. c d. Each exchange below names its two edges
    // in one direction of the ring as it stands after the one before.
    const bool single = s == e;
    if (c == nx) {
        Exchange(p, s, nx, d);  // p nx e .. s d
        if (!reversed && !single)
            Exchange(nx, e, s, d);
    } else if (d == p) {
        Exchange(c, p, e, nx);  // c e .. s p nx
        if (!reversed && !single)
            Exchange(c, e, s, p);
    } else {
        Exchange(p, s, c, d);   // p c .. nx e .. s d
        Exchange(p, c, nx, e);  // p nx .. c e .. s d
        if (!reversed && !single)
            Exchange(c, e, s, d);
    }
}

void TRouteRing::SwapStretches(int32_t a, int32_t b0, int32_t b1, int32_t c0, int32_t c1, int32_t d)
{
    Exchange(a, b0, c1, d);  // a c1 .. c0 b1 .. b0 d
    if (c0 != c1)
        Exchange(a, c1, c0, b1);
    if (b0 != b1)
        Exchange(c1, b1, b0, d);
}

void TRouteRing::ReorderThreeStretches(int32_t a, int32_t b0, int32_t b1, int32_t c0, int32_t c1, int32_t d0,
                                       int32_t d1, int32_t e)
{
    SwapStretches(a, b0, b1, c0, d1, e);   // a C D B e
    SwapStretches(a, c0, c1, d0, d1, b0);  // a D C B e
}

void TRouteRing::Undo()
{
    const bool recording = FRecording;
    FRecording = false;
    for (auto entry = FRecord.rbegin(); entry != FRecord.rend(); ++entry)
        Reverse(entry->first, entry->second);
    FRecord.clear();
    FRecording = recording;
}

void TRouteRing::Reverse(int32_t from, int32_t to)
{
    if (FRecording)
        FRecord.emplace_back(from, to);
    int32_t inner = to - from + 1;
    if (inner <= 0)
        inner += FSize;
    // The same ring read the other way round: turning the rest round
    // instead gives the same legs and moves fewer nodes. The choice
    // depends only on the positions, so a replay takes it again.
    int32_t i = from;
    int32_t j = to;
    int32_t count = inner;
    if (2 * inner > FSize) {
        i = to + 1 == FSize ? 0 : to + 1;
        j = from == 0 ? FSize - 1 : from - 1;
        count = FSize - inner;
    }
    for (int32_t k = 0; k < count / 2; ++k) {
        const int32_t u = FOrder[i];
        const int32_t v = FOrder[j];
        FOrder[i] = v;
        FPosition[v] = i;
        FOrder[j] = u;
        FPosition[u] = j;
        i = i + 1 == FSize ? 0 : i + 1;
        j = j == 0 ? FSize - 1 : j - 1;
    }
}
