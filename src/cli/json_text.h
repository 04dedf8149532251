#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One JSON object on one line, fields in the order they are added:
// {"method": "exhaustive", "points": 12, "length": 1234.5}. Numbers are
// written in the C locale whatever the regional settings say.
class TJsonObject {
public:
    TJsonObject& Add(const std::string& name, const std::string& text);
    TJsonObject& Add(const std::string& name, int64_t value);
    TJsonObject& Add(const std::string& name, int32_t value) { return Add(name, static_cast<int64_t>(value)); }
    // Seventeen significant digits, so that reading the text back gives the
    // same 64-bit float; null for a value JSON can't hold.
    TJsonObject& Add(const std::string& name, double value);
    TJsonObject& Add(const std::string& name, const std::vector<int32_t>& values);
    // true or false; a name of its own, so that a string literal never
    // turns into a flag.
    TJsonObject& AddFlag(const std::string& name, bool value);
    // A value already written as JSON (an array of objects).
    TJsonObject& AddJson(const std::string& name, const std::string& jsonText);

    std::string Text() const { return "{" + FBody + "}"; }

private:
    void Field(const std::string& name, const std::string& valueText);

    std::string FBody;
};

std::string JsonString(const std::string& text);
std::string JsonDouble(double value);
