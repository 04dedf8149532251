#include "core/point_formats.h"

#include "core/csv_points.h"
#include "core/lenient_int.h"
#include "core/point_file.h"
#include "core/tsplib_file.h"
#include "core/tsplib_lines.h"

std::string_view FileExtension(std::string_view fileName)
{
    const size_t slash = fileName.rfind('/');
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return fileName.substr(dot + 1);
}

TPointFormat PointFormatOfFile(const std::string& fileName)
{
    const std::string extension = UpperCase(FileExtension(fileName));
    if (extension == "TSP")
        return TPointFormat::Tsplib;
    if (extension == "CSV")
        return TPointFormat::Csv;
    return TPointFormat::Tvu;
}

TPointParseResult ParsePointText(TPointFormat format, std::string_view text, int32_t maxPoints)
{
    switch (format) {
    case TPointFormat::Tsplib:
        return ParseTsplib(text, maxPoints);
    case TPointFormat::Csv:
        return ParseCsvPoints(text, maxPoints);
    case TPointFormat::Tvu:
        break;
    }
    TPointParseResult result;
    const size_t lineCount = SplitPointFileLines(text).size();
    if (lineCount > static_cast<size_t>(MaxPoints))
        result.ErrorText = TooManyPointsText(lineCount);
    else
        result.Points = ParsePointSet(text);
    return result;
}

namespace {

// A part yields a number when the fallback does not show through: two
// different fallbacks give the same value only for a readable part.
bool YieldsNumber(std::string_view part)
{
    return LenientInt(part, 0) == LenientInt(part, 1);
}

// How many of a line's two parts read as integers: the X text before the
// first ";" (empty without one) and the Y text after it.
int ReadableParts(std::string_view line)
{
    const size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos)
        return YieldsNumber(line) ? 1 : 0;
    return (YieldsNumber(line.substr(0, semicolon)) ? 1 : 0) + (YieldsNumber(line.substr(semicolon + 1)) ? 1 : 0);
}

size_t CountLinesWithReadableParts(std::string_view text, int parts)
{
    size_t count = 0;
    for (const std::string_view line : SplitPointFileLines(text))
        if (ReadableParts(line) == parts)
            ++count;
    return count;
}

}  // namespace

size_t CountLinesWithoutNumbers(std::string_view text)
{
    return CountLinesWithReadableParts(text, 0);
}

size_t CountLinesWithUnreadableNumber(std::string_view text)
{
    return CountLinesWithReadableParts(text, 1);
}

std::string LinesWithoutNumbersText(size_t count)
{
    return std::to_string(count) + " " + PolishPlural(static_cast<int64_t>(count), "wiersz", "wiersze", "wierszy") +
           " bez liczb; czy to na pewno plik .tvu?";
}

std::string LinesWithUnreadableNumberText(size_t count)
{
    return std::to_string(count) + " " + PolishPlural(static_cast<int64_t>(count), "wiersz", "wiersze", "wierszy") +
           " z nieczytelną liczbą (przyjęto 0)";
}
