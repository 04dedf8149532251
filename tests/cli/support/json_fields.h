#pragma once

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

// Fields of the one-line JSON objects the tool prints, read the plain way a
// script would.

// The field's value as written (a number, null, "text" or [list]); empty
// when the object has no such field.
inline std::string JsonField(const std::string& json, const std::string& name)
{
    const std::regex field("\"" + name + "\": (\\[[^\\]]*\\]|[^,}]*)");
    std::smatch match;
    if (!std::regex_search(json, match, field))
        return {};
    return match[1];
}

inline double JsonNumber(const std::string& json, const std::string& name)
{
    return std::strtod(JsonField(json, name).c_str(), nullptr);
}

// The whole numbers of a list field ("route": [2, 0, 1]) or of a text line
// ("Droga: 2 0 1").
inline std::vector<int> NumbersIn(const std::string& text)
{
    std::vector<int> numbers;
    static const std::regex number("-?[0-9]+");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
        numbers.push_back(std::stoi(it->str()));
    return numbers;
}
