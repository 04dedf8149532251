#include "cli/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

std::string JsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            quoted += "\\\"";
            break;
        case '\\':
            quoted += "\\\\";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

std::string JsonDouble(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[64];
    // to_chars with a precision is printf's %.17g, minus the locale.
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

void TJsonObject::Field(const std::string& name, const std::string& valueText)
{
    if (!FBody.empty())
        FBody += ", ";
    FBody += JsonString(name) + ": " + valueText;
}

TJsonObject& TJsonObject::Add(const std::string& name, const std::string& text)
{
    Field(name, JsonString(text));
    return *this;
}

TJsonObject& TJsonObject::Add(const std::string& name, int64_t value)
{
    Field(name, std::to_string(value));
    return *this;
}

TJsonObject& TJsonObject::AddFlag(const std::string& name, bool value)
{
    Field(name, value ? "true" : "false");
    return *this;
}

TJsonObject& TJsonObject::Add(const std::string& name, double value)
{
    Field(name, JsonDouble(value));
    return *this;
}

TJsonObject& TJsonObject::Add(const std::string& name, const std::vector<int32_t>& values)
{
    std::string list = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            list += ", ";
        list += std::to_string(values[i]);
    }
    Field(name, list + "]");
    return *this;
}

TJsonObject& TJsonObject::AddJson(const std::string& name, const std::string& jsonText)
{
    Field(name, jsonText);
    return *this;
}
