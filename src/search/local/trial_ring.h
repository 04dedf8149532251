#pragma once

#include <cstdint>
#include <vector>

#include "search/local/route_ring.h"

// A route ring as a chain of exchanges would leave it, without touching
// the ring: the ring's array read as a few stretches, each either way
// round. An exchange splits at most two stretches and turns a run of them
// round, so trying a chain costs a little per exchange whatever the size
// of the ring, and the ring itself is only changed when the chain pays.
// Questions cost a walk along the stretches: few after a short chain.
class TTrialRing {
public:
    // The ring as it stands: one stretch. ring must outlive the trial.
    void Reset(const TRouteRing& ring);

    int32_t Size() const { return FSize; }
    int32_t Next(int32_t node) const;
    int32_t Prev(int32_t node) const;
    // Places from the trial's first place to node, going by Next.
    int32_t Place(int32_t node) const;

    // As TRouteRing::Exchange: replaces (a, b) and (c, d) by (a, c) and
    // (b, d), b following a and d following c in one direction.
    void Exchange(int32_t a, int32_t b, int32_t c, int32_t d);

private:
    // Array places First .. Last of the ring, read downwards when Reversed.
    struct TStretch {
        int32_t First;
        int32_t Last;
        bool Reversed;
    };

    // The stretch holding array place p, and the trial place its start has.
    int32_t Find(int32_t p, int32_t& start) const;
    int32_t AtPlace(int32_t place) const;
    // Makes a stretch begin at trial place place (0 < place < size);
    // returns that stretch's index.
    int32_t SplitAt(int32_t place);
    // Turns trial places from .. to (from <= to) round.
    void Reverse(int32_t from, int32_t to);

    const TRouteRing* FRing = nullptr;
    int32_t FSize = 0;
    std::vector<TStretch> FStretches;
};
