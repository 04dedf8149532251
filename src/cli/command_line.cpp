#include "cli/command_line.h"

#include <algorithm>

#include "cli/exit_status.h"

std::string TParsedArgs::ValueOr(const std::string& name, const std::string& fallback) const
{
    const auto found = Options.find(name);
    return found == Options.end() ? fallback : found->second;
}

namespace {

const TOptionRule* FindRule(const std::vector<TOptionRule>& rules, const std::string& name)
{
    const auto found =
        std::find_if(rules.begin(), rules.end(), [&](const TOptionRule& entry) { return entry.Name == name; });
    return found == rules.end() ? nullptr : &*found;
}

bool LooksLikeOption(const std::string& arg)
{
    // A lone "-" is an ordinary argument, as is a negative number.
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

}  // namespace

TParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionRule>& rules)
{
    TParsedArgs parsed;
    // Asking for help is never a usage error, whatever else the line holds.
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h") {
            parsed.HelpWanted = true;
            return parsed;
        }
    }
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !LooksLikeOption(arg)) {
            parsed.Positionals.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        const size_t equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            inlineValue = true;
        }
        const TOptionRule* entry = FindRule(rules, name);
        if (!entry)
            throw TUsageError("nieznana opcja " + name);
        if (entry->TakesValue) {
            if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw TUsageError("opcja " + name + " wymaga wartości");
                value = args[++i];
            }
        } else if (inlineValue) {
            throw TUsageError("opcja " + name + " nie przyjmuje wartości");
        }
        parsed.Options[name] = value;
    }
    return parsed;
}

const std::string& SinglePositional(const TParsedArgs& parsed, const std::string& what)
{
    if (parsed.Positionals.empty())
        throw TUsageError("brak argumentu: " + what);
    if (parsed.Positionals.size() > 1)
        throw TUsageError("nadmiarowy argument „" + parsed.Positionals[1] + "”");
    return parsed.Positionals.front();
}
