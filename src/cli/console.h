#pragma once

#include <string>

// Results go to standard output, everything else (errors, the progress
// line) to standard error, so a script can pipe the results alone.
void WriteOut(const std::string& text);
void WriteOutLine(const std::string& line);
// One line on standard error.
void ErrorLine(const std::string& line);
// Flushes standard output. A failed write (a full disk, a closed pipe)
// is reported like a failed save and gives false.
bool FinishOutput();
