#include "core/point_set_format.h"

#include "core/csv_points.h"
#include "core/point_file.h"
#include "core/tsplib_file.h"

TFileResult FormatPointSetAs(TPointFormat format, const std::string& tsplibName, const TPointArray& points,
                             std::string& text)
{
    return FormatSetAs(format, tsplibName, points, TSetPlaces(), text);
}

TFileResult FormatSetAs(TPointFormat format, const std::string& tsplibName, const TPointArray& points,
                        const TSetPlaces& places, std::string& text)
{
    switch (format) {
    case TPointFormat::Tsplib:
        text = FormatSetTsplib(tsplibName, points, places);
        return {};
    case TPointFormat::Csv:
        text = FormatSetCsv(points, places);
        return {};
    case TPointFormat::Tvu:
        break;
    }
    return FormatPointSetForSave(points, text);
}
