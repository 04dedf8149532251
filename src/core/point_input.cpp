#include "core/point_input.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/point_file.h"
#include "core/tsplib_file.h"

size_t PointTextBytesFor(int32_t maxPoints)
{
    return std::max(MaxPointTextBytes, static_cast<size_t>(std::max(maxPoints, 0)) * 256);
}

TFileResult ReadSetAnyFormat(const std::string& fileName, int32_t maxPoints, TPointArray& points, TSetPlaces& places,
                             TPointReadInfo& info)
{
    const TPointFormat format = PointFormatOfFile(fileName);
    if (format == TPointFormat::Tvu) {
        std::string text;
        const TFileResult result = ReadPointFileText(fileName, static_cast<size_t>(MaxPoints), text);
        if (!result.Ok())
            return result;
        info = TPointReadInfo{format, 0, CountLinesWithoutNumbers(text), CountLinesWithUnreadableNumber(text)};
        points = ParsePointSet(text);
        places = TSetPlaces();
        return {};
    }

    std::string text;
    // The parsers count the points; the byte limit bounds the read.
    const TFileResult result =
        ReadPointFileText(fileName, std::numeric_limits<size_t>::max(), text, PointTextBytesFor(maxPoints), maxPoints);
    if (!result.Ok()) {
        // A file too large to read says in its header how many points it
        // would give, which is the clearer refusal.
        if (format == TPointFormat::Tsplib) {
            const std::string headerError = TsplibHeaderError(text, maxPoints);
            if (!headerError.empty())
                return TFileResult{headerError};
        }
        return result;
    }
    TPointParseResult parsed = ParsePointText(format, text, maxPoints);
    if (!parsed.Ok())
        return TFileResult{parsed.ErrorText};
    info = TPointReadInfo{format, parsed.RoundedCount, 0, 0, parsed.Places.OwnPlaces()};
    points = std::move(parsed.Points);
    places = std::move(parsed.Places);
    return {};
}

TFileResult ReadPointsAnyFormat(const std::string& fileName, TPointArray& points, TPointReadInfo& info)
{
    TSetPlaces places;
    return ReadSetAnyFormat(fileName, MaxPoints, points, places, info);
}

std::string RoundedOnMapText(int32_t count)
{
    return std::to_string(count) + " " +
           PolishPlural(count, "współrzędną zaokrąglono do liczby całkowitej",
                        "współrzędne zaokrąglono do liczb całkowitych",
                        "współrzędnych zaokrąglono do liczb całkowitych") +
           " tylko na mapie; długości liczone są z wartości z pliku";
}

std::string RoundingNoticeText(const TPointReadInfo& info)
{
    if (info.RoundedCount == 0)
        return {};
    // Where the set keeps the file's values its lengths are measured from
    // them: saying only that they were rounded would read as if the lengths
    // were measured between the rounded points.
    return info.PlacesKept ? RoundedOnMapText(info.RoundedCount) : RoundedCoordinatesText(info.RoundedCount);
}

std::string ReadNoticeText(const TPointReadInfo& info)
{
    std::vector<std::string> notices;
    if (info.RoundedCount > 0)
        notices.push_back(RoundingNoticeText(info));
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
