#pragma once

#include <string>
#include <string_view>

// The point file a command reads, as the core names it: "-" stands for
// standard input.
std::string InputFileName(const std::string& argument);

// "tovu-cli solve: dane.tvu: ", how an error line names the command and the
// file it is about (as the user typed it).
std::string FilePlace(const std::string& command, const std::string& fileName);

// Saves an output file (-o); "-" writes it to standard output instead. A
// failure is one error line naming the file and gives false. A signal
// (Ctrl+C, SIGTERM, SIGHUP) gives the save up, the old file whole and no
// temporary file left, and then ends the program with its status.
bool SaveOutputFile(const std::string& command, const std::string& fileName, std::string_view content);
