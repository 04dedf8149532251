#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "search/local/route_ring.h"

// A ring over 0 .. size - 1 in a random order.
inline TRouteRing ShuffledRing(int32_t size, std::mt19937& random)
{
    std::vector<int32_t> order(size);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    TRouteRing ring;
    ring.Assign(order);
    return ring;
}
