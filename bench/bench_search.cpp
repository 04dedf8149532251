// Times the three searches in a host that costs what the window costs: a
// pass of events about 1.2 µs, a change of the progress bar's picture about
// 5 µs, a status text about 20 µs (figures measured with Qt 6.4 on the
// development machine). Prints figures and their ratio to the targets.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/distances.h"
#include "core/random_source.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/genetic/genetic_search.h"
#include "search/pace/step_pacer.h"
#include "search/random/random_search.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr auto EventPassCost = std::chrono::nanoseconds(1200);
constexpr auto BarPictureCost = std::chrono::nanoseconds(5000);
constexpr auto StatusTextCost = std::chrono::nanoseconds(20000);

void Spin(std::chrono::nanoseconds cost)
{
    const TClock::time_point end = TClock::now() + cost;
    while (TClock::now() < end) {
    }
}

double Seconds(TClock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Millis(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The window as the searches see it, with its costs and nothing else. A
// free host has the same code path at no cost.
class TWindowLikeHost : public TProgress {
public:
    TWindowLikeHost(TPointSetState& state, bool costly) : Costly(costly), FState(state)
    {
        FBar.SetResolution(400);
        FBar.OnChange = [this](const TProgressBar&) {
            ++BarPictures;
            if (Costly)
                Spin(BarPictureCost);
        };
    }
    void ShowStatus(const std::string&, int32_t) override
    {
        if (Costly)
            Spin(StatusTextCost);
    }
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override
    {
        ++EventPasses;
        if (Costly)
            Spin(EventPassCost);
        const TClock::time_point now = TClock::now();
        if (FLastPass != TClock::time_point{})
            LongestGap = std::max(LongestGap, now - FLastPass);
        FLastPass = now;
    }
    bool GoOn() const override { return FState.FSearching; }

    bool Costly;
    int64_t EventPasses = 0;
    int64_t BarPictures = 0;
    int64_t StepPictures = 0;
    TClock::duration LongestGap{};

private:
    TPointSetState& FState;
    TProgressBar FBar;
    TClock::time_point FLastPass{};
};

// A fixed sequence, so every run measures the same points.
TPointSetState MakeState(int32_t count, int32_t width, int32_t height)
{
    uint32_t seed = 20240u + static_cast<uint32_t>(count);
    auto below = [&seed](int32_t n) {
        seed = seed * 134775813u + 1u;
        return static_cast<int32_t>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(n)) >> 32);
    };
    TPointSetState state;
    for (int32_t i = 0; i < count; ++i)
        state.FPoints.push_back({below(width), below(height), -1});
    TWindowLikeHost host(state, false);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    state.FBestRoute.resize(count);
    state.FRoute.resize(count);
    return state;
}

template <class TRun>
double TimeRun(TRun run)
{
    const TClock::time_point start = TClock::now();
    run();
    return Seconds(TClock::now() - start);
}

void Report(const char* name, double seconds, double targetSeconds, const std::string& detail)
{
    std::printf("%-46s %9.3f s   target %6.3f s   ratio %5.3f   %s\n", name, seconds, targetSeconds,
                seconds / targetSeconds, detail.c_str());
}

// A stepper that only counts: the engine with no host at all.
struct TCountingStepper {
    bool Step() { return StepBy(1); }
    bool StepBy(int64_t steps)
    {
        Steps += steps;
        return true;
    }
    int64_t Steps = 0;
};

// The steps of the exhaustive engine alone, between setting the bar's
// maximum and the last update of the bar: what the host pays for here is
// what it pays per step.
double TimeExhaustiveSteps(TPointSetState& state, TWindowLikeHost& host, bool skipSubtrees)
{
    const int32_t n = static_cast<int32_t>(state.FPoints.size());
    const bool costly = host.Costly;
    host.Costly = false;
    host.PrBar().SetMax(static_cast<int32_t>(std::min<int64_t>(Factorial(n) - 1, 2147483647)));
    host.PrBar().SetPosition(0);
    state.FSearching = true;
    host.Costly = costly;
    const int64_t picturesBefore = host.BarPictures;
    const TClock::time_point start = TClock::now();
    TStepPacer pacer(host);
    TExhaustiveScan<TStepPacer> scan(state.FDistances, n, pacer, state.FBestRoute, skipSubtrees);
    scan.Run();
    const double seconds = Seconds(TClock::now() - start);
    host.StepPictures = host.BarPictures - picturesBefore;
    host.Costly = false;
    pacer.Flush();
    host.Costly = costly;
    return seconds;
}

void BenchExhaustive12()
{
    TPointSetState state = MakeState(12, 640, 480);
    {
        TWindowLikeHost host(state, true);
        state.FSearching = true;
        TSearchOutcome outcome;
        const TRouteProblem problem = ProblemOfState(state, {});
        const double seconds = TimeRun([&] { outcome = SearchExhaustive(problem, host); });
        char detail[200];
        std::snprintf(detail, sizeof detail, "%lld routes, %lld event passes, %lld bar pictures",
                      static_cast<long long>(outcome.Steps), static_cast<long long>(host.EventPasses),
                      static_cast<long long>(host.BarPictures));
        Report("exhaustive, 12 points", seconds, 1.0, detail);
    }
    {
        TWindowLikeHost host(state, true);
        const double seconds = TimeExhaustiveSteps(state, host, false);
        char detail[200];
        std::snprintf(detail, sizeof detail, "%.2f ns a route, %lld event passes, longest gap %.1f ms",
                      seconds * 1e9 / 479001600.0, static_cast<long long>(host.EventPasses), Millis(host.LongestGap));
        Report("exhaustive, 12 points, no subtree left out", seconds, 1.0, detail);
    }
}

// The host's share of the steps: the same code with a free host and with
// the window-like one.
void BenchExhaustiveOverhead(int32_t n, bool skipSubtrees, int repeats)
{
    TPointSetState state = MakeState(n, 640, 480);
    double free = 1e9;
    double hosted = 1e9;
    double counting = 1e9;
    int64_t passes = 0;
    int64_t pictures = 0;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        {
            TWindowLikeHost host(state, false);
            free = std::min(free, TimeExhaustiveSteps(state, host, skipSubtrees));
        }
        {
            TWindowLikeHost host(state, true);
            hosted = std::min(hosted, TimeExhaustiveSteps(state, host, skipSubtrees));
            passes = host.EventPasses;
            pictures = host.StepPictures;
        }
        counting = std::min(counting, TimeRun([&] {
                                TCountingStepper stepper;
                                TExhaustiveScan<TCountingStepper> scan(state.FDistances, n, stepper, state.FBestRoute,
                                                                       skipSubtrees);
                                scan.Run();
                            }));
    }
    const double overhead = (hosted - free) / free;
    char name[80];
    std::snprintf(name, sizeof name, "exhaustive, %d points%s, host per step", n,
                  skipSubtrees ? "" : ", no subtree left out");
    char detail[220];
    std::snprintf(detail, sizeof detail,
                  "free host %.3f ms, window-like %.3f ms (%lld event passes, %lld bar pictures); "
                  "counting-only stepper %.3f ms",
                  free * 1000, hosted * 1000, static_cast<long long>(passes), static_cast<long long>(pictures),
                  counting * 1000);
    std::printf("%-46s %8.2f %%   target %5.1f %%   ratio %6.3f   %s\n", name, overhead * 100, 5.0, overhead / 0.05,
                detail);
}

void BenchGenetic()
{
    TPointSetState state = MakeState(50, 640, 480);
    SetReseedClock([] { return 123456u; });
    TWindowLikeHost host(state, true);
    state.FSearching = true;
    TGeneticParams params;
    TSearchOutcome outcome;
    const TRouteProblem problem = ProblemOfState(state, {});
    const double seconds = TimeRun([&] { outcome = SearchGenetic(problem, host, params); });
    SetReseedClock({});
    char detail[120];
    std::snprintf(detail, sizeof detail, "%lld generations, %lld event passes", static_cast<long long>(outcome.Steps),
                  static_cast<long long>(host.EventPasses));
    Report("genetic, 50 points, population 100, 2000 gen.", seconds, 0.2, detail);
}

void BenchRandom()
{
    TPointSetState state = MakeState(1000, 1000, 800);
    TWindowLikeHost host(state, true);
    state.FSearching = true;
    TSearchOutcome outcome;
    const TRouteProblem problem = ProblemOfState(state, {});
    const double seconds = TimeRun([&] { outcome = SearchRandom(problem, host, 32000); });
    char detail[120];
    std::snprintf(detail, sizeof detail, "%lld tries, %lld event passes", static_cast<long long>(outcome.Steps),
                  static_cast<long long>(host.EventPasses));
    Report("random, 1000 points, 32000 tries", seconds, 1.0, detail);
}

}  // namespace

int main()
{
    BenchExhaustive12();
    BenchExhaustiveOverhead(10, true, 21);
    BenchExhaustiveOverhead(10, false, 21);
    BenchExhaustiveOverhead(12, false, 7);
    BenchGenetic();
    BenchRandom();
    return 0;
}
