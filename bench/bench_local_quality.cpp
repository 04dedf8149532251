// The local-optimisation method's routes against the lower bound, set by
// set, each run repeated with other seeds: on a machine shared with other
// work one run says little, the median of several says more. Also how far
// past its time limit each run returned.
//
//   bench_local_quality POINTS SECONDS SETS REPEATS [lcg|square] [FIRST_SET]
//
// "lcg" draws the points as bench_local_search does (the program's random
// source, a square of 1 000 000); "square" draws them from a Mersenne
// twister in a square of 1 000. With TOVU_BOUND_CACHE naming a file, the
// bounds are kept there between runs. With TOVU_PROCESSOR_TIME set, SECONDS
// are of the calling thread's processor time (the other threads work as
// long), and the run is stopped as by the user once they are used: on a
// machine shared with other work that stands for the same time on an idle
// machine. The search itself is then given an hour, and a route worked on
// in parts (above MinPartPoints a thread) sizes its rounds from that hour:
// such runs compare only with each other. TOVU_THREADS sets the search's threads (default one per core),
// TOVU_ROUND_TRIP asks for round trips (and their bound). The mean of the
// medians is set against the target: above the bound 0.70 % up to 1 000
// points, 0.80 % up to 10 000, 1.5 % beyond; a round trip 1 %.
#include <time.h>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/random_source.h"
#include "search/bound/lower_bound.h"
#include "search/local/local_search.h"

namespace {

using TClock = std::chrono::steady_clock;

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// With a processor-time budget, presses the stop once the search's thread
// has used it up: on a machine shared with other work that gives every run
// the same work, where the wall clock does not.
class TQuietHost : public TProgress {
public:
    explicit TQuietHost(TPointSetState& state, double budget = 0.0)
        : FState(state), FBudget(budget), FStart(ThreadSeconds())
    {
    }
    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override
    {
        if (FBudget > 0.0 && ThreadSeconds() - FStart >= FBudget)
            FState.FSearching = false;
    }
    bool GoOn() const override { return FState.FSearching; }

private:
    TPointSetState& FState;
    double FBudget;
    double FStart;
    TProgressBar FBar;
};

bool RoundTrips()
{
    return std::getenv("TOVU_ROUND_TRIP") != nullptr;
}

TPointArray MakePoints(int32_t count, bool lcg, uint32_t seed)
{
    TPointArray points;
    if (lcg) {
        SetRandomState(seed);
        for (int32_t i = 0; i < count; ++i)
            points.push_back({RandomBelow(1000000), RandomBelow(1000000), -1});
        return points;
    }
    std::mt19937 random(seed);
    for (int32_t i = 0; i < count; ++i)
        points.push_back({static_cast<int32_t>(random() % 1000), static_cast<int32_t>(random() % 1000), -1});
    return points;
}

double CachedBound(const TPointArray& points, const std::string& key)
{
    const char* cacheName = std::getenv("TOVU_BOUND_CACHE");
    std::map<std::string, double> cache;
    if (cacheName) {
        std::ifstream in(cacheName);
        std::string k;
        double v = 0;
        while (in >> k >> v)
            cache[k] = v;
        if (cache.count(key))
            return cache[key];
    }
    TPointSetState state;
    TQuietHost host(state);
    state.FSearching = true;
    TRouteKind kind;
    kind.RoundTrip = RoundTrips();
    const double value = ComputeLowerBound(MakeRouteProblem(TMeasure::OfPoints(points), kind, false), host).Value;
    if (cacheName) {
        std::ofstream out(cacheName, std::ios::app);
        out.precision(17);
        out << key << ' ' << value << '\n';
    }
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s POINTS SECONDS SETS REPEATS [lcg|square] [FIRST_SET]\n", argv[0]);
        return 2;
    }
    const int32_t n = std::atoi(argv[1]);
    const double seconds = std::atof(argv[2]);
    const int sets = std::atoi(argv[3]);
    const int repeats = std::atoi(argv[4]);
    const bool lcg = argc <= 5 || std::string(argv[5]) != "square";
    const int firstSet = argc > 6 ? std::atoi(argv[6]) : 0;
    const bool byProcessor = std::getenv("TOVU_PROCESSOR_TIME") != nullptr;
    std::vector<double> medians;
    for (int set = firstSet; set < firstSet + sets; ++set) {
        const uint32_t pointSeed = 1000u + static_cast<uint32_t>(set);
        const TPointArray points = MakePoints(n, lcg, pointSeed);
        const std::string key = std::string(lcg ? "lcg" : "square") + (RoundTrips() ? "-closed-" : "-") +
                                std::to_string(n) + "-" + std::to_string(pointSeed);
        const double bound = CachedBound(points, key);
        const TClock::time_point quickStart = TClock::now();
        TRouteKind kind;
        kind.RoundTrip = RoundTrips();
        const TRouteProblem problem = MakeRouteProblem(TMeasure::OfPoints(points), kind, false);
        const TSpecimen quick = QuickRoute(problem);
        const double quickMs = std::chrono::duration<double, std::milli>(TClock::now() - quickStart).count();
        const double quickAbove = (problem.Length(quick) / bound - 1.0) * 100.0;
        std::vector<double> above;
        std::string line;
        double latest = 0.0;
        int64_t kicks = 0;
        double processor = 0.0;
        for (int repeat = 0; repeat < repeats; ++repeat) {
            TPointSetState state;
            state.FPoints = points;
            TQuietHost host(state, byProcessor ? seconds : 0.0);
            state.FSearching = true;
            const uint32_t seed = 4242u + static_cast<uint32_t>(set) + 7919u * static_cast<uint32_t>(repeat);
            SetReseedClock([seed] { return seed; });
            TLocalParams params;
            params.TimeLimitSeconds = byProcessor ? 3600.0 : seconds;
            if (const char* threads = std::getenv("TOVU_THREADS"))
                params.Threads = std::atoi(threads);
            const TClock::time_point start = TClock::now();
            const std::clock_t ticks = std::clock();
            const TSearchOutcome outcome = SearchLocal(problem, host, params);
            state.FBestRoute = outcome.Route;
            const double elapsed = std::chrono::duration<double>(TClock::now() - start).count();
            processor += static_cast<double>(std::clock() - ticks) / CLOCKS_PER_SEC;
            SetReseedClock({});
            latest = std::max(latest, elapsed - seconds);
            kicks += outcome.Steps;
            const double value = (problem.Length(state.FBestRoute) / bound - 1.0) * 100.0;
            above.push_back(value);
            char part[32];
            std::snprintf(part, sizeof part, " %.3f", value);
            line += part;
        }
        std::sort(above.begin(), above.end());
        const double median = above[above.size() / 2];
        medians.push_back(median);
        std::printf(
            "%s %d points, %.0f s, set %d: median %.3f %% above the bound (runs:%s), "
            "%lld kicks a run (%.0f a processor second), at most %.1f ms late; quick route %.2f %% in %.1f ms\n",
            lcg ? "lcg" : "square", n, seconds, set, median, line.c_str(), static_cast<long long>(kicks / repeats),
            static_cast<double>(kicks) / processor, latest * 1000.0, quickAbove, quickMs);
        std::fflush(stdout);
    }
    double sum = 0;
    for (double m : medians)
        sum += m;
    const double mean = sum / static_cast<double>(medians.size());
    const double target = RoundTrips() ? 1.0 : (n <= 1000 ? 0.70 : (n <= 10000 ? 0.80 : 1.5));
    std::printf("mean of the medians %.3f %%, target %.2f %%, ratio %.2f\n", mean, target, mean / target);
    return 0;
}
