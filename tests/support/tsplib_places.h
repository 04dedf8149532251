#pragma once

#include <sstream>
#include <string>

#include "core/measure.h"
#include "support/data_files.h"

// The coordinates of a TSPLIB file under tests/data (its NODE_COORD_SECTION,
// at full precision), for problems made straight from them.
inline TPlaceArray TsplibPlaces(const std::string& name)
{
    std::istringstream lines(DataFileText(name));
    std::string line;
    bool inSection = false;
    TPlaceArray places;
    while (std::getline(lines, line)) {
        if (line.rfind("NODE_COORD_SECTION", 0) == 0) {
            inSection = true;
            continue;
        }
        if (!inSection || line.rfind("EOF", 0) == 0)
            continue;
        std::istringstream fields(line);
        long index = 0;
        TPlace place;
        if (fields >> index >> place.X >> place.Y)
            places.push_back(place);
    }
    return places;
}
