#include "core/point_file.h"

#include <unistd.h>
#include <cstdio>

#include "core/file_reader.h"
#include "core/lenient_int.h"
#include "core/point_text.h"

std::vector<std::string_view> SplitPointFileLines(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    text = SkipByteOrderMark(text);

    std::vector<std::string_view> lines;
    while (!text.empty())
        lines.push_back(TakeLine(text));
    return lines;
}

TPointArray ParsePointSet(std::string_view text)
{
    const std::vector<std::string_view> lines = SplitPointFileLines(text);
    TPointArray points(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const size_t semicolon = line.find(';');
        std::string_view xText;
        std::string_view yText = line;
        if (semicolon != std::string_view::npos) {
            xText = line.substr(0, semicolon);
            yText = line.substr(semicolon + 1);
        }
        points[i].X = LenientInt(xText, 0);
        points[i].Y = LenientInt(yText, 0);
        points[i].Next = -1;
    }
    return points;
}

std::string FormatPointSet(const TPointArray& points)
{
    std::string text;
    text.reserve(points.size() * 14);
    char line[40];
    for (const TMapPoint& p : points) {
        const int length = std::snprintf(line, sizeof line, "%d; %d\r\n", p.X, p.Y);
        text.append(line, static_cast<size_t>(length));
    }
    return text;
}

TFileResult FormatPointSetForSave(const TPointArray& points, std::string& text)
{
    if (points.size() > static_cast<size_t>(MaxPoints))
        return TFileResult{"Zbyt wiele punktów do zapisu: " + std::to_string(points.size()) + " (najwyżej " +
                           std::to_string(MaxPoints) + ")"};
    text = FormatPointSet(points);
    return {};
}

TFileResult ReadPointFileText(const std::string& fileName, size_t maxLines, std::string& text, size_t maxBytes,
                              int32_t maxPoints)
{
    int fd = -1;
    long long knownSize = -1;
    TFileResult result = OpenForReading(fileName, fd, knownSize);
    if (!result.Ok())
        return result;
    TBoundedText read;
    result = ReadBoundedText(fd, knownSize, maxLines, maxBytes, read);
    ::close(fd);
    if (!result.Ok())
        return result;
    text = std::move(read.Text);
    if (read.TooManyLines)
        return TFileResult{TooManyPointsText(
            read.SawEnd ? std::to_string(read.Lines) : "ponad " + std::to_string(maxPoints), maxPoints)};
    if (read.TooManyBytes)
        return TFileResult{"Zbyt duży plik: wiersze zajmują ponad " + std::to_string(maxBytes >> 20) +
                           " MB (najwyżej " + std::to_string(maxBytes >> 20) + " MB)"};
    return {};
}

TFileResult ReadPointSetFile(const std::string& fileName, TPointArray& points)
{
    std::string text;
    const TFileResult result = ReadPointFileText(fileName, static_cast<size_t>(MaxPoints), text);
    if (!result.Ok())
        return result;
    points = ParsePointSet(text);
    return {};
}
