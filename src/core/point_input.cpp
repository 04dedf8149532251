#include "core/point_input.h"

#include "core/point_file.h"
#include "core/tsplib_file.h"

namespace {

// Header, comment and section lines a TSPLIB or CSV file may hold beside
// one line per point.
constexpr size_t TextFormatExtraLines = 1000;

}  // namespace

TFileResult ReadPointsAnyFormat(const std::string& fileName, TPointArray& points, TPointReadInfo& info)
{
    const TPointFormat format = PointFormatOfFile(fileName);
    if (format == TPointFormat::Tvu) {
        std::string text;
        const TFileResult result = ReadPointFileText(fileName, static_cast<size_t>(MaxPoints), text);
        if (!result.Ok())
            return result;
        info = TPointReadInfo{format, 0, CountLinesWithoutNumbers(text)};
        points = ParsePointSet(text);
        return {};
    }

    std::string text;
    const TFileResult result = ReadPointFileText(fileName, static_cast<size_t>(MaxPoints) + TextFormatExtraLines, text);
    if (!result.Ok()) {
        // A file too large to read says in its header how many points it
        // would give, which is the clearer refusal.
        if (format == TPointFormat::Tsplib) {
            const std::string headerError = TsplibHeaderError(text);
            if (!headerError.empty())
                return TFileResult{headerError};
        }
        return result;
    }
    TPointParseResult parsed = ParsePointText(format, text);
    if (!parsed.Ok())
        return TFileResult{parsed.ErrorText};
    info = TPointReadInfo{format, parsed.RoundedCount, 0};
    points = std::move(parsed.Points);
    return {};
}
