#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// The text of a file under tests/data, found from this header's place.
inline std::string DataFileText(const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / name;
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
