#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/point_set.h"

// Routes as TSPLIB tour files (".tour"): NAME, TYPE : TOUR, DIMENSION,
// TOUR_SECTION with 1-based point numbers, -1 to end it, EOF.

// LF line ends, one number a line. route names points by 0-based index.
std::string FormatTour(const std::string& name, const TSpecimen& route);

// Outcome of reading a tour: empty ErrorText means success; Route then
// names every point of the set exactly once, 0-based.
struct TTourParseResult {
    TSpecimen Route;
    std::string ErrorText;
    bool Ok() const { return ErrorText.empty(); }
};

// Reads a tour for a set of pointCount points. The numbers of TOUR_SECTION
// may stand several to a line; -1, a key line or the end of the text ends
// the section. Refused: a TYPE other than TOUR, a DIMENSION other than
// pointCount, numbers outside 1..pointCount, repeated numbers, and a tour
// that does not visit every point.
TTourParseResult ParseTour(std::string_view text, size_t pointCount);
