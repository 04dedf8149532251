#pragma once

#include <string>

// The help texts of the commands, one each.
extern const char* const SolveHelp;
extern const char* const CompareHelp;
extern const char* const RandomHelp;
extern const char* const RenderHelp;
extern const char* const LengthHelp;
extern const char* const BoundHelp;
extern const char* const ConvertHelp;

// What "tovu-cli --help" prints: the commands from the command table.
std::string GeneralHelp();
// Empty for a name that is no command.
std::string CommandHelp(const std::string& command);
