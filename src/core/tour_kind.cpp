#include "core/tour_kind.h"

#include <fstream>

namespace {

std::string_view Trimmed(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

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
        const std::string_view trimmed = Trimmed(line);
        if (StartsSection(trimmed))
            return false;
        if (trimmed == RoundTripTourComment)
            return true;
    }
    return false;
}
