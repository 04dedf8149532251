#pragma once

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

// Fields of the one-line JSON objects the tool prints, read the plain way a
// script would.

// The field's value as written (a number, null, "text" or [list]); empty
// when the object has no such field.
inline std::string JsonField(const std::string& json, const std::string& name)
{
    // Scanned by hand: the standard regex recurses once per character, and
    // the route of a few thousand points overflowed the stack.
    const std::string key = "\"" + name + "\": ";
    const size_t at = json.find(key);
    if (at == std::string::npos)
        return {};
    const size_t from = at + key.size();
    if (from < json.size() && json[from] == '[') {
        const size_t close = json.find(']', from);
        if (close != std::string::npos)
            return json.substr(from, close - from + 1);
    }
    const size_t end = json.find_first_of(",}", from);
    return json.substr(from, end == std::string::npos ? std::string::npos : end - from);
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
    const char* at = text.c_str();
    const char* const end = at + text.size();
    while (at < end) {
        const bool negative = *at == '-' && at + 1 < end && std::isdigit(static_cast<unsigned char>(at[1]));
        if (!negative && !std::isdigit(static_cast<unsigned char>(*at))) {
            ++at;
            continue;
        }
        char* after = nullptr;
        numbers.push_back(static_cast<int>(std::strtol(at, &after, 10)));
        at = after;
    }
    return numbers;
}
