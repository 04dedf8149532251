#pragma once

#include <cstdint>

#include "core/host.h"
#include "core/point_set.h"

// Rebuilds the distance matrix from point index start on (0 = all of it).
// Cells whose row and column both lie below start keep their values, so a
// point appended on the map costs only its own row and column.
void ComputeDistances(TPointSetState& state, TCoreHost& host, int32_t start);
