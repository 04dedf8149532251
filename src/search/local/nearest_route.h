#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"
#include "core/route_kind.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/point_tree.h"

// Where a route with free ends starts: the leftmost point (the lowest of
// those, then the lowest index), an end of the set rather than its middle.
// -1 for no points.
int32_t FreeStartPoint(const std::vector<double>& x, const std::vector<double>& y);
int32_t FreeStartPoint(const TPointArray& points);

// The route from first that always goes on to the nearest point not yet
// visited: the first unvisited point of the current point's list when there
// is one, which is then the nearest; otherwise the tree's nearest remaining
// point. Takes every point out of tree. tick runs once per point.
TSpecimen NearestNeighbourRoute(const std::vector<double>& x, const std::vector<double>& y, TPointTree& tree,
                                const TNeighbourLists& lists, int32_t first, const std::function<void()>& tick = {});
TSpecimen NearestNeighbourRoute(const TPointArray& points, TPointTree& tree, const TNeighbourLists& lists,
                                int32_t first, const std::function<void()>& tick = {});

// The nearest-neighbour route of a kind: from the start when it is fixed,
// otherwise from FreeStartPoint; a fixed end is kept for last, and a route
// with only its end fixed is built from the end and read backwards.
TSpecimen KindNearestRoute(const std::vector<double>& x, const std::vector<double>& y, TPointTree& tree,
                           const TNeighbourLists& lists, const TRouteKind& kind,
                           const std::function<void()>& tick = {});
