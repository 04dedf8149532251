#include "core/tour_kind.h"

#include <fstream>

#include "core/csv_points.h"
#include "core/point_text.h"
#include "core/route_file.h"

namespace {

bool StartsSection(std::string_view line)
{
    return line.substr(0, 12) == "TOUR_SECTION";
}

}  // namespace

std::string TourOfKind(const std::string& tour, bool roundTrip)
{
    if (!roundTrip)
        return tour;
    const size_t firstEnd = tour.find('\n');
    const size_t at = firstEnd == std::string::npos ? 0 : firstEnd + 1;
    return tour.substr(0, at) + std::string(RoundTripTourComment) + "\n" + tour.substr(at);
}

bool TourFileSaysRoundTrip(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        std::string_view view = line;
        if (!view.empty() && view.back() == '\r')
            view.remove_suffix(1);
        const std::string_view trimmed = TrimBlanks(view);
        if (StartsSection(trimmed))
            return false;
        if (trimmed == RoundTripTourComment)
            return true;
    }
    return false;
}

bool RouteFileSaysRoundTrip(const std::string& fileName)
{
    if (!IsRouteCsvName(fileName))
        return TourFileSaysRoundTrip(fileName);
    std::ifstream file(fileName, std::ios::binary);
    std::string line;
    std::getline(file, line);
    const std::string_view view = line;
    return TrimBlanks(view.substr(0, view.find_first_of(",;"))) == RouteCsvRoundTrip;
}
