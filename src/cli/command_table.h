#pragma once

#include <string>
#include <vector>

// One command of the tool. Run takes the arguments after the command's
// name, returns the exit status and throws TUsageError for a wrong command
// line.
struct TCliCommand {
    const char* Name;
    // The command's line in the general help, after its name.
    const char* Summary;
    // What "tovu-cli NAME --help" prints.
    const char* Help;
    int (*Run)(const std::vector<std::string>& args);
};

// Every command, in the order the general help lists them.
const std::vector<TCliCommand>& CliCommands();
// Null for a name that is no command.
const TCliCommand* FindCliCommand(const std::string& name);

int RunSolve(const std::vector<std::string>& args);
int RunCompare(const std::vector<std::string>& args);
int RunRandom(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunLength(const std::vector<std::string>& args);
int RunBound(const std::vector<std::string>& args);
int RunConvert(const std::vector<std::string>& args);
