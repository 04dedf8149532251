#pragma once

#include <string>

// Results go to standard output, everything else (errors, the progress
// line) to standard error, so a script can pipe the results alone.
void WriteOut(const std::string& text);
void WriteOutLine(const std::string& line);
// Sends what was written so far on its way (a trace a reader watches); a
// failure is kept for FinishOutput.
void FlushOut();
// One line on standard error. Control characters (from a file's contents
// or a file's name) show escaped, so the line stays one line and no text
// from a file can command the terminal.
void ErrorLine(const std::string& line);
// The command the error lines about standard output name ("solve").
void NameCommand(const std::string& command);
// Flushes standard output. A failed write (a full disk, a closed pipe)
// is reported like a failed save, naming standard output and the first
// error that the writes met, and gives false.
bool FinishOutput();
