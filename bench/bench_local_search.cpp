// The local-optimisation method on uniform random sets: the neighbour
// lists' time, the route's length against the lower bound (and an estimate
// of the optimum), the exhaustive optimum on small sets, and how often
// a 10 000-point run lets events run and how fast it stops. Prints figures,
// targets and their ratio.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "core/distances.h"
#include "core/point_set.h"
#include "core/progress.h"
#include "core/random_source.h"
#include "search/bound/lower_bound.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/local/local_search.h"
#include "search/neighbours/neighbour_lists.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int32_t Side = 1000000;

double Millis(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// A free host that keeps the time between passes of events, on the wall
// clock and in processor time (on a shared machine the wall clock also
// counts other people's work), and can press the stop command at a given
// moment.
class TTimingHost : public TProgress {
public:
    explicit TTimingHost(TPointSetState& state) : FState(state) {}
    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override
    {
        ++EventPasses;
        const TClock::time_point now = TClock::now();
        const std::clock_t ticks = std::clock();
        if (FLastPass != TClock::time_point{}) {
            LongestGap = std::max(LongestGap, now - FLastPass);
            LongestBusyGap =
                std::max(LongestBusyGap, 1000.0 * static_cast<double>(ticks - FLastTicks) / CLOCKS_PER_SEC);
        }
        FLastPass = now;
        FLastTicks = ticks;
        if (StopAt != TClock::time_point{} && now >= StopAt && FState.FSearching) {
            FState.FSearching = false;
            StoppedAt = now;
        }
    }
    bool GoOn() const override { return FState.FSearching; }

    int64_t EventPasses = 0;
    TClock::duration LongestGap{};
    double LongestBusyGap = 0.0;  // ms
    TClock::time_point StopAt{};
    TClock::time_point StoppedAt{};

private:
    TPointSetState& FState;
    TProgressBar FBar;
    TClock::time_point FLastPass{};
    std::clock_t FLastTicks = 0;
};

TPointArray UniformPoints(int32_t count, uint32_t seed)
{
    SetRandomState(seed);
    TPointArray points;
    for (int32_t i = 0; i < count; ++i)
        points.push_back({RandomBelow(Side), RandomBelow(Side), -1});
    return points;
}

// Closed-tour estimates for n uniform points in a square of area A, made
// open by taking off one average leg. They leave out the square's boundary,
// which lengthens real routes by a few per cent at 1 000 points.
double EstimatedOptimum(int32_t n, double area)
{
    const double closed = 0.7124 * std::sqrt(n * area) * (1.0 + 0.33 / n);
    return closed * (1.0 - 1.0 / n);
}

// The engine's certified lower bound of the open route, run to its end.
double LowerBound(const TPointArray& points, double& seconds)
{
    TPointSetState state;
    TTimingHost host(state);
    state.FSearching = true;
    const TClock::time_point start = TClock::now();
    const TLowerBound bound = ComputeLowerBound(points, host);
    seconds = Millis(TClock::now() - start) / 1000.0;
    return bound.Value;
}

void Report(const char* name, double figure, double target, const char* unit, const std::string& detail)
{
    std::printf("%-44s %9.3f %-3s target %8.3f %-3s ratio %5.3f   %s\n", name, figure, unit, target, unit,
                figure / target, detail.c_str());
}

// The machine may be shared: the processor time beside the wall time.
void BenchNeighbourLists()
{
    const TPointArray points = UniformPoints(10000, 7);
    double wall = 1e9;
    double processor = 1e9;
    for (int repeat = 0; repeat < 5; ++repeat) {
        const TClock::time_point start = TClock::now();
        const std::clock_t startTicks = std::clock();
        const TNeighbourLists lists = NeighbourListsOf(points, 10);
        processor = std::min(processor, 1000.0 * static_cast<double>(std::clock() - startTicks) / CLOCKS_PER_SEC);
        wall = std::min(wall, Millis(TClock::now() - start));
    }
    char detail[120];
    std::snprintf(detail, sizeof detail, "best of 5; processor time %.1f ms", processor);
    Report("neighbour lists, 10 000 points, 10 each", wall, 50.0, "ms", detail);
}

void BenchQuality(int32_t n, double seconds, double targetPercent, int sets)
{
    const double area = static_cast<double>(Side) * Side;
    for (int set = 0; set < sets; ++set) {
        TPointSetState state;
        state.FPoints = UniformPoints(n, 1000u + static_cast<uint32_t>(set));
        const TClock::time_point quickStart = TClock::now();
        const double quick = RouteLengthOfPoints(state.FPoints, QuickRoute(state.FPoints, -1));
        const double quickMs = Millis(TClock::now() - quickStart);

        TTimingHost host(state);
        state.FSearching = true;
        SetReseedClock([set] { return 4242u + static_cast<uint32_t>(set); });
        TLocalParams params;
        params.TimeLimitSeconds = seconds;
        const TClock::time_point start = TClock::now();
        const TSearchOutcome outcome = SearchLocal(ProblemOfState(state, {}), host, params);
        state.FBestRoute = outcome.Route;
        const double elapsed = Millis(TClock::now() - start) / 1000.0;
        SetReseedClock({});
        const double length = RouteLengthOfPoints(state.FPoints, state.FBestRoute);

        double boundSeconds = 0;
        const double bound = LowerBound(state.FPoints, boundSeconds);
        const double aboveBound = (length / bound - 1.0) * 100.0;
        const double aboveOptimum = (length / EstimatedOptimum(n, area) - 1.0) * 100.0;
        char name[80];
        std::snprintf(name, sizeof name, "%d points, %.0f s: above the bound", n, seconds);
        char detail[400];
        std::snprintf(detail, sizeof detail,
                      "set %d: %.2f %% above the estimated optimum, quick route %.2f %% above the bound "
                      "(%.0f ms), %lld kicks in %.2f s, longest event gap %.1f ms (%.1f ms processor time), "
                      "bound %.1f s",
                      set, aboveOptimum, (quick / bound - 1.0) * 100.0, quickMs, static_cast<long long>(outcome.Steps),
                      elapsed, Millis(host.LongestGap), host.LongestBusyGap, boundSeconds);
        Report(name, aboveBound, targetPercent, "%", detail);
    }
}

void BenchSmall()
{
    const int32_t n = 12;
    int optimal = 0;
    double slowest = 0.0;
    for (int set = 0; set < 20; ++set) {
        TPointSetState state;
        state.FPoints = UniformPoints(n, 500u + static_cast<uint32_t>(set));
        TTimingHost host(state);
        ComputeDistances(state.FPoints, state.FDistances, host, 0);
        state.FSearching = true;
        state.FBestRoute = SearchExhaustive(ProblemOfState(state, {}), host).Route;
        const double exact = RouteLength(state.FDistances, state.FBestRoute);

        state.FSearching = true;
        SetReseedClock([set] { return 99u + static_cast<uint32_t>(set); });
        TLocalParams params;
        params.StopByTime = false;
        params.Tries = 1000;
        const TClock::time_point start = TClock::now();
        state.FBestRoute = SearchLocal(ProblemOfState(state, {}), host, params).Route;
        slowest = std::max(slowest, Millis(TClock::now() - start));
        SetReseedClock({});
        const double local = RouteLength(state.FDistances, state.FBestRoute);
        // The same route read backwards may differ in the last bit.
        if (local <= exact * (1.0 + 1e-12))
            ++optimal;
    }
    char detail[120];
    std::snprintf(detail, sizeof detail, "1000 tries each, slowest run %.1f ms (target 100 ms)", slowest);
    Report("12 points: sets solved exactly, of 20", optimal, 19.0, "", detail);
}

// The stop pressed 20, 80, 160 and 400 ms into a run on 10 000 points:
// while the route is built, in the first settling and among the kicks.
// The time from the press to the return, the worst of the four.
void BenchStop()
{
    double worst = 0.0;
    TClock::duration longestGap{};
    double longestBusyGap = 0.0;
    for (int pressMs : {20, 80, 160, 400}) {
        TPointSetState state;
        state.FPoints = UniformPoints(10000, 31);
        TTimingHost host(state);
        state.FSearching = true;
        TLocalParams params;
        params.TimeLimitSeconds = 60;
        host.StopAt = TClock::now() + std::chrono::milliseconds(pressMs);
        state.FBestRoute = SearchLocal(ProblemOfState(state, {}), host, params).Route;
        worst = std::max(worst, Millis(TClock::now() - host.StoppedAt));
        longestGap = std::max(longestGap, host.LongestGap);
        longestBusyGap = std::max(longestBusyGap, host.LongestBusyGap);
    }
    char detail[120];
    std::snprintf(detail, sizeof detail,
                  "longest gap between event passes %.1f ms, %.1f ms processor time (target 30 ms)", Millis(longestGap),
                  longestBusyGap);
    Report("10 000 points, stop noticed after", worst, 100.0, "ms", detail);
}

}  // namespace

int main(int argc, char** argv)
{
    // "quick" leaves out the long runs.
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    BenchNeighbourLists();
    BenchSmall();
    BenchStop();
    BenchQuality(1000, 2.0, 4.0, quick ? 1 : 3);
    if (!quick)
        BenchQuality(10000, 10.0, 6.0, 1);
    return 0;
}
