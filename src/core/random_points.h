#pragma once

#include <cstdint>

#include "core/point_set.h"

// The drawing behind "Losuj zbiór punktów": count points (the set keeps its
// size when count is 0 or less), one reseed from the clock, then for every
// point in index order X below mapWidth, Y below mapHeight, no successor.
void DrawRandomPoints(TPointArray& points, int32_t count, int32_t mapWidth, int32_t mapHeight);
