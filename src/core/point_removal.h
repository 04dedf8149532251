#pragma once

#include <vector>

#include "core/point_set.h"

// Removes the points flagged in removed (one flag per point; a shorter list
// keeps the points it does not reach). The points after a removed one move
// down; a link to a removed point becomes -1 and every other link follows
// its point to the new index.
void RemovePoints(TPointArray& points, const std::vector<char>& removed);
