// Times the exact method and the lower bound, and measures how close the
// bound comes to the optimum. Prints figures and their ratio to the
// targets, and the longest wait the host had for its events. "exact" runs
// the exact method's rows only.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "clustered_points.h"
#include "core/point_set.h"
#include "core/random_source.h"
#include "search/bound/lower_bound.h"
#include "search/exact/exact_search.h"

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Processor time of the whole process, every thread: on a machine shared
// with other work, wall time alone says little.
double ProcessorSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Processor time of the calling thread alone: a gap between two passes of
// events that the thread spent waiting for a core is the machine's doing.
double ThreadProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A host that costs nothing and notes the longest gap between two passes
// of events (from the start of the work to the first pass, too), in wall
// time and in the calling thread's processor time.
class TTimingHost : public TProgress {
public:
    explicit TTimingHost(TPointSetState& state) : FState(state) {}

    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override
    {
        ++EventPasses;
        Mark();
    }
    bool GoOn() const override { return FState.FSearching; }

    void Start()
    {
        FLastPass = TClock::now();
        FLastThreadTime = ThreadProcessorSeconds();
    }
    void Finish() { Mark(); }

    int64_t EventPasses = 0;
    TClock::duration LongestGap{};
    double LongestThreadGap = 0;

private:
    void Mark()
    {
        const TClock::time_point now = TClock::now();
        LongestGap = std::max(LongestGap, now - FLastPass);
        FLastPass = now;
        const double threadTime = ThreadProcessorSeconds();
        LongestThreadGap = std::max(LongestThreadGap, threadTime - FLastThreadTime);
        FLastThreadTime = threadTime;
    }

    TPointSetState& FState;
    TProgressBar FBar;
    TClock::time_point FLastPass;
    double FLastThreadTime = 0;
};

// A fixed sequence, so every run measures the same points.
TPointArray MakePoints(int32_t count, int32_t width, int32_t height, uint32_t seed)
{
    SetRandomState(seed);
    TPointArray points;
    for (int32_t i = 0; i < count; ++i)
        points.push_back({RandomBelow(width), RandomBelow(height), -1});
    return points;
}

void Report(const char* name, double figure, double target, const char* unit, const std::string& detail)
{
    std::printf("%-40s %9.3f %-2s  target %7.3f %-2s  ratio %5.3f   %s\n", name, figure, unit, target, unit,
                figure / target, detail.c_str());
}

std::string GapText(const TTimingHost& host)
{
    char text[160];
    std::snprintf(text, sizeof text, "%lld event passes, longest gap %.1f ms (%.1f ms of the thread's processor time)",
                  static_cast<long long>(host.EventPasses), Seconds(host.LongestGap) * 1000,
                  host.LongestThreadGap * 1000);
    return text;
}

double SolveExact(TPointSetState& state, TTimingHost& host, double& seconds, double& processorSeconds)
{
    state.FSearching = true;
    host.Start();
    const double processorStart = ProcessorSeconds();
    const TClock::time_point start = TClock::now();
    state.FBestRoute = SearchExact(ProblemOfState(state, {}), host, {}).Route;
    seconds = Seconds(TClock::now() - start);
    processorSeconds = ProcessorSeconds() - processorStart;
    host.Finish();
    return RouteLengthOfPoints(state.FPoints, state.FBestRoute);
}

void BenchExact(int32_t n, double targetSeconds)
{
    TPointSetState state;
    state.FPoints = MakePoints(n, 1000, 800, 900u + static_cast<uint32_t>(n));
    TTimingHost host(state);
    double seconds = 0;
    double processorSeconds = 0;
    const double length = SolveExact(state, host, seconds, processorSeconds);
    char name[60];
    std::snprintf(name, sizeof name, "exact, %d random points", n);
    char detail[200];
    std::snprintf(detail, sizeof detail, "processor %.3f s, length %.2f, memory %.3f GB, %s", processorSeconds, length,
                  ExactMemoryBytes(n) / 1e9, GapText(host).c_str());
    Report(name, seconds, targetSeconds, "s", detail);
}

// Several sets of one size: the worst or the median time of the proofs.
void BenchExactSets(const char* kind, int32_t n, int sets, bool median, double targetSeconds)
{
    std::vector<double> times;
    int proved = 0;
    for (int set = 0; set < sets; ++set) {
        TPointSetState state;
        state.FPoints = kind[0] == 'c' ? ClusteredPoints(n, 40u + static_cast<uint32_t>(set), 1000, 25.0)
                                       : MakePoints(n, 1000, 1000, 3000u + static_cast<uint32_t>(n * 10 + set));
        TTimingHost host(state);
        state.FSearching = true;
        const TClock::time_point start = TClock::now();
        const TSearchOutcome outcome = SearchExact(ProblemOfState(state, {}), host, {});
        times.push_back(Seconds(TClock::now() - start));
        proved += outcome.Proved ? 1 : 0;
    }
    std::sort(times.begin(), times.end());
    const double figure = median ? times[times.size() / 2] : times.back();
    char name[80];
    std::snprintf(name, sizeof name, "exact, %d %s points, %s of %d", n, kind, median ? "median" : "worst", sets);
    std::string detail = std::to_string(proved) + " proved; times";
    for (const double t : times) {
        char text[20];
        std::snprintf(text, sizeof text, " %.2f", t);
        detail += text;
    }
    Report(name, figure, targetSeconds, "s", detail);
}

// The peak resident memory of the whole process after proving 25 points.
void BenchExactMemory()
{
    TPointSetState state;
    state.FPoints = MakePoints(25, 1000, 1000, 2525u);
    TTimingHost host(state);
    double seconds = 0;
    double processorSeconds = 0;
    SolveExact(state, host, seconds, processorSeconds);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    char detail[120];
    std::snprintf(detail, sizeof detail, "the whole process's peak, %.3f s", seconds);
    Report("exact, 25 random points, peak memory", usage.ru_maxrss / 1e6, 1.0, "GB", detail);
}

void BenchBoundGap()
{
    double gapSum = 0;
    double worst = 0;
    int exact = 0;
    const int sets = 20;
    for (int s = 0; s < sets; ++s) {
        const int32_t n = 12 + s % 9;
        TPointSetState state;
        state.FPoints = MakePoints(n, 1000, 800, 5000u + static_cast<uint32_t>(s));
        TTimingHost host(state);
        double seconds = 0;
        double processorSeconds = 0;
        const double optimum = SolveExact(state, host, seconds, processorSeconds);
        state.FSearching = true;
        const TLowerBound bound = ComputeLowerBound(state.FPoints, host);
        if (bound.Value > optimum)
            std::printf("  set %d: bound %.17g above the optimum %.17g\n", s, bound.Value, optimum);
        const double gap = (optimum - bound.Value) / optimum;
        gapSum += gap;
        worst = std::max(worst, gap);
        exact += gap < 1e-9 ? 1 : 0;
    }
    char detail[160];
    std::snprintf(detail, sizeof detail, "worst %.3f %%, %d of %d sets closed to 1e-9", worst * 100, exact, sets);
    Report("bound, mean gap, 20 sets of 12-20 points", gapSum / sets * 100, 1.0, "%", detail);
}

void BenchBound(int32_t n, double targetSeconds)
{
    TPointSetState state;
    state.FPoints = MakePoints(n, 4000, 3000, 700u + static_cast<uint32_t>(n));
    TTimingHost host(state);
    state.FSearching = true;
    host.Start();
    const double processorStart = ProcessorSeconds();
    const TClock::time_point start = TClock::now();
    const TLowerBound bound = ComputeLowerBound(state.FPoints, host);
    const double seconds = Seconds(TClock::now() - start);
    const double processorSeconds = ProcessorSeconds() - processorStart;
    host.Finish();
    char name[60];
    std::snprintf(name, sizeof name, "bound, %d random points", n);
    char detail[220];
    std::snprintf(detail, sizeof detail, "processor %.3f s, value %.2f, %d steps, %s", processorSeconds, bound.Value,
                  bound.Iterations, GapText(host).c_str());
    Report(name, seconds, targetSeconds, "s", detail);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool exactOnly = argc > 1 && std::string(argv[1]) == "exact";
    BenchExactMemory();
    BenchExact(16, 0.1);
    BenchExact(20, 0.5);
    BenchExactSets("random", 40, 5, false, 5.0);
    BenchExactSets("random", 60, 5, true, 30.0);
    for (const int32_t n : {51, 52, 70}) {
        BenchExactSets("random", n, 1, false, 60.0);
        BenchExactSets("clustered", n, 1, false, 60.0);
    }
    BenchExactSets("random", 100, 3, true, 60.0);
    if (exactOnly)
        return 0;
    BenchBoundGap();
    BenchBound(1000, 1.0);
    BenchBound(10000, 20.0);
    return 0;
}
