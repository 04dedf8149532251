#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

// The text of a file under tests/data, found from this header's place.
inline std::string DataFileText(const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(__FILE__).parent_path().parent_path() / "data" / name;
    std::ifstream in(path, std::ios::binary);
    // Run from another folder a relative __FILE__ (as ccache's base folder
    // makes it) finds nothing: say so rather than read an empty set.
    if (!in)
        throw std::runtime_error("no data file " + path.string() + " (run from the build's own folder)");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
