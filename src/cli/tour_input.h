#pragma once

#include <cstddef>
#include <string>

#include "core/point_set.h"

// The route of a TSPLIB tour file (--tour) for a set of pointCount points.
// A failure is one error line naming the command and the file, and false.
bool ReadTourRoute(const std::string& command, const std::string& tourName, size_t pointCount, TSpecimen& route);
