// Any bytes given to the tour reader, for a set of 0 to 63 points (the
// input's first byte): it never crashes, a refusal is one printable line,
// and a tour it reads visits every point once and is written and read back
// as the same route.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/tour_file.h"
#include "fuzz_checks.h"

namespace {

constexpr const char* Target = "fuzz_tour";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t pointCount = data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const TTourParseResult read = ParseTour(text, pointCount);
    if (!read.Ok()) {
        CheckMessage(Target, read.ErrorText);
        if (!read.Route.empty())
            FuzzFail(Target, "a refused tour still gives a route");
        return 0;
    }
    if (read.Route.size() != pointCount)
        FuzzFail(Target, "a tour leaves points out");
    std::vector<char> seen(pointCount, 0);
    for (const int32_t index : read.Route) {
        if (index < 0 || static_cast<size_t>(index) >= pointCount || seen[static_cast<size_t>(index)] != 0)
            FuzzFail(Target, "a tour names a point twice or names none");
        seen[static_cast<size_t>(index)] = 1;
    }
    const TTourParseResult again = ParseTour(FormatTour("t", read.Route), pointCount);
    if (!again.Ok() || again.Route != read.Route)
        FuzzFail(Target, "a written tour reads back otherwise");
    return 0;
}
