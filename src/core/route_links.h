#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/point_set.h"

// The route the successor links draw, when they draw exactly one: a single
// path that starts at the one point nobody links to, ends at the one point
// with Next -1 and passes every point once. Nothing for an empty set, a set
// whose links form a cycle, branch (two points linking to one), leave points
// out or name no point. A lone point with Next -1 is a route of one point.
std::optional<TSpecimen> RouteFromLinks(const TPointArray& points);

// Every point's successor link, in point order.
std::vector<int32_t> LinksOf(const TPointArray& points);
// Sets the links of the points the list reaches; points past its end keep
// theirs.
void ApplyLinks(TPointArray& points, const std::vector<int32_t>& links);
