// Any bytes given to the TSPLIB reader: it never crashes, a refusal is one
// printable line, what the header alone refuses the whole file refuses too,
// and a set it reads is written and read back (as TSPLIB and as CSV) as the
// same points.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/csv_points.h"
#include "core/tsplib_file.h"
#include "fuzz_checks.h"

namespace {

constexpr const char* Target = "fuzz_tsplib";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TPointParseResult read = ParseTsplib(text);
    const std::string headerError = TsplibHeaderError(text);
    CheckMessage(Target, headerError);
    if (!headerError.empty() && read.Ok())
        FuzzFail(Target, "the header refuses a file that the reader takes");
    if (!read.Ok()) {
        CheckMessage(Target, read.ErrorText);
        return 0;
    }
    CheckReadPoints(Target, read.Points);
    const TPointParseResult again = ParseTsplib(FormatPointsTsplib(TsplibName("x\n.tsp"), read.Points));
    if (!again.Ok() || again.RoundedCount != 0 || !SamePoints(again.Points, read.Points))
        FuzzFail(Target, "a written TSPLIB file reads back otherwise");
    const TPointParseResult csv = ParseCsvPoints(FormatPointsCsv(read.Points));
    if (!csv.Ok() || !SamePoints(csv.Points, read.Points))
        FuzzFail(Target, "the set written as CSV reads back otherwise");
    return 0;
}
