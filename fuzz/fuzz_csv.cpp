// Any bytes given to the CSV reader: it never crashes, a refusal is one
// printable line that names its line, and a set it reads is written and
// read back as the same points.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/csv_points.h"
#include "fuzz_checks.h"

namespace {

constexpr const char* Target = "fuzz_csv";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TPointParseResult read = ParseCsvPoints(text);
    if (!read.Ok()) {
        CheckMessage(Target, read.ErrorText);
        if (read.ErrorText.rfind("wiersz ", 0) != 0 && read.ErrorText.rfind("Zbyt wiele punktów", 0) != 0)
            FuzzFail(Target, "a refusal names no line");
        return 0;
    }
    CheckReadPoints(Target, read.Points);
    const TPointParseResult again = ParseCsvPoints(FormatPointsCsv(read.Points));
    if (!again.Ok() || again.RoundedCount != 0 || !SamePoints(again.Points, read.Points))
        FuzzFail(Target, "a written CSV file reads back otherwise");
    return 0;
}
