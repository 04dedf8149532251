#pragma once

#include <cstdint>

#include "core/point_set.h"

// A good route in little time, for a method that must hold a complete route
// before its long work begins: nearest neighbour, then 2-opt reversals until
// none shortens the route. With startPoint in the set the route starts
// there and stays so; otherwise both ends are free. Quadratic per pass, so
// meant for sets of up to a few thousand points.
TSpecimen QuickRoute(const TPointArray& points, int32_t startPoint = -1);
