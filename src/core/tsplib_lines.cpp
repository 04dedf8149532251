#include "core/tsplib_lines.h"

#include "core/point_text.h"

TTsplibKeyLine SplitTsplibKeyLine(std::string_view line)
{
    size_t keyEnd = line.find(':');
    std::string_view value;
    if (keyEnd != std::string_view::npos) {
        value = line.substr(keyEnd + 1);
    } else {
        keyEnd = line.find_first_of(" \t");
        if (keyEnd != std::string_view::npos)
            value = line.substr(keyEnd);
    }
    return {UpperCase(TrimBlanks(line.substr(0, keyEnd))), TrimBlanks(value)};
}

bool IsTsplibKeyLine(std::string_view line)
{
    return !line.empty() && ((line[0] >= 'A' && line[0] <= 'Z') || (line[0] >= 'a' && line[0] <= 'z'));
}

bool IsTsplibSection(const std::string& key)
{
    constexpr std::string_view Suffix = "_SECTION";
    return key.size() > Suffix.size() && key.compare(key.size() - Suffix.size(), Suffix.size(), Suffix) == 0;
}

std::string UpperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::vector<std::string_view> SplitBlankFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        const size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos)
            break;
        pos = line.find_first_of(" \t", start);
        if (pos == std::string_view::npos)
            pos = line.size();
        fields.push_back(line.substr(start, pos - start));
    }
    return fields;
}
