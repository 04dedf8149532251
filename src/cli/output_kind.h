#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"

// Which kind of file an output argument asks for. The kinds are extensions
// without the dot, in lower case ("png", "svg"); the first is what standard
// output gets unless "--format" names another.
struct TOutputKinds {
    // The option or argument that names the output, for the error texts
    // ("-o", "WYJŚCIE").
    std::string Option;
    // What the kinds hold, in the error text's words: "drogę", "obraz".
    std::string What;
    std::vector<std::string> Kinds;
};

// The kind of the output fileName: its extension in any letter case, or for
// "-" the value of "--format" (the first kind without it). Throws
// TUsageError for any other extension, for an unknown "--format" and for
// "--format" beside a real file, whose extension already says it all.
std::string ChooseOutputKind(const TOutputKinds& kinds, const std::string& fileName, const TParsedArgs& parsed);

// The option rule every command with a chosen output takes.
inline const TOptionRule FormatOptionRule{"--format", true};
