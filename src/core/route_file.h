#pragma once

#include <string>
#include <string_view>

#include "core/file_result.h"
#include "core/point_set.h"
#include "core/tour_file.h"

// Routes read back onto a point set: TSPLIB tours (".tour") and the route
// CSV that export writes (FormatRouteCsv). No point format holds a route, so
// a saved set keeps its route in a tour file beside it.

// Reads a route CSV for points: a header line may come first, then one
// "kolejność,indeks,x,y" line per point (";" in place of "," where the
// first line has one; empty lines skipped). The positions run 1..n and the
// indices 0..n-1, each once, in any line order; x and y must be the
// coordinates the set holds for that index, so a route of another set of
// the same size is refused.
TTourParseResult ParseRouteCsv(std::string_view text, const TPointArray& points);

// Whether a route file is read as a route CSV: its name ends in ".csv" in
// any case.
bool IsRouteCsvName(const std::string& fileName);

// Reads a route file for points: ".csv" as a route CSV, any other name as a
// TSPLIB tour. The read is bounded by MaxPointTextBytes; points are counted
// by the parsers, not lines. route is written only on success.
TFileResult ReadRouteFile(const std::string& fileName, const TPointArray& points, TSpecimen& route);

// The tour file that goes with a point-set file: the same name with ".tour"
// in place of its extension ("a/zbiór.tsp" gives "a/zbiór.tour").
std::string RouteFileBeside(const std::string& pointFileName);
