// Any bytes given to the route CSV reader (what "solve -o F.csv" and the
// window's export write, read back by "length --tour" and "Wczytaj
// drogę..."), for a set of 0 to 63 points on a small grid (the input's
// first byte): it never crashes, a refusal is one printable line, and a
// route it reads visits every point once and is written and read back as
// the same route.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/csv_points.h"
#include "core/route_file.h"
#include "fuzz_checks.h"

namespace {

constexpr const char* Target = "fuzz_route_csv";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // Small coordinates, some negative, so that a line may match its point.
    TPointArray points(data[0] % 64);
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = TMapPoint{static_cast<int32_t>(i % 8), static_cast<int32_t>(i / 8) - 2, -1};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const TTourParseResult read = ParseRouteCsv(text, points);
    if (!read.Ok()) {
        CheckMessage(Target, read.ErrorText);
        return 0;
    }
    if (read.Route.size() != points.size())
        FuzzFail(Target, "a route leaves points out");
    std::vector<char> seen(points.size(), 0);
    for (const int32_t index : read.Route) {
        if (index < 0 || static_cast<size_t>(index) >= points.size() || seen[static_cast<size_t>(index)] != 0)
            FuzzFail(Target, "a route names a point twice or names none");
        seen[static_cast<size_t>(index)] = 1;
    }
    const TTourParseResult again = ParseRouteCsv(FormatRouteCsv(points, read.Route), points);
    if (!again.Ok() || again.Route != read.Route)
        FuzzFail(Target, "a written route reads back otherwise");
    return 0;
}
