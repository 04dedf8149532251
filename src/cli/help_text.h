#pragma once

#include <string>

// What "tovu-cli --help" and "tovu-cli COMMAND --help" print.
std::string GeneralHelp();
// Empty for a name that is no command.
std::string CommandHelp(const std::string& command);
