#include "core/tsplib_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

#include "core/decimal_text.h"
#include "core/earth_places.h"
#include "core/tsplib_lines.h"

namespace {

constexpr const char* SupportedTypes = "obsługiwane: EUC_2D, CEIL_2D, ATT, GEO";

// The header as read so far.
struct THeader {
    std::optional<int32_t> Dimension;
    std::optional<TMetric> Metric;
    bool SawEdgeWeights = false;
    bool SawName = false;
    TSetFileFacts Facts;
};

std::optional<TMetric> MetricOfWord(const std::string& word)
{
    for (const TMetric metric : {TMetric::Euc2d, TMetric::Ceil2d, TMetric::Att, TMetric::Geo})
        if (word == TsplibMetricWord(metric))
            return metric;
    return std::nullopt;
}

std::string ReadDimension(THeader& header, std::string_view value, int32_t maxPoints)
{
    const size_t digitsEnd = value.find_first_not_of("0123456789");
    if (value.empty() || digitsEnd != std::string_view::npos)
        return "Nieprawidłowa wartość DIMENSION w pliku TSPLIB: " + QuotedExcerpt(value);
    const size_t firstSignificant = value.find_first_not_of('0');
    const std::string_view significant =
        firstSignificant == std::string_view::npos ? std::string_view("0") : value.substr(firstSignificant);
    if (significant.size() > 9 || std::stoi(std::string(significant)) > maxPoints)
        return TooManyPointsText(significant, maxPoints);
    header.Dimension = std::stoi(std::string(significant));
    return {};
}

// A header line's refusal, or empty.
std::string ApplyHeaderLine(THeader& header, const TTsplibKeyLine& line, int32_t maxPoints)
{
    if (line.Key == "DIMENSION")
        return ReadDimension(header, line.Value, maxPoints);
    if (line.Key == "EDGE_WEIGHT_TYPE") {
        header.Metric = MetricOfWord(UpperCase(line.Value));
        if (!header.Metric)
            return "Nieobsługiwany typ odległości w pliku TSPLIB: EDGE_WEIGHT_TYPE " + QuotedExcerpt(line.Value) +
                   " (" + SupportedTypes + ")";
    }
    if (line.Key == "NODE_COORD_TYPE" && UpperCase(line.Value) != "TWOD_COORDS")
        return "Nieobsługiwany rodzaj współrzędnych w pliku TSPLIB: NODE_COORD_TYPE " + QuotedExcerpt(line.Value) +
               " (obsługiwane: TWOD_COORDS)";
    if (line.Key == "NAME" && !header.SawName) {
        header.SawName = true;
        header.Facts.TsplibName = std::string(line.Value);
    }
    if (line.Key == "COMMENT")
        header.Facts.TsplibComments.emplace_back(line.Value);
    return {};
}

std::string CoordinateError(TCoordinateRead read, std::string_view field)
{
    if (read == TCoordinateRead::OutOfRange)
        return "współrzędna poza zakresem liczb 32-bitowych: " + QuotedExcerpt(field);
    return "nieprawidłowa współrzędna: " + QuotedExcerpt(field);
}

// The fields of a node line split at blanks and tabs: up to four, and how
// many there were (four means four or more).
size_t SplitNodeFields(std::string_view line, std::array<std::string_view, 4>& fields)
{
    size_t count = 0;
    size_t pos = 0;
    while (count < fields.size()) {
        const size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos)
            break;
        pos = std::min(line.find_first_of(" \t", start), line.size());
        fields[count++] = line.substr(start, pos - start);
    }
    return count;
}

// The reader's work on one text: the points, their places, the count.
class TNodeReader {
public:
    TNodeReader(TPointParseResult& result, TMetric metric, int32_t maxPoints)
        : FResult(result), FMetric(metric), FMaxPoints(maxPoints)
    {
    }

    // One "number x y" line of NODE_COORD_SECTION. Points beyond maxPoints
    // are counted, not kept.
    std::string ReadLine(std::string_view line)
    {
        std::array<std::string_view, 4> fields;
        if (SplitNodeFields(line, fields) != 3)
            return "oczekiwano numeru węzła i dwóch współrzędnych: " + QuotedExcerpt(line);
        char expected[24];
        const std::to_chars_result written = std::to_chars(expected, expected + sizeof expected, FCount + 1);
        if (fields[0] != std::string_view(expected, static_cast<size_t>(written.ptr - expected)))
            return "węzeł numer " + QuotedExcerpt(fields[0]) + ", oczekiwano " + std::to_string(FCount + 1) +
                   " (węzły muszą być numerowane po kolei od 1)";
        TMapPoint point;
        TPlace place;
        for (int axis = 0; axis < 2; ++axis) {
            const std::string_view field = fields[static_cast<size_t>(axis) + 1];
            double& value = axis == 0 ? place.X : place.Y;
            if (FMetric == TMetric::Geo) {
                if (!ReadDecimal(field, value))
                    return "nieprawidłowa współrzędna: " + QuotedExcerpt(field);
                continue;
            }
            const TCoordinateRead read = ReadCoordinate(field, axis == 0 ? point.X : point.Y);
            if (read == TCoordinateRead::Malformed || read == TCoordinateRead::OutOfRange)
                return CoordinateError(read, field);
            if (read == TCoordinateRead::Rounded)
                ++FResult.RoundedCount;
            // The shape was checked, and the value fits 32 bits.
            ReadDecimal(field, value);
        }
        if (FMetric == TMetric::Geo) {
            std::string error = EarthRangeError(TMetric::Geo, place, fields[1], fields[2]);
            if (!error.empty())
                return error;
        }
        if (FCount < FMaxPoints) {
            FResult.Points.push_back(point);
            FResult.Places.Places.push_back(place);
        }
        ++FCount;
        return {};
    }

    int64_t Count() const { return FCount; }

private:
    TPointParseResult& FResult;
    TMetric FMetric;
    int32_t FMaxPoints;
    int64_t FCount = 0;
};

TPointParseResult Refusal(std::string text)
{
    TPointParseResult result;
    result.ErrorText = std::move(text);
    return result;
}

}  // namespace

TPointParseResult ParseTsplib(std::string_view text, int32_t maxPoints)
{
    enum class TPart { Header, Nodes, OtherSection };
    TPointParseResult result;
    THeader header;
    TPart part = TPart::Header;
    std::optional<TNodeReader> nodes;
    int64_t lineNumber = 0;
    std::string_view rest = SkipByteOrderMark(text);
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        ++lineNumber;
        if (line.empty())
            continue;
        if (!IsTsplibKeyLine(line)) {
            if (part == TPart::Nodes) {
                const std::string error = nodes->ReadLine(line);
                if (!error.empty())
                    return Refusal(LineMessage(lineNumber, error));
            } else if (part == TPart::Header) {
                return Refusal(LineMessage(lineNumber, "dane poza sekcją pliku TSPLIB: " + QuotedExcerpt(line)));
            }
            continue;
        }
        const TTsplibKeyLine key = SplitTsplibKeyLine(line);
        if (key.Key == "EOF")
            break;
        if (key.Key == "NODE_COORD_SECTION") {
            if (nodes)
                return Refusal(LineMessage(lineNumber, "druga sekcja NODE_COORD_SECTION w pliku TSPLIB"));
            if (!header.Metric)
                return Refusal(std::string("W pliku TSPLIB brak EDGE_WEIGHT_TYPE przed NODE_COORD_SECTION (") +
                               SupportedTypes + ")");
            nodes.emplace(result, *header.Metric, maxPoints);
            part = TPart::Nodes;
            if (header.Dimension) {
                result.Points.reserve(static_cast<size_t>(*header.Dimension));
                result.Places.Places.reserve(static_cast<size_t>(*header.Dimension));
            }
            continue;
        }
        if (IsTsplibSection(key.Key)) {
            header.SawEdgeWeights = header.SawEdgeWeights || key.Key == "EDGE_WEIGHT_SECTION";
            part = TPart::OtherSection;
            continue;
        }
        part = TPart::Header;
        std::string error = ApplyHeaderLine(header, key, maxPoints);
        if (!error.empty())
            return Refusal(std::move(error));
    }

    if (!nodes)
        return Refusal(std::string("W pliku TSPLIB brak sekcji NODE_COORD_SECTION ze współrzędnymi punktów") +
                       (header.SawEdgeWeights ? " (same odległości w EDGE_WEIGHT_SECTION nie wystarczą)" : ""));
    if (nodes->Count() > maxPoints)
        return Refusal(TooManyPointsText(static_cast<size_t>(nodes->Count()), maxPoints));
    if (header.Dimension && *header.Dimension != nodes->Count())
        return Refusal("W pliku TSPLIB DIMENSION wynosi " + std::to_string(*header.Dimension) +
                       ", a wierszy ze współrzędnymi jest " + std::to_string(nodes->Count()));
    TSetPlaces& places = result.Places;
    places.FileMetric = *header.Metric;
    places.File = std::move(header.Facts);
    if (places.FileMetric == TMetric::Geo) {
        PlaceOnMap(places, result.Points);
    } else if (result.RoundedCount == 0) {
        // Whole numbers: the map points are the coordinates.
        TPlaceArray().swap(places.Places);
    }
    return result;
}

std::string TsplibHeaderError(std::string_view prefix, int32_t maxPoints)
{
    const size_t lastBreak = prefix.find_last_of("\r\n");
    if (lastBreak == std::string_view::npos)
        return {};
    std::string_view rest = SkipByteOrderMark(prefix.substr(0, lastBreak + 1));
    THeader header;
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        if (line.empty() || !IsTsplibKeyLine(line))
            continue;
        const TTsplibKeyLine key = SplitTsplibKeyLine(line);
        if (key.Key == "EOF" || IsTsplibSection(key.Key))
            break;
        std::string error = ApplyHeaderLine(header, key, maxPoints);
        if (!error.empty())
            return error;
    }
    return {};
}

std::string FormatPointsTsplib(const std::string& name, const TPointArray& points)
{
    return FormatSetTsplib(name, points, TSetPlaces());
}

std::string FormatSetTsplib(const std::string& name, const TPointArray& points, const TSetPlaces& places)
{
    const TSetFileFacts& facts = places.File;
    // TSPLIB has no word for the plane's real legs, and writes places on the
    // Earth as GEO's DDD.MM.
    TMetric written = places.FileMetric;
    if (written == TMetric::Plane)
        written = TMetric::Euc2d;
    if (written == TMetric::Sphere)
        written = TMetric::Geo;
    std::string text = "NAME : " + (facts.TsplibName.empty() ? name : facts.TsplibName) + "\nTYPE : TSP\n";
    for (const std::string& comment : facts.TsplibComments)
        text += "COMMENT : " + comment + "\n";
    text += "DIMENSION : " + std::to_string(points.size()) + "\nEDGE_WEIGHT_TYPE : " + TsplibMetricWord(written) +
            "\nNODE_COORD_SECTION\n";
    const bool ownPlaces = places.OwnPlaces() && places.Places.size() == points.size();
    text.reserve(text.size() + points.size() * (ownPlaces ? 32 : 20));
    for (size_t i = 0; i < points.size(); ++i) {
        std::string x = std::to_string(points[i].X);
        std::string y = std::to_string(points[i].Y);
        if (ownPlaces) {
            TPlace place = places.Places[i];
            if (places.FileMetric == TMetric::Sphere)
                place = PlaceOfDegrees(TMetric::Geo, PlaceDegrees(TMetric::Sphere, place));
            x = ShortestDecimal(place.X);
            y = ShortestDecimal(place.Y);
        }
        text.append(std::to_string(i + 1)).append(1, ' ').append(x).append(1, ' ').append(y).append(1, '\n');
    }
    text += "EOF\n";
    return text;
}

std::string TsplibName(const std::string& fileName)
{
    const size_t slash = fileName.rfind('/');
    std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '_';
    return name.empty() ? "punkty" : name;
}
