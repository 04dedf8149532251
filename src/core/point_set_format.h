#pragma once

#include <string>

#include "core/file_result.h"
#include "core/point_formats.h"
#include "core/point_set.h"

// The text of a point-set file in a format the program reads back: .tvu
// (refusing more points than the reader takes), TSPLIB under the given
// NAME, or CSV.
TFileResult FormatPointSetAs(TPointFormat format, const std::string& tsplibName, const TPointArray& points,
                             std::string& text);

// The same for a set with what its file said (see FormatSetTsplib and
// FormatSetCsv); a .tvu holds the map points alone. tsplibName is the NAME
// of a set whose file gave none.
TFileResult FormatSetAs(TPointFormat format, const std::string& tsplibName, const TPointArray& points,
                        const TSetPlaces& places, std::string& text);
