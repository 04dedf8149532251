#include "core/point_set_format.h"

#include "core/csv_points.h"
#include "core/point_file.h"
#include "core/tsplib_file.h"

TFileResult FormatPointSetAs(TPointFormat format, const std::string& tsplibName, const TPointArray& points,
                             std::string& text)
{
    switch (format) {
    case TPointFormat::Tsplib:
        text = FormatPointsTsplib(tsplibName, points);
        return {};
    case TPointFormat::Csv:
        text = FormatPointsCsv(points);
        return {};
    case TPointFormat::Tvu:
        break;
    }
    return FormatPointSetForSave(points, text);
}
