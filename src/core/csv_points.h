#pragma once

#include <string>
#include <string_view>

#include "core/point_set.h"
#include "core/point_text.h"

// Point sets as CSV. Places on the Earth: a header that names a latitude
// column ("lat", "latitude", "szerokość") and a longitude column ("lon",
// "lng", "longitude", "długość"), in any letter case and order among other
// columns, which are passed over; then one line per place in decimal
// degrees, measured along great circles. Otherwise points on the plane: one
// "x,y" or "x;y" line per point, the first data line deciding the separator
// for the whole file (";" before ","), a first line with no numeric field
// being a header. Blanks around the values are fine, numbers take a decimal
// point and an exponent; decimals are kept as the set's places and rounded
// for the map (see ReadCoordinate). A field may stand in double quotes
// ("1.5";"2"); a quote left open is refused. Empty lines are skipped; LF or
// CR LF. More than maxPoints points are refused.
TPointParseResult ParseCsvPoints(std::string_view text, int32_t maxPoints = MaxPoints);

// "x,y" and then one "x,y" line per point, LF line ends.
std::string FormatPointsCsv(const TPointArray& points);

// A set as CSV that keeps what its file said: places on the Earth as
// degrees under the header's names (in the file's order, "lat,lon" for a
// set from elsewhere), the plane's places as the shortest text of each
// value, or the points' whole numbers, under the plane CSV's header ("x,y"
// for a set from elsewhere). The same text as FormatPointsCsv for a set
// without places or a header of its own.
std::string FormatSetCsv(const TPointArray& points, const TSetPlaces& places);

// "kolejność,indeks,x,y" and then one line per route position: the order
// counts from 1, the index is the point's 0-based number as the program's
// point list shows it. Route entries that name no point are left out. A
// round trip's file says so in its header's first column (RouteCsvRoundTrip).
std::string FormatRouteCsv(const TPointArray& points, const TSpecimen& route, bool roundTrip = false);

// The first column's name in the header of a round trip's route CSV.
inline constexpr const char* RouteCsvRoundTrip = "kolejność w drodze zamkniętej";
