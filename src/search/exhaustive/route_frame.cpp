#include "search/exhaustive/route_frame.h"

#include <algorithm>

#include "search/exhaustive/counting_order.h"

TRouteFrame FrameOfKind(const TRouteKind& kind, int32_t n)
{
    TRouteFrame frame;
    frame.Count = n;
    // One point makes one route of every kind.
    if (n > 1) {
        if (kind.RoundTrip) {
            frame.Head = kind.Start >= 0 ? kind.Start : 0;
            frame.Tail = frame.Head;
        } else {
            frame.Head = kind.Start;
            if (kind.End >= 0 && kind.End != kind.Start) {
                frame.Tail = kind.End;
                frame.TailInRoute = true;
            }
        }
    }
    for (int32_t i = 0; i < n; ++i)
        if (i != frame.Head && i != frame.Tail)
            frame.Free.push_back(i);
    return frame;
}

void TRouteFrame::Expand(const int32_t* order, int32_t* route) const
{
    int32_t p = 0;
    if (Head >= 0)
        route[p++] = Head;
    std::copy_n(order, Free.size(), route + p);
    p += FreeCount();
    if (TailInRoute)
        route[p] = Tail;
}

void TRouteFrame::Decode(int64_t k, TSpecimen& route) const
{
    TSpecimen order;
    DecodeCountingOrder(k, FreeCount(), order);
    for (int32_t& entry : order)
        entry = Free[entry];
    route.resize(Count);
    Expand(order.data(), route.data());
}

int64_t TRouteFrame::Position(const TSpecimen& route) const
{
    const int32_t first = Head >= 0 ? 1 : 0;
    TSpecimen order(route.begin() + first, route.begin() + first + FreeCount());
    for (int32_t& entry : order)
        entry = static_cast<int32_t>(std::lower_bound(Free.begin(), Free.end(), entry) - Free.begin());
    return CountingPosition(order);
}

double TRouteFrame::Length(const TDistanceMatrix& distances, const TSpecimen& route) const
{
    TRouteKind kind;
    kind.RoundTrip = RoundTrip();
    return KindRouteLength(distances, route, kind);
}
