#include "search/random/free_stretch.h"

#include "search/random/random_search.h"

TFreeStretch FreeStretch(const TRouteKind& kind, int32_t n)
{
    TFreeStretch stretch;
    stretch.Frame.assign(static_cast<size_t>(n), -1);
    stretch.Count = n;
    // One point makes one route of every kind.
    if (n > 1) {
        const int32_t first = kind.RoundTrip && kind.Start < 0 ? 0 : kind.Start;
        if (first >= 0) {
            stretch.Frame[0] = first;
            stretch.First = 1;
            --stretch.Count;
        }
        if (!kind.RoundTrip && kind.End >= 0 && kind.End != first) {
            stretch.Frame[static_cast<size_t>(n - 1)] = kind.End;
            --stretch.Count;
        }
    }
    std::vector<bool> fixed(static_cast<size_t>(n), false);
    for (const int32_t point : stretch.Frame)
        if (point >= 0)
            fixed[static_cast<size_t>(point)] = true;
    for (int32_t i = 0; i < n; ++i)
        if (!fixed[static_cast<size_t>(i)])
            stretch.Free.push_back(i);
    return stretch;
}

void RandomStretchRoute(const TFreeStretch& stretch, TSpecimen& route)
{
    TSpecimen order(static_cast<size_t>(stretch.Count));
    RandomRoute(order);
    route = stretch.Frame;
    for (int32_t i = 0; i < stretch.Count; ++i)
        route[static_cast<size_t>(stretch.First + i)] = stretch.Free[static_cast<size_t>(order[i])];
}
