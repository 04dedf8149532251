#include "search/local/trial_ring.h"

#include <algorithm>

void TTrialRing::Reset(const TRouteRing& ring)
{
    FRing = &ring;
    FSize = ring.Size();
    FStretches.assign(1, {0, FSize - 1, false});
}

int32_t TTrialRing::Find(int32_t p, int32_t& start) const
{
    start = 0;
    int32_t i = 0;
    while (p < FStretches[i].First || p > FStretches[i].Last) {
        start += FStretches[i].Last - FStretches[i].First + 1;
        ++i;
    }
    return i;
}

int32_t TTrialRing::Place(int32_t node) const
{
    const int32_t p = FRing->Position(node);
    int32_t start = 0;
    const TStretch& s = FStretches[Find(p, start)];
    return start + (s.Reversed ? s.Last - p : p - s.First);
}

int32_t TTrialRing::Next(int32_t node) const
{
    if (FStretches.size() == 1)
        return FRing->Next(node);
    const int32_t p = FRing->Position(node);
    int32_t start = 0;
    const int32_t i = Find(p, start);
    const TStretch& s = FStretches[i];
    if (!s.Reversed && p < s.Last)
        return FRing->At(p + 1);
    if (s.Reversed && p > s.First)
        return FRing->At(p - 1);
    const TStretch& next = FStretches[(i + 1) % FStretches.size()];
    return FRing->At(next.Reversed ? next.Last : next.First);
}

int32_t TTrialRing::Prev(int32_t node) const
{
    if (FStretches.size() == 1)
        return FRing->Prev(node);
    const int32_t p = FRing->Position(node);
    int32_t start = 0;
    const int32_t i = Find(p, start);
    const TStretch& s = FStretches[i];
    if (!s.Reversed && p > s.First)
        return FRing->At(p - 1);
    if (s.Reversed && p < s.Last)
        return FRing->At(p + 1);
    const int32_t count = static_cast<int32_t>(FStretches.size());
    const TStretch& prev = FStretches[(i + count - 1) % count];
    return FRing->At(prev.Reversed ? prev.First : prev.Last);
}

int32_t TTrialRing::SplitAt(int32_t place)
{
    int32_t start = 0;
    int32_t i = 0;
    for (;; ++i) {
        const int32_t length = FStretches[i].Last - FStretches[i].First + 1;
        if (place < start + length)
            break;
        start += length;
    }
    if (place == start)
        return i;
    const int32_t offset = place - start;
    TStretch& s = FStretches[i];
    TStretch rest = s;
    if (!s.Reversed) {
        rest.First = s.First + offset;
        s.Last = s.First + offset - 1;
    } else {
        rest.Last = s.Last - offset;
        s.First = s.Last - offset + 1;
    }
    FStretches.insert(FStretches.begin() + i + 1, rest);
    return i + 1;
}

void TTrialRing::Reverse(int32_t from, int32_t to)
{
    // The whole ring turned round is the same ring.
    if (from == 0 && to == FSize - 1)
        return;
    const int32_t first = from == 0 ? 0 : SplitAt(from);
    const int32_t last = to + 1 == FSize ? static_cast<int32_t>(FStretches.size()) : SplitAt(to + 1);
    std::reverse(FStretches.begin() + first, FStretches.begin() + last);
    for (int32_t i = first; i < last; ++i)
        FStretches[i].Reversed = !FStretches[i].Reversed;
}

void TTrialRing::Exchange(int32_t a, int32_t b, int32_t c, [[maybe_unused]] int32_t d)
{
    int32_t from = 0;
    int32_t to = 0;
    if (Next(a) == b) {
        from = Place(b);
        to = Place(c);
    } else {
        from = Place(c);
        to = Place(b);
    }
    if (from <= to) {
        Reverse(from, to);
        return;
    }
    // The stretch wraps past the first place: turning the rest round gives
    // the same legs.
    if (to + 1 <= from - 1)
        Reverse(to + 1, from - 1);
}
