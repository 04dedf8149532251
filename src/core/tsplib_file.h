#pragma once

#include <string>
#include <string_view>

#include "core/point_set.h"
#include "core/point_text.h"

// TSPLIB point sets (".tsp"): "KEY : value" header lines in any order,
// then NODE_COORD_SECTION with one "number x y" line per point, numbered
// from 1 in order, and an optional EOF. Planar coordinates with the
// distance types EUC_2D, CEIL_2D and ATT, and latitudes and longitudes
// (DDD.MM) with GEO; the type is the set's measure.

// Reads the whole text. The coordinates are kept at full precision as the
// set's places when they are not all whole numbers, or for GEO always; the
// map points are the coordinates rounded (see ReadCoordinate), or for GEO
// the places' picture in the Earth's projection. NAME and COMMENT are kept.
// A DIMENSION above maxPoints is refused on its header line, before any
// coordinate is read.
TPointParseResult ParseTsplib(std::string_view text, int32_t maxPoints = MaxPoints);

// The refusals that the header alone gives (DIMENSION above maxPoints or
// unreadable, a distance or coordinate type the program cannot take), judged
// on the complete lines of a text's first bytes up to the first section.
// Empty when nothing there refuses the file, so a reader of a stream can
// stop early without reading the coordinates.
std::string TsplibHeaderError(std::string_view prefix, int32_t maxPoints = MaxPoints);

// A TSP file with EUC_2D distances; LF line ends, as TSPLIB tools expect.
std::string FormatPointsTsplib(const std::string& name, const TPointArray& points);

// A set as a TSP file that keeps what its file said: the NAME it was read
// with (name when none), its COMMENT lines, its EDGE_WEIGHT_TYPE (EUC_2D for
// the plane; GEO for places given in decimal degrees, turned into DDD.MM)
// and its coordinates (the shortest text of each place, or the map point's
// whole numbers). The same text as FormatPointsTsplib for a set without
// places, comments or name of its own.
std::string FormatSetTsplib(const std::string& name, const TPointArray& points, const TSetPlaces& places);

// The NAME for a file: its base name without folder and extension, control
// characters replaced, "punkty" when nothing is left.
std::string TsplibName(const std::string& fileName);
