#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/file_result.h"
#include "core/point_formats.h"
#include "core/point_set.h"

// What a read of a point-set file found besides the points.
struct TPointReadInfo {
    TPointFormat Format = TPointFormat::Tvu;
    // TSPLIB and CSV coordinates that were not whole and were rounded.
    int32_t RoundedCount = 0;
    // .tvu lines that yielded no number at all (points at (0, 0)).
    size_t LinesWithoutNumbers = 0;
    // .tvu lines where one number was read and the other became 0.
    size_t LinesWithUnreadableNumber = 0;
};

// What the user should hear of a read besides its points, for the status
// panel: the counts above that are not 0, in one line; empty when none is.
std::string ReadNoticeText(const TPointReadInfo& info);

// Reads a point set in the format its name's extension gives (".tsp",
// ".csv", anything else ".tvu", which keeps the lenient reader exactly).
// Memory stays bounded as for ReadPointSetFile. Points are counted, not
// lines: a TSPLIB or CSV file may hold any number of comment, header or
// empty lines within MaxPointTextBytes; a TSPLIB file announcing more than
// MaxPoints points is refused from its header. points and info are written
// only on success.
TFileResult ReadPointsAnyFormat(const std::string& fileName, TPointArray& points, TPointReadInfo& info);
