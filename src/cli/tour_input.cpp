#include "cli/tour_input.h"

#include "cli/command_files.h"
#include "cli/console.h"
#include "cli/load_points.h"
#include "core/route_file.h"

bool ReadTourRoute(const std::string& command, const std::string& tourName, const TPointArray& points, TSpecimen& route)
{
    const TFileResult read = ReadRouteFile(InputFileName(tourName), points, route);
    if (!read.Ok()) {
        ErrorLine(FilePlace(command, tourName) + "Błąd odczytu: " + read.ErrorText);
        return false;
    }
    WarnOfLeftoverCopy(command, tourName);
    return true;
}
