// How fast, and in how much memory, the point-file reader gets through
// inputs made to exhaust it: 200 MB of line breaks must be refused in under
// a second and 100 MB resident; the other cases show where the memory bound
// really lies (a text at the 64 MB limit).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/point_input.h"

namespace {

constexpr double TargetMs = 1000;
constexpr double TargetMb = 100;
constexpr size_t Megabyte = 1 << 20;

void WriteRepeated(const std::string& path, char byte, size_t megabytes, const std::string& tail)
{
    std::ofstream out(path, std::ios::binary);
    const std::string block(Megabyte, byte);
    for (size_t i = 0; i < megabytes; ++i)
        out << block;
    out << tail;
}

// In a child of its own, so that each case's peak resident size is its own.
void Measure(const char* what, const std::string& path)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child != 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    TPointArray points;
    TPointReadInfo info;
    // The way the window and tovu-cli read a file, with its format's checks.
    const TFileResult result = ReadPointsAnyFormat(path, points, info);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    // Processor time beside the wall clock: a busy machine stretches only the latter.
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
    std::printf(
        "%-34s %8.1f ms, procesor %7.1f ms (cel %4.0f ms, %5.3f)  szczyt RSS %6.1f MB (cel %3.0f MB, %5.3f)  %s\n",
        what, ms, cpuMs, TargetMs, ms / TargetMs, peakMb, TargetMb, peakMb / TargetMb,
        result.Ok() ? ("wczytane punkty: " + std::to_string(points.size())).c_str() : result.ErrorText.c_str());
    std::fflush(stdout);
    ::_exit(0);
}

}  // namespace

int main()
{
    char pattern[] = "/tmp/tovu-bench-read-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const std::string breaks = folder + "/breaks.tvu";
    const std::string limit = folder + "/limit.tvu";
    const std::string noBreak = folder + "/nobreak.tvu";
    WriteRepeated(breaks, '\n', 200, "");
    WriteRepeated(limit, ' ', 63, std::string(Megabyte - 6, ' ') + "1; 2\r\n");
    WriteRepeated(noBreak, ' ', 200, "");

    Measure("200 MB znaków końca wiersza", breaks);
    Measure("64 MB: jeden wiersz na granicy", limit);
    Measure("200 MB bez końca wiersza", noBreak);
    Measure("/dev/zero", "/dev/zero");

    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
