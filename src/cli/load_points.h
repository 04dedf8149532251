#pragma once

#include <string>

#include "core/point_set.h"

// Reads the command's point-set file into state (coordinates only: the
// distance matrix is built by the commands that need it). A failure is one
// line on standard error; the result says whether the command can go on.
bool LoadPointsForCommand(TPointSetState& state, const std::string& fileName);
