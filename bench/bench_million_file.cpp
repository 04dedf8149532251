// Reading a point file of a million points the way tovu-cli reads it (with
// its measure and its places): must take under 10 s and 1 GB at its peak.
// Prints the wall clock, the processor time, the peak memory and their
// ratios to the targets, for whole coordinates (EUC_2D), for decimals (the
// places kept at full precision beside the map's points) and for a CSV of
// latitudes and longitudes.
//
//   bench_million_file [POINTS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/point_input.h"

namespace {

constexpr double TargetSeconds = 10.0;
constexpr double TargetMb = 1024.0;

void WriteTsplib(const std::string& path, int32_t count, bool decimals)
{
    std::ofstream out(path, std::ios::binary);
    out << "NAME : million\nCOMMENT : random points\nTYPE : TSP\nDIMENSION : " << count
        << "\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n";
    std::mt19937 random(7);
    std::string line;
    for (int32_t i = 1; i <= count; ++i) {
        line = std::to_string(i) + " " + std::to_string(random() % 1000000) + " " + std::to_string(random() % 1000000);
        if (decimals)
            line = std::to_string(i) + " " + std::to_string(random() % 1000000) + ".25 " +
                   std::to_string(random() % 1000000) + ".7";
        out << line << "\n";
    }
    out << "EOF\n";
}

// Places on the Earth in decimal degrees, with a column of names passed over.
void WriteEarthCsv(const std::string& path, int32_t count)
{
    std::ofstream out(path, std::ios::binary);
    out << "nazwa,lat,lon\n";
    std::mt19937 random(7);
    for (int32_t i = 1; i <= count; ++i)
        out << "p" << i << "," << 49.0 + static_cast<double>(random() % 6000000) / 1e6 << ","
            << 14.0 + static_cast<double>(random() % 10000000) / 1e6 << "\n";
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
    TSetPlaces places;
    TPointReadInfo info;
    const TFileResult result = ReadSetAnyFormat(path, MaxToolPoints, points, places, info);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    const double cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                              static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%-28s %6.2f s, procesor %6.2f s (cel %2.0f s, %5.3f)  szczyt RSS %7.1f MB (cel %4.0f MB, %5.3f)  %s\n",
                what, seconds, cpuSeconds, TargetSeconds, seconds / TargetSeconds, peakMb, TargetMb, peakMb / TargetMb,
                result.Ok() ? ("punkty: " + std::to_string(points.size()) +
                               ", miejsca: " + std::to_string(places.Places.size()))
                                  .c_str()
                            : result.ErrorText.c_str());
    std::fflush(stdout);
    ::_exit(0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int32_t count = argc > 1 ? std::atoi(argv[1]) : MaxToolPoints;
    char pattern[] = "/tmp/tovu-bench-million-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const std::string whole = folder + "/whole.tsp";
    const std::string decimal = folder + "/decimal.tsp";
    WriteTsplib(whole, count, false);
    WriteTsplib(decimal, count, true);
    const std::string earth = folder + "/earth.csv";
    WriteEarthCsv(earth, count);
    Measure("EUC_2D, całkowite", whole);
    Measure("EUC_2D, ułamki", decimal);
    Measure("CSV, stopnie", earth);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
