#include "core/point_input.h"

#include <limits>
#include <vector>

#include "core/point_file.h"
#include "core/tsplib_file.h"

TFileResult ReadPointsAnyFormat(const std::string& fileName, TPointArray& points, TPointReadInfo& info)
{
    const TPointFormat format = PointFormatOfFile(fileName);
    if (format == TPointFormat::Tvu) {
        std::string text;
        const TFileResult result = ReadPointFileText(fileName, static_cast<size_t>(MaxPoints), text);
        if (!result.Ok())
            return result;
        info = TPointReadInfo{format, 0, CountLinesWithoutNumbers(text), CountLinesWithUnreadableNumber(text)};
        points = ParsePointSet(text);
        return {};
    }

    std::string text;
    // The parsers count the points; the byte limit bounds the read.
    const TFileResult result = ReadPointFileText(fileName, std::numeric_limits<size_t>::max(), text);
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
    info = TPointReadInfo{format, parsed.RoundedCount, 0, 0};
    points = std::move(parsed.Points);
    return {};
}

std::string ReadNoticeText(const TPointReadInfo& info)
{
    std::vector<std::string> notices;
    if (info.RoundedCount > 0)
        notices.push_back(RoundedCoordinatesText(info.RoundedCount));
    if (info.LinesWithUnreadableNumber > 0)
        notices.push_back(LinesWithUnreadableNumberText(info.LinesWithUnreadableNumber));
    // Last: its question is about the whole file.
    if (info.LinesWithoutNumbers > 0)
        notices.push_back(LinesWithoutNumbersText(info.LinesWithoutNumbers));
    std::string text;
    for (const std::string& notice : notices)
        text += (text.empty() ? "" : "; ") + notice;
    return text;
}
