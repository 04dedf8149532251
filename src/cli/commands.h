#pragma once

#include <string>
#include <vector>

// The tool's commands. Each takes the arguments after its name, returns the
// exit status and throws TUsageError for a wrong command line.
int RunSolve(const std::vector<std::string>& args);
int RunRandom(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunLength(const std::vector<std::string>& args);
