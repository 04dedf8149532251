#pragma once

#include <map>
#include <string>
#include <vector>

// One option a command accepts: "--tries N" takes a value, "--json" does not.
struct TOptionRule {
    std::string Name;
    bool TakesValue = false;
};

// A command's arguments split into options and plain arguments. Options may
// stand anywhere, as "--name value" or "--name=value"; "--" ends them.
struct TParsedArgs {
    std::vector<std::string> Positionals;
    // The last value given for each option that was given (empty for flags).
    std::map<std::string, std::string> Options;
    bool HelpWanted = false;

    bool Has(const std::string& name) const { return Options.count(name) > 0; }
    // The option's value, or fallback when it was not given.
    std::string ValueOr(const std::string& name, const std::string& fallback) const;
};

// Throws TUsageError for an option the command does not know or a value
// that is missing. "--help" and "-h" are known to every command.
TParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionRule>& rules);

// The one plain argument a command takes (a file name, a count); what names
// it in the error texts.
const std::string& SinglePositional(const TParsedArgs& parsed, const std::string& what);
