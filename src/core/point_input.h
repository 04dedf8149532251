#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/file_result.h"
#include "core/point_formats.h"
#include "core/point_set.h"

// The most points a TSPLIB or CSV file may give, by who reads it: the
// command-line tool, whose local search and bound need no n x n table, and
// the window. A .tvu file keeps MaxPoints whoever reads it.
inline constexpr int32_t MaxToolPoints = 1000000;
inline constexpr int32_t MaxWindowPoints = 100000;

// The most bytes of text a read of up to maxPoints points takes:
// MaxPointTextBytes, or 256 bytes a point for a larger limit.
size_t PointTextBytesFor(int32_t maxPoints);

// What a read of a point-set file found besides the points.
struct TPointReadInfo {
    TPointFormat Format = TPointFormat::Tvu;
    // TSPLIB and CSV coordinates that were not whole and were rounded.
    int32_t RoundedCount = 0;
    // .tvu lines that yielded no number at all (points at (0, 0)).
    size_t LinesWithoutNumbers = 0;
    // .tvu lines where one number was read and the other became 0.
    size_t LinesWithUnreadableNumber = 0;
    // The coordinates as written are kept beside the rounded points, and
    // the lengths are measured from them.
    bool PlacesKept = false;
};

// What the user should hear of a read besides its points, for the status
// panel: the counts above that are not 0, in one line; empty when none is.
std::string ReadNoticeText(const TPointReadInfo& info);

// "N współrzędnych zaokrąglono do liczb całkowitych tylko na mapie; długości
// liczone są z wartości z pliku", with the Polish plural for N.
std::string RoundedOnMapText(int32_t count);

// What a read says of its rounded coordinates: only on the map when the set
// keeps the file's values, plainly rounded otherwise; empty when none was.
std::string RoundingNoticeText(const TPointReadInfo& info);

// Reads a point set in the format its name's extension gives (".tsp",
// ".csv", anything else ".tvu", which keeps the lenient reader exactly),
// with the file's measure and its places (see TSetPlaces). Memory stays
// bounded as for ReadPointSetFile, within PointTextBytesFor(maxPoints) of
// text. Points are counted, not lines: a TSPLIB or CSV file may hold any
// number of comment, header or empty lines; a TSPLIB file announcing more
// than maxPoints points is refused from its header, a .tvu file of more than
// MaxPoints lines whatever maxPoints says. points, places and info are
// written only on success.
TFileResult ReadSetAnyFormat(const std::string& fileName, int32_t maxPoints, TPointArray& points, TSetPlaces& places,
                             TPointReadInfo& info);

// The points alone, up to MaxPoints.
TFileResult ReadPointsAnyFormat(const std::string& fileName, TPointArray& points, TPointReadInfo& info);
