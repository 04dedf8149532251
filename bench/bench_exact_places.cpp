// Times the exact method on sets whose points share places: the 300 sets
// of 17 to 22 points the tests prove (the slowest of them against a
// second), 100 points on 10 places against the 10 places alone, and 17
// points on two places.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "core/point_set.h"
#include "core/progress.h"
#include "search/exact/exact_search.h"
#include "support/repeated_places.h"

namespace {

using TClock = std::chrono::steady_clock;

class TQuietHost : public TProgress {
public:
    explicit TQuietHost(TPointSetState& state) : FState(state) {}
    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override {}
    bool GoOn() const override { return FState.FSearching; }

private:
    TPointSetState& FState;
    TProgressBar FBar;
};

struct TTimedRun {
    double Seconds = 0;
    TSearchOutcome Outcome;
    double Length = 0;
};

// The best of a few runs: the machine's other work only ever adds.
TTimedRun Solve(const TPointArray& points, int32_t start, int runs)
{
    TTimedRun best;
    for (int r = 0; r < runs; ++r) {
        TPointSetState state;
        state.FPoints = points;
        TQuietHost host(state);
        state.FSearching = true;
        const TClock::time_point begin = TClock::now();
        TRouteKind kind;
        kind.Start = start;
        TExactParams params;
        params.TimeLimitSeconds = 60.0;
        TSearchOutcome outcome = SearchExact(ProblemOfState(state, kind), host, params);
        state.FBestRoute = outcome.Route;
        const double seconds = std::chrono::duration<double>(TClock::now() - begin).count();
        if (r == 0 || seconds < best.Seconds) {
            best.Seconds = seconds;
            best.Outcome = outcome;
            best.Length = RouteLengthOfPoints(state.FPoints, state.FBestRoute);
        }
    }
    return best;
}

void Report(const char* name, double figure, double target, const char* unit, const std::string& detail)
{
    std::printf("%-44s %9.4f %-2s  target %7.3f %-2s  ratio %6.3f   %s\n", name, figure, unit, target, unit,
                figure / target, detail.c_str());
}

void BenchRepeatedPlaces()
{
    double slowest = 0;
    int slowestSet = 0;
    int proved = 0;
    double total = 0;
    const int sets = 300;
    for (int index = 0; index < sets; ++index) {
        const TRepeatedPlacesSet set = RepeatedPlacesSet(index);
        const TTimedRun run = Solve(set.Points, set.Start, 1);
        proved += run.Outcome.Proved ? 1 : 0;
        total += run.Seconds;
        if (run.Seconds > slowest) {
            slowest = run.Seconds;
            slowestSet = index;
        }
    }
    char detail[160];
    std::snprintf(detail, sizeof detail, "%d of %d proved, slowest set %d, all %.3f s", proved, sets, slowestSet,
                  total);
    Report("exact, 300 sets of 17-22 points, slowest", slowest, 1.0, "s", detail);
}

void BenchHundredOnTen()
{
    std::mt19937 random(10);
    TPointArray places;
    for (int p = 0; p < 10; ++p)
        places.push_back({static_cast<int32_t>(random() % 1000), static_cast<int32_t>(random() % 800), -1});
    TPointArray points;
    for (int copy = 0; copy < 10; ++copy)
        points.insert(points.end(), places.begin(), places.end());
    std::shuffle(points.begin(), points.end(), random);
    const TTimedRun alone = Solve(places, -1, 5);
    const TTimedRun hundred = Solve(points, -1, 5);
    char detail[200];
    std::snprintf(detail, sizeof detail, "proved %s, length %.6f, %lld steps; the 10 places alone %.4f s, length %.6f",
                  hundred.Outcome.Proved ? "yes" : "no", hundred.Length, static_cast<long long>(hundred.Outcome.Steps),
                  alone.Seconds, alone.Length);
    Report("exact, 100 points on 10 places", hundred.Seconds, std::max(alone.Seconds, 1e-4), "s", detail);
}

void BenchTwoPlaces()
{
    TPointArray points;
    for (int i = 0; i < 9; ++i)
        points.push_back({0, 0, -1});
    for (int i = 0; i < 8; ++i)
        points.push_back({1, 1, -1});
    const TTimedRun run = Solve(points, -1, 5);
    char detail[120];
    std::snprintf(detail, sizeof detail, "proved %s, length %.17g", run.Outcome.Proved ? "yes" : "no", run.Length);
    Report("exact, 17 points on 2 places", run.Seconds, 0.1, "s", detail);
}

}  // namespace

int main()
{
    BenchTwoPlaces();
    BenchHundredOnTen();
    BenchRepeatedPlaces();
    return 0;
}
