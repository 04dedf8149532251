#include "core/point_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/lenient_int.h"

std::vector<std::string_view> SplitPointFileLines(std::string_view text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::vector<std::string_view> lines;
    size_t start = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, pos - start));
            pos += (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
            start = pos;
        } else {
            ++pos;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
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

std::string SystemErrorText(int errorNumber)
{
    std::string text = std::strerror(errorNumber);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
        text.pop_back();
    return text;
}

namespace {

TFileResult Failure(int errorNumber)
{
    return TFileResult{SystemErrorText(errorNumber)};
}

bool WriteAll(int fd, std::string_view content)
{
    const char* data = content.data();
    size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

TFileResult ReadWholeFile(const std::string& fileName, std::string& content)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Failure(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Failure(error);
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return Failure(error);
        }
        if (got == 0)
            break;
        text.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    content = std::move(text);
    return {};
}

TFileResult WriteFileReplacing(const std::string& fileName, std::string_view content)
{
    const size_t slash = fileName.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : fileName.substr(0, slash + 1);
    const std::string baseName = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    std::string tempName = (slash == std::string::npos ? std::string() : folder) + "." + baseName + ".XXXXXX";

    struct stat target {};
    if (::stat(fileName.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
        return Failure(EISDIR);

    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return Failure(errno);
    // A new file gets the usual permissions, an existing one keeps its own.
    mode_t mode = 0666;
    if (::stat(fileName.c_str(), &target) == 0)
        mode = target.st_mode & 07777;
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);

    if (!WriteAll(fd, content) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(tempName.c_str());
        return Failure(error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        return Failure(error);
    }
    if (::rename(tempName.c_str(), fileName.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempName.c_str());
        return Failure(error);
    }
    return {};
}

TFileResult ReadPointSetFile(const std::string& fileName, TPointArray& points)
{
    std::string content;
    TFileResult result = ReadWholeFile(fileName, content);
    if (!result.Ok())
        return result;
    const size_t lineCount = SplitPointFileLines(content).size();
    if (lineCount > static_cast<size_t>(MaxPoints))
        return TFileResult{"Zbyt wiele punktów w pliku: " + std::to_string(lineCount) + " (najwyżej " +
                           std::to_string(MaxPoints) + ")"};
    points = ParsePointSet(content);
    return {};
}
