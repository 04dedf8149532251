#pragma once

#include <cstdint>

// The program's random formula (see RandomBelow) with a state of its own, so
// that walks can run side by side, each drawing its own numbers: a stream
// seeded with the program source's state draws exactly what the source
// would, and its state can be handed back.
class TRandomStream {
public:
    explicit TRandomStream(uint32_t state) : FState(state) {}

    uint32_t State() const { return FState; }

    // A uniform integer in 0 .. n - 1 (0 when n is 0).
    int32_t Below(int32_t n)
    {
        FState = FState * 134775813u + 1u;
        return static_cast<int32_t>((static_cast<uint64_t>(FState) * static_cast<uint32_t>(n)) >> 32);
    }

private:
    uint32_t FState;
};

// A seed of its own for each of many walks drawn from one seed: the same
// seed and number give the same stream, other numbers streams far apart.
inline uint32_t StreamSeed(uint32_t seed, uint64_t number)
{
    uint64_t z = (static_cast<uint64_t>(seed) << 32 | seed) + 0x9e3779b97f4a7c15ull * (number + 1);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 16);
}
