#pragma once

#include <string>

#include "core/point_set.h"

// Reads the command's point-set file ("-" is standard input) into state
// (its points, places and measure: the distance matrix is built by the
// commands that need it), in the format its extension names; a TSPLIB or
// CSV file may hold up to MaxToolPoints points. A failure is one line on standard
// error that names the command and the file; the result says whether the
// command can go on. Rounded coordinates and .tvu lines without numbers are
// reported the same way, and the command goes on.
bool LoadPointsForCommand(TPointSetState& state, const std::string& command, const std::string& fileName);

// One warning line when the copy of an interrupted in-place write lies
// beside the file: it may be half-written, its old contents in the copy.
void WarnOfLeftoverCopy(const std::string& command, const std::string& fileName);
