#pragma once

#include <cstdint>

// What the lower bound found out.
struct TLowerBound {
    // Never more than the length of any route of the problem's kind, also
    // after every rounding on the way: the value is taken from a minimum
    // spanning tree over all pairs of points, less a margin that covers
    // the rounding of both the tree and of route lengths.
    double Value = 0.0;
    // Whether Value comes from such a tree. A stop before the first tree
    // was done leaves false and Value 0, which bounds any route trivially.
    bool Certified = false;
    // Whether the penalties' ascent ran to its end. After a stop Value is
    // the best certified so far.
    bool Completed = false;
    // Steps of the ascent taken.
    int32_t Iterations = 0;
};
