#pragma once

#include <string>

#include "core/point_set.h"

// Reads the command's point-set file ("-" is standard input) into state
// (coordinates only: the distance matrix is built by the commands that need
// it). A failure is one line on standard error that names the command and
// the file; the result says whether the command can go on.
bool LoadPointsForCommand(TPointSetState& state, const std::string& command, const std::string& fileName);
