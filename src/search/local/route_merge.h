#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// The length of the leg between two nodes of a ring.
using TLegLength = std::function<double(int32_t, int32_t)>;

// Two rings over the same nodes 0 .. n - 1 merged part by part. The legs
// only one of them has fall into parts that hang together through them.
// Both rings leave a part only along runs of shared legs (a run that comes
// back into the part counts as inside it), and cross it in pieces from one
// such run to another. Where both rings pair the runs alike (as they
// always do with just two), either ring's pieces fit, and the shorter are
// taken. Every shared leg stays. base is kept wherever other is not shorter by more
// than epsilon.
struct TMergedRing {
    // The merged ring's order; empty when no part of other was taken.
    std::vector<int32_t> Order;
    // By how much the merged ring is shorter than base.
    double Gain = 0.0;
};

TMergedRing MergeRings(const std::vector<int32_t>& base, const std::vector<int32_t>& other, const TLegLength& length,
                       double epsilon);
