#include "core/csv_points.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/decimal_text.h"
#include "core/earth_places.h"

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

// The point of one "x<separator>y" line and its coordinates as written, or
// why there is none.
std::string ReadCsvLine(std::string_view line, char separator, TMapPoint& point, TPlace& place, int32_t& roundedCount)
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
        // The shape was checked, and the value fits 32 bits.
        ReadDecimal(field, axis == 0 ? place.X : place.Y);
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
    TMapPoint unusedPoint;
    TPlace unusedPlace;
    int32_t unusedCount = 0;
    return ReadCsvLine(line, separator, unusedPoint, unusedPlace, unusedCount);
}

// A header's name in small letters, Polish ones too, so that "Szerokość"
// and "SZEROKOŚĆ" name one column.
std::string FoldedName(std::string_view name)
{
    std::string folded(TrimBlanks(name));
    for (size_t i = 0; i < folded.size(); ++i) {
        char& c = folded[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
            continue;
        }
        // Two-byte UTF-8 capitals: Ą Ć Ę Ł Ń Ś Ź Ż are one below their small
        // letters, Ó is 0x20 below.
        if (i + 1 >= folded.size())
            break;
        const auto lead = static_cast<unsigned char>(c);
        auto& next = reinterpret_cast<unsigned char&>(folded[i + 1]);
        if (lead == 0xC3 && next == 0x93)
            next = 0xB3;
        if ((lead == 0xC4 && (next == 0x84 || next == 0x86 || next == 0x98)) ||
            (lead == 0xC5 && (next == 0x81 || next == 0x83 || next == 0x9A || next == 0xB9 || next == 0xBB)))
            ++next;
    }
    return folded;
}

enum class TColumnRole { Other, Latitude, Longitude };

TColumnRole RoleOfColumn(std::string_view name)
{
    const std::string folded = FoldedName(name);
    for (const char* latitude : {"lat", "latitude", "szerokość", "szerokosc"})
        if (folded == latitude)
            return TColumnRole::Latitude;
    for (const char* longitude : {"lon", "lng", "long", "longitude", "długość", "dlugosc"})
        if (folded == longitude)
            return TColumnRole::Longitude;
    return TColumnRole::Other;
}

// The columns of a header that names a latitude and a longitude.
struct TEarthColumns {
    size_t Latitude = 0;
    size_t Longitude = 0;
    char Separator = ',';
    std::vector<std::string> Names;
};

// Whether the header names both columns (then columns is filled), or why
// it can't be read as such (error filled, false returned).
bool ReadEarthHeader(std::string_view line, TEarthColumns& columns, std::string& error)
{
    columns.Separator = GuessSeparator(line);
    if (!SplitCsvFields(line, columns.Separator, columns.Names).empty())
        return false;
    std::optional<size_t> latitude;
    std::optional<size_t> longitude;
    for (size_t i = 0; i < columns.Names.size(); ++i) {
        const TColumnRole role = RoleOfColumn(columns.Names[i]);
        std::optional<size_t>& slot = role == TColumnRole::Latitude ? latitude : longitude;
        if (role == TColumnRole::Other)
            continue;
        if (slot) {
            error = std::string("nagłówek nazywa dwie kolumny ") +
                    (role == TColumnRole::Latitude ? "szerokości" : "długości") +
                    " geograficznej: " + QuotedExcerpt(columns.Names[*slot]) + " i " + QuotedExcerpt(columns.Names[i]);
            return false;
        }
        slot = i;
    }
    if (!latitude || !longitude)
        return false;
    columns.Latitude = *latitude;
    columns.Longitude = *longitude;
    return true;
}

// One line of places on the Earth, or why it is none.
std::string ReadEarthLine(std::string_view line, const TEarthColumns& columns, std::vector<std::string>& fields,
                          TPlace& place)
{
    std::string error = SplitCsvFields(line, columns.Separator, fields);
    if (!error.empty())
        return error;
    for (const bool latitude : {true, false}) {
        const size_t column = latitude ? columns.Latitude : columns.Longitude;
        const char* const what = latitude ? "szerokości" : "długości";
        if (column >= fields.size())
            return std::string("brak ") + what + " geograficznej (kolumna " + QuotedExcerpt(columns.Names[column]) +
                   "): " + QuotedExcerpt(line);
        const std::string_view field = TrimBlanks(fields[column]);
        if (field.empty())
            return std::string("pusta wartość ") + what + " geograficznej: " + QuotedExcerpt(line);
        if (!ReadDecimal(field, latitude ? place.X : place.Y))
            return "nieprawidłowa liczba " + QuotedExcerpt(field) + " (stopnie dziesiętne, ułamki z kropką)";
    }
    return EarthRangeError(TMetric::Sphere, place, TrimBlanks(fields[columns.Latitude]),
                           TrimBlanks(fields[columns.Longitude]));
}

TPointParseResult Refusal(int64_t lineNumber, const std::string& error)
{
    TPointParseResult refusal;
    refusal.ErrorText = LineMessage(lineNumber, error);
    return refusal;
}

// The places after a header that names their columns.
TPointParseResult ParseEarthLines(std::string_view rest, int64_t lineNumber, TEarthColumns columns, int32_t maxPoints)
{
    TPointParseResult result;
    TSetPlaces& places = result.Places;
    int64_t pointCount = 0;
    std::vector<std::string> fields;
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        ++lineNumber;
        if (line.empty())
            continue;
        TPlace place;
        const std::string error = ReadEarthLine(line, columns, fields, place);
        if (!error.empty())
            return Refusal(lineNumber, error);
        if (pointCount < maxPoints)
            places.Places.push_back(place);
        ++pointCount;
    }
    if (pointCount > maxPoints) {
        TPointParseResult refusal;
        refusal.ErrorText = TooManyPointsText(static_cast<size_t>(pointCount), maxPoints);
        return refusal;
    }
    places.FileMetric = TMetric::Sphere;
    TSetFileFacts& facts = places.File;
    facts.CsvLongitudeFirst = columns.Longitude < columns.Latitude;
    facts.CsvFirstColumn = TrimBlanks(columns.Names[std::min(columns.Latitude, columns.Longitude)]);
    facts.CsvSecondColumn = TrimBlanks(columns.Names[std::max(columns.Latitude, columns.Longitude)]);
    facts.CsvSeparator = columns.Separator;
    for (size_t i = 0; i < columns.Names.size(); ++i)
        if (i != columns.Latitude && i != columns.Longitude)
            facts.CsvOtherColumns.emplace_back(TrimBlanks(columns.Names[i]));
    PlaceOnMap(places, result.Points);
    return result;
}

// The names of a plane CSV's header of two columns, kept for a save.
void KeepPlaneHeader(std::string_view line, TSetFileFacts& facts)
{
    std::vector<std::string> names;
    if (!SplitCsvFields(line, GuessSeparator(line), names).empty() || names.size() != 2)
        return;
    facts.CsvFirstColumn = TrimBlanks(names[0]);
    facts.CsvSecondColumn = TrimBlanks(names[1]);
}

// A header's name as a field: in quotes when it holds the separator, a
// quote or blanks at its ends.
std::string CsvName(const std::string& name, char separator)
{
    if (name.find(separator) == std::string::npos && name.find('"') == std::string::npos && TrimBlanks(name) == name)
        return name;
    std::string quoted = "\"";
    for (const char c : name)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

TPointParseResult ParseCsvPoints(std::string_view text, int32_t maxPoints)
{
    TPointParseResult result;
    TSetPlaces& places = result.Places;
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
        TPlace place;
        std::string error;
        if (separator != 0) {
            error = ReadCsvLine(line, separator, point, place, result.RoundedCount);
        } else if (headerAllowed && IsHeader(line)) {
            TEarthColumns columns;
            if (ReadEarthHeader(line, columns, error))
                return ParseEarthLines(rest, lineNumber, std::move(columns), maxPoints);
            if (!error.empty())
                return Refusal(lineNumber, error);
            KeepPlaneHeader(line, places.File);
            headerAllowed = false;
            continue;
        } else if (ReadCsvLine(line, ';', point, place, result.RoundedCount).empty()) {
            separator = ';';
        } else if (ReadCsvLine(line, ',', point, place, result.RoundedCount).empty()) {
            separator = ',';
        } else {
            error = FirstLineError(line);
        }
        if (!error.empty())
            return Refusal(lineNumber, error);
        headerAllowed = false;
        if (pointCount < maxPoints) {
            result.Points.push_back(point);
            places.Places.push_back(place);
        }
        ++pointCount;
    }
    if (pointCount > maxPoints) {
        TPointParseResult refusal;
        refusal.ErrorText = TooManyPointsText(static_cast<size_t>(pointCount), maxPoints);
        return refusal;
    }
    places.File.CsvSeparator = separator == 0 ? ',' : separator;
    // Whole numbers: the map points are the coordinates.
    if (result.RoundedCount == 0)
        TPlaceArray().swap(places.Places);
    return result;
}

std::string FormatSetCsv(const TPointArray& points, const TSetPlaces& places)
{
    const TSetFileFacts& facts = places.File;
    const bool onEarth = MetricOnEarth(places.FileMetric);
    const bool ownPlaces = places.OwnPlaces() && places.Places.size() == points.size();
    const char separator = facts.CsvSeparator == ';' ? ';' : ',';
    // Names of the set's own file, or the ones a set from elsewhere gets.
    const bool namesKept = !facts.CsvFirstColumn.empty();
    const std::string first = namesKept ? facts.CsvFirstColumn : onEarth ? "lat" : "x";
    const std::string second = namesKept ? facts.CsvSecondColumn : onEarth ? "lon" : "y";
    const bool longitudeFirst = onEarth && namesKept && facts.CsvLongitudeFirst;
    std::string text = CsvName(first, separator) + separator + CsvName(second, separator) + "\n";
    text.reserve(text.size() + points.size() * (ownPlaces ? 28 : 14));
    for (size_t i = 0; i < points.size(); ++i) {
        if (!ownPlaces) {
            text += std::to_string(points[i].X) + separator + std::to_string(points[i].Y) + "\n";
            continue;
        }
        TPlace place = places.Places[i];
        if (onEarth) {
            const TDegrees degrees = PlaceDegrees(places.FileMetric, place);
            place = longitudeFirst ? TPlace{degrees.Longitude, degrees.Latitude}
                                   : TPlace{degrees.Latitude, degrees.Longitude};
        }
        text += ShortestDecimal(place.X) + separator + ShortestDecimal(place.Y) + "\n";
    }
    return text;
}

std::string FormatPointsCsv(const TPointArray& points)
{
    return FormatSetCsv(points, TSetPlaces());
}

std::string FormatRouteCsv(const TPointArray& points, const TSpecimen& route, bool roundTrip)
{
    std::string text = std::string(roundTrip ? RouteCsvRoundTrip : "kolejność") + ",indeks,x,y\n";
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
