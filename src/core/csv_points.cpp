#include "core/csv_points.h"

#include <algorithm>
#include <vector>

namespace {

bool LooksNumeric(std::string_view field)
{
    return !field.empty() &&
           ((field[0] >= '0' && field[0] <= '9') || field[0] == '-' || field[0] == '+' || field[0] == '.');
}

// The first ";" outside double quotes makes ";" the separator, else ",".
char GuessSeparator(std::string_view line)
{
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ';' && !quoted)
            return ';';
    }
    return ',';
}

bool HasUnquoted(std::string_view line, char separator)
{
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == separator && !quoted)
            return true;
    }
    return false;
}

// The fields of a line split at separator, blanks around each taken off. A
// field in double quotes is taken without them, "" inside standing for one
// quote, as spreadsheets write it. Empty on success, else why not.
std::string SplitCsvFields(std::string_view line, char separator, std::vector<std::string>& fields)
{
    fields.clear();
    size_t pos = 0;
    for (;;) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        std::string field;
        if (pos < line.size() && line[pos] == '"') {
            const size_t opening = pos++;
            for (;;) {
                if (pos >= line.size())
                    return "niedomknięty cudzysłów w polu " + QuotedExcerpt(line.substr(opening));
                if (line[pos] == '"' && pos + 1 < line.size() && line[pos + 1] == '"') {
                    field += '"';
                    pos += 2;
                } else if (line[pos] == '"') {
                    ++pos;
                    break;
                } else {
                    field += line[pos++];
                }
            }
            while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
                ++pos;
            if (pos < line.size() && line[pos] != separator)
                return std::string("po zamykającym cudzysłowie oczekiwano „") + separator +
                       "”: " + QuotedExcerpt(line.substr(opening));
        } else {
            const size_t end = std::min(line.find(separator, pos), line.size());
            field = TrimBlanks(line.substr(pos, end - pos));
            pos = end;
        }
        fields.push_back(std::move(field));
        if (pos >= line.size())
            return {};
        ++pos;
    }
}

// A header names its columns: no field of it even starts like a number.
bool IsHeader(std::string_view line)
{
    std::vector<std::string> fields;
    if (!SplitCsvFields(line, GuessSeparator(line), fields).empty())
        return false;
    for (const std::string& field : fields)
        if (LooksNumeric(field))
            return false;
    return true;
}

// The point of one "x<separator>y" line, or why there is none.
std::string ReadCsvLine(std::string_view line, char separator, TMapPoint& point, int32_t& roundedCount)
{
    std::vector<std::string> fields;
    const std::string splitError = SplitCsvFields(line, separator, fields);
    if (!splitError.empty())
        return splitError;
    if (fields.size() != 2)
        return std::string("oczekiwano dwóch liczb rozdzielonych „") + separator + "”: " + QuotedExcerpt(line);
    int32_t rounded = 0;
    for (int axis = 0; axis < 2; ++axis) {
        const std::string_view field = TrimBlanks(fields[static_cast<size_t>(axis)]);
        const TCoordinateRead read = ReadCoordinate(field, axis == 0 ? point.X : point.Y);
        if (read == TCoordinateRead::OutOfRange)
            return "współrzędna poza zakresem liczb 32-bitowych: " + QuotedExcerpt(field);
        if (read == TCoordinateRead::Malformed)
            return "nieprawidłowa liczba " + QuotedExcerpt(field) + " (ułamki piszemy z kropką)";
        if (read == TCoordinateRead::Rounded)
            ++rounded;
    }
    roundedCount += rounded;
    return {};
}

// Why the first data line, which fits neither separator, is refused: what
// a later line would be told, by the separator the line itself shows.
std::string FirstLineError(std::string_view line)
{
    const char separator = GuessSeparator(line);
    std::vector<std::string> fields;
    std::string error = SplitCsvFields(line, separator, fields);
    if (!error.empty())
        return error;
    if (!HasUnquoted(line, ';') && !HasUnquoted(line, ','))
        return "oczekiwano dwóch liczb „x,y” lub „x;y” (ułamki z kropką): " + QuotedExcerpt(line);
    TMapPoint unused;
    int32_t unusedCount = 0;
    return ReadCsvLine(line, separator, unused, unusedCount);
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
            error = FirstLineError(line);
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
