#pragma once

#include <cstdint>
#include <vector>

#include "core/point_types.h"
#include "core/route_kind.h"
#include "core/set_places.h"

// How a set's own places and the kind of its route follow edits of its
// whole-number map points (a point added on the map, moved, typed, removed).

// The place of a point at map point (x, y) in a set with places of its own:
// on the plane the map point itself; on the Earth the degrees the set's
// projection gives back, written as the file's metric writes its places.
TPlace PlaceOfMapPoint(const TSetPlaces& places, int32_t x, int32_t y);

// One place per point, each by PlaceOfMapPoint: for a set whose points were
// all drawn anew. Empty for a set without places of its own.
TPlaceArray PlacesOfMapPoints(const TSetPlaces& places, const TPointArray& points);

// The places that stay when the flagged points go (one flag per place; a
// shorter list keeps the places it does not reach).
TPlaceArray PlacesWithout(const TPlaceArray& places, const std::vector<char>& removed);

// The kind once the flagged points went: a fixed start or end follows its
// point to the point's new number, and is free again when its point went.
TRouteKind KindWithout(const TRouteKind& kind, const std::vector<char>& removed);
