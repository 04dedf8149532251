#pragma once

#include <string>

#include "core/point_set.h"

// The route of a route file (--tour) for the set's points: a TSPLIB tour,
// or the route CSV that "solve -o F.csv" and the window's export write. A
// failure is one error line naming the command and the file, and false.
bool ReadTourRoute(const std::string& command, const std::string& tourName, const TPointArray& points,
                   TSpecimen& route);
