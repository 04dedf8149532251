#pragma once

#include <string>
#include <string_view>

#include "core/point_set.h"
#include "core/point_text.h"

// Point sets as CSV: one "x,y" or "x;y" line per point. The first data line
// decides the separator for the whole file ";" before ","; blanks around the
// values are fine, numbers take a decimal point and an exponent and are
// rounded to integers (see ReadCoordinate). A field may stand in double
// quotes ("1.5";"2"); a quote left open is refused. A first line with no
// numeric field is a header and skipped; empty lines are skipped; LF or
// CR LF.
TPointParseResult ParseCsvPoints(std::string_view text);

// "x,y" and then one "x,y" line per point, LF line ends.
std::string FormatPointsCsv(const TPointArray& points);

// "kolejność,indeks,x,y" and then one line per route position: the order
// counts from 1, the index is the point's 0-based number as the program's
// point list shows it. Route entries that name no point are left out.
std::string FormatRouteCsv(const TPointArray& points, const TSpecimen& route);
