#pragma once

#include <string>
#include <string_view>

#include "core/point_set.h"
#include "core/point_text.h"

// TSPLIB point sets (".tsp"): "KEY : value" header lines in any order,
// then NODE_COORD_SECTION with one "number x y" line per point, numbered
// from 1 in order, and an optional EOF. Only planar coordinates with the
// distance types EUC_2D, CEIL_2D and ATT are taken; the program measures
// every set with its own Euclidean distance all the same.

// Reads the whole text. Coordinates are rounded to integers (see
// ReadCoordinate); a DIMENSION above MaxPoints is refused on its header
// line, before any coordinate is read.
TPointParseResult ParseTsplib(std::string_view text);

// The refusals that the header alone gives (DIMENSION above MaxPoints or
// unreadable, a distance or coordinate type the program cannot take), judged
// on the complete lines of a text's first bytes up to the first section.
// Empty when nothing there refuses the file, so a reader of a stream can
// stop early without reading the coordinates.
std::string TsplibHeaderError(std::string_view prefix);

// A TSP file with EUC_2D distances; LF line ends, as TSPLIB tools expect.
std::string FormatPointsTsplib(const std::string& name, const TPointArray& points);

// The NAME for a file: its base name without folder and extension, control
// characters replaced, "punkty" when nothing is left.
std::string TsplibName(const std::string& fileName);
