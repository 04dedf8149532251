#include "core/route_file.h"

#include <limits>
#include <vector>

#include "core/point_file.h"
#include "core/point_formats.h"
#include "core/point_text.h"
#include "core/tsplib_lines.h"

namespace {

TTourParseResult Refusal(std::string text)
{
    TTourParseResult result;
    result.ErrorText = std::move(text);
    return result;
}

std::vector<std::string_view> SplitFields(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = line.find(separator, start);
        fields.push_back(TrimBlanks(line.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos)
            return fields;
        start = end + 1;
    }
}

// A position or an index: decimal digits only, at most 10 of them.
bool ReadCount(std::string_view field, int64_t& value)
{
    if (field.empty() || field.size() > 10 || field.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    value = std::stoll(std::string(field));
    return true;
}

std::string PointText(int32_t x, int32_t y)
{
    std::string text = "(";
    text += std::to_string(x);
    text += "; ";
    text += std::to_string(y);
    text += ')';
    return text;
}

// Why one data line does not fit the set, or empty when it does.
std::string ReadRouteLine(std::string_view line, char separator, const TPointArray& points, TSpecimen& route,
                          std::vector<char>& seen)
{
    const std::vector<std::string_view> fields = SplitFields(line, separator);
    if (fields.size() != 4)
        return std::string("oczekiwano czterech pól „kolejność") + separator + "indeks" + separator + "x" + separator +
               "y”: " + QuotedExcerpt(line);
    const int64_t count = static_cast<int64_t>(points.size());
    int64_t position = 0;
    if (!ReadCount(fields[0], position) || position < 1 || position > count)
        return "kolejność " + QuotedExcerpt(fields[0]) + " spoza zakresu 1.." + std::to_string(count);
    int64_t index = 0;
    if (!ReadCount(fields[1], index) || index >= count)
        return "indeks " + QuotedExcerpt(fields[1]) + " spoza zakresu 0.." + std::to_string(count - 1);
    int32_t x = 0;
    int32_t y = 0;
    for (int axis = 0; axis < 2; ++axis) {
        const std::string_view field = fields[static_cast<size_t>(2 + axis)];
        if (ReadCoordinate(field, axis == 0 ? x : y) != TCoordinateRead::Whole)
            return "współrzędna " + QuotedExcerpt(field) + " nie jest liczbą całkowitą";
    }
    const TMapPoint& point = points[static_cast<size_t>(index)];
    if (point.X != x || point.Y != y)
        return "punkt " + std::to_string(index) + " leży w zbiorze w " + PointText(point.X, point.Y) +
               ", a w pliku w " + PointText(x, y) + "; to droga innego zbioru";
    int32_t& slot = route[static_cast<size_t>(position - 1)];
    if (slot >= 0)
        return "kolejność " + std::to_string(position) + " powtarza się";
    if (seen[static_cast<size_t>(index)] != 0)
        return "punkt " + std::to_string(index) + " powtarza się w drodze";
    seen[static_cast<size_t>(index)] = 1;
    slot = static_cast<int32_t>(index);
    return {};
}

}  // namespace

TTourParseResult ParseRouteCsv(std::string_view text, const TPointArray& points)
{
    TTourParseResult result;
    result.Route.assign(points.size(), -1);
    std::vector<char> seen(points.size(), 0);
    char separator = 0;
    size_t read = 0;
    int64_t lineNumber = 0;
    std::string_view rest = SkipByteOrderMark(text);
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        ++lineNumber;
        if (line.empty())
            continue;
        if (separator == 0) {
            separator = line.find(';') != std::string_view::npos ? ';' : ',';
            // A header names its columns; data starts with a position.
            if (line[0] < '0' || line[0] > '9')
                continue;
        }
        const std::string error = ReadRouteLine(line, separator, points, result.Route, seen);
        if (!error.empty())
            return Refusal(LineMessage(lineNumber, error));
        ++read;
    }
    // Positions and points are each taken once, so n lines name every point.
    if (read != points.size())
        return Refusal("Droga odwiedza " + std::to_string(read) + " z " + std::to_string(points.size()) + " " +
                       PolishPlural(static_cast<int64_t>(points.size()), "punktu", "punktów", "punktów") + " zbioru");
    return result;
}

bool IsRouteCsvName(const std::string& fileName)
{
    return UpperCase(FileExtension(fileName)) == "CSV";
}

TFileResult ReadRouteFile(const std::string& fileName, const TPointArray& points, TSpecimen& route)
{
    std::string text;
    // The parsers count the points, which any number of empty or key lines
    // may stand between; the byte limit bounds the read.
    const TFileResult read = ReadPointFileText(fileName, std::numeric_limits<size_t>::max(), text);
    if (!read.Ok())
        return read;
    TTourParseResult parsed = IsRouteCsvName(fileName) ? ParseRouteCsv(text, points) : ParseTour(text, points.size());
    if (!parsed.Ok())
        return TFileResult{parsed.ErrorText};
    route = std::move(parsed.Route);
    return {};
}

std::string RouteFileBeside(const std::string& pointFileName)
{
    const std::string_view extension = FileExtension(pointFileName);
    const size_t stem = extension.empty() ? pointFileName.size() : pointFileName.size() - extension.size() - 1;
    return pointFileName.substr(0, stem) + ".tour";
}
