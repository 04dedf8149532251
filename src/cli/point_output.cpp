#include "cli/point_output.h"

#include "cli/output_kind.h"
#include "core/csv_points.h"
#include "core/point_file.h"
#include "core/tsplib_file.h"

TFileResult FormatPointsAs(TPointFormat format, const std::string& tsplibName, const TPointArray& points,
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

TPointFormat ChoosePointOutputFormat(const std::string& option, const std::string& fileName, const TParsedArgs& parsed)
{
    const TOutputKinds pointSetKinds{option, "zbiór punktów", {"tvu", "tsp", "csv"}};
    const std::string kind = ChooseOutputKind(pointSetKinds, fileName, parsed);
    if (kind == "tsp")
        return TPointFormat::Tsplib;
    if (kind == "csv")
        return TPointFormat::Csv;
    return TPointFormat::Tvu;
}
