#pragma once

#include <cstdint>

#include "search/local/local_ring.h"

// The longest loop a double bridge looks through (see ImproveByDoubleBridge).
// On uniform sets of 10 000 points in 10 s, loops of up to 100, 300, 1 000
// and 5 000 points came out level; all were ahead of no bridges.
inline constexpr int32_t MaxBridgeLoop = 1000;

// A double bridge: two 2-opt exchanges that each alone would split the
// route into two loops, together one route again. No sequential move
// (2-opt, Or-opt, a chain) makes it, and a walk's random kicks find the
// improving ones only by chance. From t1, drops (t1, t2) and (t4, t3), t2
// after t1 and t3 after t4, and joins t1 to t3, one of its nearest points,
// and t2 to t4, the first exchange gaining; the loops t2 .. t4 and t3 .. t1
// are joined again by dropping a leg (t5, t6) of the smaller, t6 after t5,
// and a leg (t7, t8) of the other, t8 after t7, and joining t5 to t8 and
// t7 to t6, one of the two new legs to a nearest point. Makes the best such
// move that shortens the route by more than its rounding, marks its points
// and returns its gain; or returns 0 and leaves the ring as it was.
double ImproveByDoubleBridge(TLocalRing& route, int32_t t1);
