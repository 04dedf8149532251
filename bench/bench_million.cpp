// The local search and the lower bound on a million random points of the
// kind TSPLIB holds (whole coordinates in a square of 1 000 000, EUC_2D):
// the local search with a time limit of 60 s must end within 65 s with a
// valid route, the bound within 120 s, each below 2 GB at its peak. Prints
// the wall clock and the processor time (on a machine shared with other work
// the wall clock counts their work too), the peak memory and their ratios to
// the targets.
//
//   bench_million local|bound [POINTS] [SECONDS] [round]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "core/progress.h"
#include "core/random_source.h"
#include "core/route_problem.h"
#include "search/bound/lower_bound.h"
#include "search/local/local_search.h"
#include "support/quiet_host.h"

namespace {

using TClock = std::chrono::steady_clock;

// The process's peak resident memory in megabytes.
double PeakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmHWM:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
    }
    return 0.0;
}

void Report(const char* name, double figure, double target, const char* unit)
{
    std::printf("%-40s %10.2f %-3s target %8.2f %-3s ratio %5.3f\n", name, figure, unit, target, unit, figure / target);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "local";
    const int32_t n = argc > 2 ? std::atoi(argv[2]) : 1000000;
    const double seconds = argc > 3 ? std::atof(argv[3]) : 60.0;
    TRouteKind kind;
    kind.RoundTrip = argc > 4 && std::string(argv[4]) == "round";
    SetRandomState(20240601u);
    TPlaceArray places;
    places.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        const double x = RandomBelow(1000000);
        places.push_back({x, static_cast<double>(RandomBelow(1000000))});
    }
    const TRouteProblem problem = MakeRouteProblem(TMeasure(TMetric::Euc2d, std::move(places)), kind, false);
    TQuietHost host;
    const double before = PeakMegabytes();
    const TClock::time_point start = TClock::now();
    const std::clock_t ticks = std::clock();
    if (what == "bound") {
        const TLowerBound bound = ComputeLowerBound(problem, host);
        const double wall = std::chrono::duration<double>(TClock::now() - start).count();
        const double processor = static_cast<double>(std::clock() - ticks) / CLOCKS_PER_SEC;
        std::printf("%d points, %s: bound %.0f, certified %s, %d steps, processor %.1f s\n", n,
                    RouteKindText(kind).c_str(), bound.Value, bound.Certified ? "yes" : "no", bound.Iterations,
                    processor);
        Report("bound, wall clock", wall, 120.0, "s");
        Report("bound, processor time", processor, 120.0, "s");
    } else {
        TLocalParams params;
        params.TimeLimitSeconds = seconds;
        const TSearchOutcome outcome = SearchLocal(problem, host, params);
        const double wall = std::chrono::duration<double>(TClock::now() - start).count();
        const double processor = static_cast<double>(std::clock() - ticks) / CLOCKS_PER_SEC;
        const bool valid = RouteFitsKind(outcome.Route, kind, n);
        std::printf("%d points, %s, %.0f s: route %s, length %.0f, %lld kicks, processor %.1f s on %d threads\n", n,
                    RouteKindText(kind).c_str(), seconds, valid ? "valid" : "NOT VALID", problem.Length(outcome.Route),
                    static_cast<long long>(outcome.Steps), processor, LocalThreadCount(n, false, 0));
        Report("local search, wall clock", wall, seconds + 5.0, "s");
    }
    std::printf("memory before the work %.0f MB\n", before);
    Report("peak memory", PeakMegabytes(), 2048.0, "MB");
    return 0;
}
