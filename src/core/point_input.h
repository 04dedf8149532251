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
};

// Reads a point set in the format its name's extension gives (".tsp",
// ".csv", anything else ".tvu", which keeps the lenient reader exactly).
// Memory stays bounded as for ReadPointSetFile; a TSPLIB file announcing
// more than MaxPoints points is refused from its header. points and info
// are written only on success.
TFileResult ReadPointsAnyFormat(const std::string& fileName, TPointArray& points, TPointReadInfo& info);
