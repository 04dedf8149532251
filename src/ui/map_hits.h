#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "core/point_set.h"
#include "raster/map_fit.h"

// What the map finds and says at a pixel, and what it draws in place of the
// links: plain functions of the points and the view.

// The set's points with route as their only links. A route of another set
// (points added since) keeps only its legs between points the set still has.
TPointArray PointsWithRoute(const TPointArray& points, const TSpecimen& route);

// The point whose square on the pixel picture drawn with fit covers map
// pixel (x, y), the top one (the highest index) where squares overlap (a
// selected point's square is larger); -1 when none.
int32_t SquareAt(const TPointArray& points, const std::vector<char>& selected, const TMapFit& fit, int32_t x,
                 int32_t y);

// The tooltip over point hit (-1: none): its number, coordinates and
// whether it starts or ends the route of kind (a round trip's last point
// goes back to its start; a start or end the kind fixed says so); over no
// point, the view's help, but none on the pixel picture.
QString MapToolTip(const TPointArray& points, int32_t hit, bool pixelPicture, const TRouteKind& kind = {});
