#pragma once

#include <cstdint>
#include <vector>

// The points in the order a Hilbert curve over their bounding box visits
// them (the lower index first among points in one cell of the curve's grid):
// points near in the order lie near on the plane, so work that goes through
// them in this order finds its data near in memory, and a stretch of the
// order is a compact part of the plane.
std::vector<int32_t> CurveOrder(const std::vector<double>& x, const std::vector<double>& y);
