#include "core/csv_points.h"

namespace {

bool LooksNumeric(std::string_view field)
{
    return !field.empty() &&
           ((field[0] >= '0' && field[0] <= '9') || field[0] == '-' || field[0] == '+' || field[0] == '.');
}

// A header names its columns: no field of it even starts like a number.
bool IsHeader(std::string_view line)
{
    const char separator = line.find(';') != std::string_view::npos ? ';' : ',';
    size_t start = 0;
    for (;;) {
        const size_t end = line.find(separator, start);
        if (LooksNumeric(TrimBlanks(line.substr(start, end - start))))
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

// The point of one "x<separator>y" line, or why there is none.
std::string ReadCsvLine(std::string_view line, char separator, TMapPoint& point, int32_t& roundedCount)
{
    const size_t at = line.find(separator);
    if (at == std::string_view::npos || line.find(separator, at + 1) != std::string_view::npos)
        return std::string("oczekiwano dwóch liczb rozdzielonych „") + separator + "”: " + QuotedExcerpt(line);
    const std::string_view fields[2] = {TrimBlanks(line.substr(0, at)), TrimBlanks(line.substr(at + 1))};
    int32_t rounded = 0;
    for (int axis = 0; axis < 2; ++axis) {
        const TCoordinateRead read = ReadCoordinate(fields[axis], axis == 0 ? point.X : point.Y);
        if (read == TCoordinateRead::OutOfRange)
            return "współrzędna poza zakresem liczb 32-bitowych: " + QuotedExcerpt(fields[axis]);
        if (read == TCoordinateRead::Malformed)
            return "nieprawidłowa liczba " + QuotedExcerpt(fields[axis]) + " (ułamki piszemy z kropką)";
        if (read == TCoordinateRead::Rounded)
            ++rounded;
    }
    roundedCount += rounded;
    return {};
}

}  // namespace

TPointParseResult ParseCsvPoints(std::string_view text)
{
    TPointParseResult result;
    char separator = 0;
    bool headerAllowed = true;
    int64_t pointCount = 0;
    int64_t lineNumber = 0;
    std::string_view rest = SkipByteOrderMark(text);
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        ++lineNumber;
        if (line.empty())
            continue;
        TMapPoint point;
        std::string error;
        if (separator != 0) {
            error = ReadCsvLine(line, separator, point, result.RoundedCount);
        } else if (ReadCsvLine(line, ';', point, result.RoundedCount).empty()) {
            separator = ';';
        } else if (ReadCsvLine(line, ',', point, result.RoundedCount).empty()) {
            separator = ',';
        } else if (headerAllowed && IsHeader(line)) {
            headerAllowed = false;
            continue;
        } else {
            error = "oczekiwano dwóch liczb „x,y” lub „x;y” (ułamki z kropką): " + QuotedExcerpt(line);
        }
        if (!error.empty()) {
            TPointParseResult refusal;
            refusal.ErrorText = LineMessage(lineNumber, error);
            return refusal;
        }
        headerAllowed = false;
        if (pointCount < MaxPoints)
            result.Points.push_back(point);
        ++pointCount;
    }
    if (pointCount > MaxPoints) {
        TPointParseResult refusal;
        refusal.ErrorText = TooManyPointsText(static_cast<size_t>(pointCount));
        return refusal;
    }
    return result;
}

std::string FormatPointsCsv(const TPointArray& points)
{
    std::string text = "x,y\n";
    for (const TMapPoint& point : points)
        text += std::to_string(point.X) + "," + std::to_string(point.Y) + "\n";
    return text;
}

std::string FormatRouteCsv(const TPointArray& points, const TSpecimen& route)
{
    std::string text = "kolejność,indeks,x,y\n";
    int64_t order = 0;
    for (const int32_t index : route) {
        if (index < 0 || static_cast<size_t>(index) >= points.size())
            continue;
        const TMapPoint& point = points[static_cast<size_t>(index)];
        text += std::to_string(++order) + "," + std::to_string(index) + "," + std::to_string(point.X) + "," +
                std::to_string(point.Y) + "\n";
    }
    return text;
}
