#include "cli/tour_input.h"

#include "cli/command_files.h"
#include "cli/console.h"
#include "core/point_file.h"
#include "core/tour_file.h"

namespace {

// Key lines and the EOF line a tour may hold beside its numbers, which may
// also stand one to a line.
constexpr size_t TourExtraLines = 1000;

}  // namespace

bool ReadTourRoute(const std::string& command, const std::string& tourName, size_t pointCount, TSpecimen& route)
{
    std::string text;
    const TFileResult read =
        ReadPointFileText(InputFileName(tourName), static_cast<size_t>(MaxPoints) + TourExtraLines, text);
    if (!read.Ok()) {
        ErrorLine(FilePlace(command, tourName) + "Błąd odczytu: " + read.ErrorText);
        return false;
    }
    TTourParseResult tour = ParseTour(text, pointCount);
    if (!tour.Ok()) {
        ErrorLine(FilePlace(command, tourName) + "Błąd odczytu: " + tour.ErrorText);
        return false;
    }
    route = std::move(tour.Route);
    return true;
}
