#pragma once

#include <vector>

#include "core/point_set.h"

// Removes the points flagged in removed (one flag per point; a shorter list
// keeps the points it does not reach). The points after a removed one move
// down; a link to a removed point becomes -1 and every other link follows
// its point to the new index.
void RemovePoints(TPointArray& points, const std::vector<char>& removed);

// As RemovePoints, but a route closes over the gaps: a link to a removed
// point goes on to the first point after it (along the links) that stays,
// so a route through a removed point still runs from its predecessor to its
// successor. Rings of links are no routes: a link to a removed point on a
// ring is cleared, as RemovePoints does.
void RemovePointsJoiningRoute(TPointArray& points, const std::vector<char>& removed);
