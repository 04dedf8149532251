#include "cli/progress_line.h"

#include <sys/ioctl.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>

namespace {

using namespace std::chrono_literals;

constexpr auto RedrawInterval = 250ms;

std::string Whole(double value, const TNumberFormat& format)
{
    return FormatNumber(value, 0, format);
}

std::string Duration(double seconds)
{
    const long long total = std::llround(seconds);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    return text;
}

size_t CodePoints(const std::string& text)
{
    size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

// Cuts text to at most width code points, never inside a UTF-8 sequence.
std::string Truncated(const std::string& text, size_t width)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (count == width)
                return text.substr(0, i);
            ++count;
        }
    }
    return text;
}

size_t TerminalColumns()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

void WriteErr(const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (written <= 0)
            return;
        done += static_cast<size_t>(written);
    }
}

}  // namespace

std::string ProgressText(const std::string& status, int64_t done, int64_t total, const std::string& unitWord,
                         double elapsedSeconds, const TNumberFormat& format)
{
    // The figures come first: a narrow terminal cuts the line at its end.
    std::string text = Whole(static_cast<double>(done), format);
    if (total > 0)
        text += " z " + Whole(static_cast<double>(total), format);
    text += " " + unitWord;
    if (elapsedSeconds > 0 && done > 0) {
        const double rate = static_cast<double>(done) / elapsedSeconds;
        text += ", " + Whole(rate, format) + "/s";
        if (total > 0 && done <= total)
            text += ", zostało ok. " + Duration(static_cast<double>(total - done) / rate);
    }
    if (!status.empty())
        text += " | " + status;
    return text;
}

TProgressLine::TProgressLine() : FEnabled(::isatty(STDERR_FILENO) == 1) {}

void TProgressLine::Start(const std::string& unitWord, int64_t total, const TNumberFormat& format)
{
    FUnitWord = unitWord;
    FTotal = total;
    FFormat = format;
    FStart = TClock::now();
    FLastDraw = FStart;
    FStarted = true;
}

void TProgressLine::Update(int64_t done, const std::string& status)
{
    if (!FEnabled || !FStarted)
        return;
    const TClock::time_point now = TClock::now();
    if (now - FLastDraw < RedrawInterval)
        return;
    FLastDraw = now;
    const double elapsed = std::chrono::duration<double>(now - FStart).count();
    Draw(ProgressText(status, done, FTotal, FUnitWord, elapsed, FFormat));
}

void TProgressLine::Draw(const std::string& text)
{
    // One column short of the edge, so the terminal never wraps the line
    // and the carriage return always gets back to its start.
    const std::string shown = Truncated(text, TerminalColumns() - 1);
    const size_t width = CodePoints(shown);
    std::string line = "\r" + shown;
    if (width < FShownWidth)
        line.append(FShownWidth - width, ' ');
    FShownWidth = width;
    WriteErr(line);
}

void TProgressLine::Clear()
{
    if (FShownWidth > 0) {
        std::string blank(FShownWidth + 2, ' ');
        blank.front() = '\r';
        blank.back() = '\r';
        WriteErr(blank);
    }
    FShownWidth = 0;
    FStarted = false;
}
