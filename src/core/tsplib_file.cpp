#include "core/tsplib_file.h"

#include <optional>
#include <vector>

#include "core/tsplib_lines.h"

namespace {

constexpr const char* SupportedTypes = "obsługiwane: EUC_2D, CEIL_2D, ATT";

// The header as read so far.
struct THeader {
    std::optional<int32_t> Dimension;
    bool HasDistanceType = false;
    bool SawEdgeWeights = false;
};

std::string ReadDimension(THeader& header, std::string_view value)
{
    const size_t digitsEnd = value.find_first_not_of("0123456789");
    if (value.empty() || digitsEnd != std::string_view::npos)
        return "Nieprawidłowa wartość DIMENSION w pliku TSPLIB: " + QuotedExcerpt(value);
    const size_t firstSignificant = value.find_first_not_of('0');
    const std::string_view significant =
        firstSignificant == std::string_view::npos ? std::string_view("0") : value.substr(firstSignificant);
    if (significant.size() > 5 || std::stoi(std::string(significant)) > MaxPoints)
        return TooManyPointsText(significant);
    header.Dimension = std::stoi(std::string(significant));
    return {};
}

// A header line's refusal, or empty.
std::string ApplyHeaderLine(THeader& header, const TTsplibKeyLine& line)
{
    if (line.Key == "DIMENSION")
        return ReadDimension(header, line.Value);
    if (line.Key == "EDGE_WEIGHT_TYPE") {
        const std::string type = UpperCase(line.Value);
        if (type != "EUC_2D" && type != "CEIL_2D" && type != "ATT")
            return "Nieobsługiwany typ odległości w pliku TSPLIB: EDGE_WEIGHT_TYPE " + QuotedExcerpt(line.Value) +
                   " (" + SupportedTypes + ")";
        header.HasDistanceType = true;
    }
    if (line.Key == "NODE_COORD_TYPE" && UpperCase(line.Value) != "TWOD_COORDS")
        return "Nieobsługiwany rodzaj współrzędnych w pliku TSPLIB: NODE_COORD_TYPE " + QuotedExcerpt(line.Value) +
               " (obsługiwane: TWOD_COORDS)";
    return {};
}

std::string CoordinateError(TCoordinateRead read, std::string_view field)
{
    if (read == TCoordinateRead::OutOfRange)
        return "współrzędna poza zakresem liczb 32-bitowych: " + QuotedExcerpt(field);
    return "nieprawidłowa współrzędna: " + QuotedExcerpt(field);
}

// One "number x y" line of NODE_COORD_SECTION; nodeCount points were read
// before it. Points beyond MaxPoints are counted, not kept.
std::string ReadNodeLine(std::string_view line, int64_t nodeCount, TPointParseResult& result)
{
    const std::vector<std::string_view> fields = SplitBlankFields(line);
    if (fields.size() != 3)
        return "oczekiwano numeru węzła i dwóch współrzędnych: " + QuotedExcerpt(line);
    const std::string expected = std::to_string(nodeCount + 1);
    if (fields[0] != expected)
        return "węzeł numer " + QuotedExcerpt(fields[0]) + ", oczekiwano " + expected +
               " (węzły muszą być numerowane po kolei od 1)";
    TMapPoint point;
    for (int axis = 0; axis < 2; ++axis) {
        const std::string_view field = fields[static_cast<size_t>(axis) + 1];
        const TCoordinateRead read = ReadCoordinate(field, axis == 0 ? point.X : point.Y);
        if (read == TCoordinateRead::Malformed || read == TCoordinateRead::OutOfRange)
            return CoordinateError(read, field);
        if (read == TCoordinateRead::Rounded)
            ++result.RoundedCount;
    }
    if (nodeCount < MaxPoints)
        result.Points.push_back(point);
    return {};
}

TPointParseResult Refusal(std::string text)
{
    TPointParseResult result;
    result.ErrorText = std::move(text);
    return result;
}

}  // namespace

TPointParseResult ParseTsplib(std::string_view text)
{
    enum class TPlace { Header, Nodes, OtherSection };
    TPointParseResult result;
    THeader header;
    TPlace place = TPlace::Header;
    bool sawNodes = false;
    int64_t nodeCount = 0;
    int64_t lineNumber = 0;
    std::string_view rest = SkipByteOrderMark(text);
    while (!rest.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(rest));
        ++lineNumber;
        if (line.empty())
            continue;
        if (!IsTsplibKeyLine(line)) {
            if (place == TPlace::Nodes) {
                const std::string error = ReadNodeLine(line, nodeCount, result);
                if (!error.empty())
                    return Refusal(LineMessage(lineNumber, error));
                ++nodeCount;
            } else if (place == TPlace::Header) {
                return Refusal(LineMessage(lineNumber, "dane poza sekcją pliku TSPLIB: " + QuotedExcerpt(line)));
            }
            continue;
        }
        const TTsplibKeyLine key = SplitTsplibKeyLine(line);
        if (key.Key == "EOF")
            break;
        if (key.Key == "NODE_COORD_SECTION") {
            if (sawNodes)
                return Refusal(LineMessage(lineNumber, "druga sekcja NODE_COORD_SECTION w pliku TSPLIB"));
            if (!header.HasDistanceType)
                return Refusal(std::string("W pliku TSPLIB brak EDGE_WEIGHT_TYPE przed NODE_COORD_SECTION (") +
                               SupportedTypes + ")");
            sawNodes = true;
            place = TPlace::Nodes;
            if (header.Dimension)
                result.Points.reserve(static_cast<size_t>(*header.Dimension));
            continue;
        }
        if (IsTsplibSection(key.Key)) {
            header.SawEdgeWeights = header.SawEdgeWeights || key.Key == "EDGE_WEIGHT_SECTION";
            place = TPlace::OtherSection;
            continue;
        }
        place = TPlace::Header;
        std::string error = ApplyHeaderLine(header, key);
        if (!error.empty())
            return Refusal(std::move(error));
    }

    if (!sawNodes)
        return Refusal(std::string("W pliku TSPLIB brak sekcji NODE_COORD_SECTION ze współrzędnymi punktów") +
                       (header.SawEdgeWeights ? " (same odległości w EDGE_WEIGHT_SECTION nie wystarczą)" : ""));
    if (nodeCount > MaxPoints)
        return Refusal(TooManyPointsText(static_cast<size_t>(nodeCount)));
    if (header.Dimension && *header.Dimension != nodeCount)
        return Refusal("W pliku TSPLIB DIMENSION wynosi " + std::to_string(*header.Dimension) +
                       ", a wierszy ze współrzędnymi jest " + std::to_string(nodeCount));
    return result;
}

std::string TsplibHeaderError(std::string_view prefix)
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
        std::string error = ApplyHeaderLine(header, key);
        if (!error.empty())
            return error;
    }
    return {};
}

std::string FormatPointsTsplib(const std::string& name, const TPointArray& points)
{
    std::string text = "NAME : " + name + "\nTYPE : TSP\nDIMENSION : " + std::to_string(points.size()) +
                       "\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n";
    for (size_t i = 0; i < points.size(); ++i)
        text += std::to_string(i + 1) + " " + std::to_string(points[i].X) + " " + std::to_string(points[i].Y) + "\n";
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
