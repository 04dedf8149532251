#include "cli/point_output.h"

#include "cli/output_kind.h"

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
