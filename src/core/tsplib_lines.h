#pragma once

#include <string>
#include <string_view>
#include <vector>

// The line shapes that TSPLIB point and tour files share.

// "KEY : value", "KEY: value", "KEY :value" or a bare "KEY" (then the value
// is whatever follows the first blank). The key is in capitals.
struct TTsplibKeyLine {
    std::string Key;
    std::string_view Value;
};
TTsplibKeyLine SplitTsplibKeyLine(std::string_view line);

// A line that starts with a letter names a key or a section; data lines
// start with a digit or a sign.
bool IsTsplibKeyLine(std::string_view line);
bool IsTsplibSection(const std::string& key);

std::string UpperCase(std::string_view text);
// The fields of a line split at blanks and tabs.
std::vector<std::string_view> SplitBlankFields(std::string_view line);
