// Times the exhaustive search on sets of twenty points, the most it takes:
// scattered points and points in close pairs (which leave the
// nearest-neighbour floor with nothing to hold on to), with one thread per
// core and with one thread. Also measures how long the window waits for a
// pass of events, how soon a stop ends the search, which order of floors
// is fastest (against the chosen order as the target), and round trips of
// 13 to 15 points and of 20. Prints figures and their ratio to the targets.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "core/distances.h"
#include "core/progress.h"
#include "core/random_source.h"
#include "search/exhaustive/exhaustive_search.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int32_t MapWidth = 495;
constexpr int32_t MapHeight = 382;

double Seconds(TClock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Millis(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The window as the search sees it: it notes when events get their turn
// and can press "Przerwij" once a given time has passed.
class TWatchingHost : public TProgress {
public:
    explicit TWatchingHost(TPointSetState& state) : FState(state) {}

    void ShowStatus(const std::string& text, int32_t) override
    {
        if (!text.empty())
            Note(TClock::now());
    }
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override
    {
        const TClock::time_point now = TClock::now();
        Note(now);
        ++EventPasses;
        if (StopAfter > TClock::duration::zero() && now - FStart >= StopAfter && FState.FSearching) {
            FState.FSearching = false;
            StopPressed = now;
        }
    }
    bool GoOn() const override { return FState.FSearching; }

    // The time since the last pass counts too: the window waits until the
    // search returns.
    void Finish() { Note(TClock::now()); }

    TClock::duration StopAfter{};
    TClock::time_point StopPressed{};
    TClock::duration LongestGap{};
    int64_t EventPasses = 0;

private:
    void Note(TClock::time_point now)
    {
        if (FLast == TClock::time_point{})
            FStart = now;
        else
            LongestGap = std::max(LongestGap, now - FLast);
        FLast = now;
    }

    TPointSetState& FState;
    TProgressBar FBar;
    TClock::time_point FStart{};
    TClock::time_point FLast{};
};

TPointSetState Prepared(TPointArray points)
{
    TPointSetState state;
    state.FPoints = std::move(points);
    TWatchingHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    return state;
}

// A fixed sequence per seed, so every run measures the same points.
TPointSetState Scattered(int32_t count, uint32_t seed)
{
    SetRandomState(seed);
    TPointArray points;
    for (int32_t i = 0; i < count; ++i)
        points.push_back({RandomBelow(MapWidth), RandomBelow(MapHeight), -1});
    return Prepared(points);
}

// Pairs of points one or two pixels apart, spread over the map.
TPointSetState ClosePairs(int32_t pairs, uint32_t seed)
{
    SetRandomState(seed);
    TPointArray points;
    for (int32_t i = 0; i < pairs; ++i) {
        const int32_t x = RandomBelow(MapWidth - 2);
        const int32_t y = RandomBelow(MapHeight - 1);
        points.push_back({x, y, -1});
        points.push_back({x + 1 + RandomBelow(2), y + RandomBelow(2), -1});
    }
    return Prepared(points);
}

struct TRun {
    double Seconds = 0.0;
    TClock::duration LongestGap{};
    int64_t Steps = 0;
    TSpecimen Best;
};

TRun Search(TPointSetState& state, int32_t threads, TClock::duration stopAfter = {}, const TRouteKind& kind = {})
{
    TWatchingHost host(state);
    host.StopAfter = stopAfter;
    state.FSearching = true;
    const TClock::time_point start = TClock::now();
    const TSearchOutcome outcome = SearchExhaustive(ProblemOfState(state, kind), host, false, threads);
    state.FBestRoute = outcome.Route;
    const TClock::time_point end = TClock::now();
    host.Finish();
    TRun run;
    run.Seconds = Seconds(end - start);
    run.LongestGap = host.LongestGap;
    run.Steps = outcome.Steps;
    run.Best = state.FBestRoute;
    if (stopAfter > TClock::duration::zero())
        run.Seconds = host.StopPressed == TClock::time_point{} ? -1.0 : Seconds(end - host.StopPressed);
    return run;
}

void Report(const std::string& name, double figure, double target, const char* unit, const std::string& detail)
{
    std::printf("%-52s %9.4f %s   target %8.4f %s   ratio %6.3f   %s\n", name.c_str(), figure, unit, target, unit,
                figure / target, detail.c_str());
    std::fflush(stdout);
}

struct TSeries {
    std::vector<double> Seconds;
    TClock::duration LongestGap{};
    bool SameAsOneThread = true;

    double Worst() const { return *std::max_element(Seconds.begin(), Seconds.end()); }
    double Median() const
    {
        std::vector<double> sorted = Seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

// Every set with the given threads and once more with one, which must find
// the same route.
TSeries Series(std::vector<TPointSetState>& sets, int32_t threads)
{
    TSeries series;
    for (TPointSetState& state : sets) {
        const TRun run = Search(state, threads);
        series.Seconds.push_back(run.Seconds);
        series.LongestGap = std::max(series.LongestGap, run.LongestGap);
        const TRun single = Search(state, 1);
        series.SameAsOneThread = series.SameAsOneThread && single.Best == run.Best;
    }
    return series;
}

void BenchSets(const char* name, std::vector<TPointSetState> sets, double targetSeconds)
{
    const int32_t cores = ExhaustiveThreadCount(20, false, 0);
    const TSeries all = Series(sets, 0);
    char detail[200];
    std::snprintf(detail, sizeof detail, "%zu sets, %d threads, median %.4f s, longest wait for events %.1f ms%s",
                  sets.size(), cores, all.Median(), Millis(all.LongestGap),
                  all.SameAsOneThread ? "" : ", ROUTE DIFFERS FROM ONE THREAD");
    Report(std::string(name) + ", worst", all.Worst(), targetSeconds, "s ", detail);

    const TSeries one = Series(sets, 1);
    std::snprintf(detail, sizeof detail, "median %.4f s, longest wait for events %.1f ms", one.Median(),
                  Millis(one.LongestGap));
    Report(std::string(name) + ", one thread, worst", one.Worst(), targetSeconds, "s ", detail);
}

void BenchResponsiveness(std::vector<TPointSetState>& sets)
{
    TClock::duration longest{};
    for (TPointSetState& state : sets)
        for (int32_t threads : {0, 1})
            longest = std::max(longest, Search(state, threads).LongestGap);
    Report("longest wait for events, all runs above", Millis(longest), 30.0, "ms", "from the status text to return");
}

// Twenty points in six places: the shortest routes tie in their millions,
// so the search runs for seconds and the stop has to end it.
TPointSetState SixPlaces()
{
    TPointArray points;
    for (int32_t i = 0; i < 20; ++i)
        points.push_back({10 * (i % 3), 10 * (i % 2), -1});
    return Prepared(points);
}

void BenchStop()
{
    TPointSetState state = SixPlaces();
    for (int32_t threads : {0, 1}) {
        const TRun run = Search(state, threads, std::chrono::milliseconds(300));
        char detail[160];
        std::snprintf(detail, sizeof detail, "%s, stop pressed after 300 ms, %lld routes decided",
                      threads == 0 ? "one thread per core" : "one thread", static_cast<long long>(run.Steps));
        Report("from the stop to the return", run.Seconds * 1000.0, 100.0, "ms", detail);
    }
}

// The engine alone with a given order of floors, one thread, no host: the
// processor time of the better of two runs, which other work on the
// machine disturbs less than the clock on the wall.
double FloorsSeconds(std::vector<TPointSetState>& sets, const TScanFloors& floors)
{
    struct TCounting {
        bool Step() { return true; }
        bool StepBy(int64_t) { return true; }
    } stepper;
    double best = 1e9;
    for (int repeat = 0; repeat < 2; ++repeat) {
        const std::clock_t start = std::clock();
        for (TPointSetState& state : sets) {
            const int32_t n = static_cast<int32_t>(state.FPoints.size());
            state.FBestRoute.resize(n);
            TExhaustiveScan<TCounting> scan(state.FDistances, n, stepper, state.FBestRoute, true, floors);
            scan.Run();
        }
        best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return best;
}

// Each order of floors against the chosen one, on six scattered sets and
// six sets of close pairs.
void BenchFloors(int32_t count, bool withNearestOnly)
{
    std::vector<TPointSetState> scattered;
    std::vector<TPointSetState> pairs;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        scattered.push_back(Scattered(count, 500u + seed));
        pairs.push_back(ClosePairs(count / 2, 700u + seed));
    }
    const TScanFloors chosen;
    const double chosenScattered = FloorsSeconds(scattered, chosen);
    const double chosenPairs = FloorsSeconds(pairs, chosen);
    struct TRow {
        const char* Name;
        TScanFloors Floors;
    };
    std::vector<TRow> rows = {
        {"no nearest-neighbour floor first", {false, 6, 9, 12}},
        {"tree from 4, no penalties", {true, 4, 99, 0}},
        {"tree from 6, no penalties", {true, 6, 99, 0}},
        {"tree from 10, no penalties", {true, 10, 99, 0}},
        {"tree from 5, penalties from 7, 6 steps", {true, 5, 7, 6}},
        {"tree from 6, penalties from 8, 8 steps", {true, 6, 8, 8}},
        {"tree from 7, penalties from 11, 12 steps", {true, 7, 11, 12}},
        {"tree from 6, penalties from 9, 20 steps", {true, 6, 9, 20}},
    };
    if (withNearestOnly)
        rows.push_back({"nearest-neighbour floor only (as before)", {true, 99, 99, 0}});
    char name[120];
    char detail[160];
    std::snprintf(name, sizeof name, "%d points, floors as chosen (6, 9, 12 steps)", count);
    std::snprintf(detail, sizeof detail, "processor time: 6 scattered sets %.3f s, 6 pair sets %.3f s", chosenScattered,
                  chosenPairs);
    Report(name, chosenScattered + chosenPairs, chosenScattered + chosenPairs, "s ", detail);
    for (const TRow& row : rows) {
        const double s = FloorsSeconds(scattered, row.Floors);
        const double p = FloorsSeconds(pairs, row.Floors);
        std::snprintf(name, sizeof name, "%d points, %s", count, row.Name);
        std::snprintf(detail, sizeof detail, "6 scattered sets %.3f s (%.2fx), 6 pair sets %.3f s (%.2fx)", s,
                      s / chosenScattered, p, p / chosenPairs);
        Report(name, s + p, chosenScattered + chosenPairs, "s ", detail);
    }
}

// Round trips, which fix their first point and order the others: (n - 1)!
// routes, each with its way back.
void BenchRoundTrips()
{
    TRouteKind roundTrip;
    roundTrip.RoundTrip = true;
    for (int32_t count : {13, 14, 15, 20}) {
        const uint32_t sets = count == 20 ? 3 : 6;
        for (bool paired : {false, true}) {
            std::vector<double> all;
            std::vector<double> one;
            TClock::duration longest{};
            bool sameAsOneThread = true;
            for (uint32_t seed = 1; seed <= sets; ++seed) {
                TPointSetState state =
                    paired ? ClosePairs((count + 1) / 2, 900u + seed) : Scattered(count, 800u + seed);
                // An odd count leaves one point of the last pair out.
                if (static_cast<int32_t>(state.FPoints.size()) > count) {
                    state.FPoints.pop_back();
                    state = Prepared(state.FPoints);
                }
                const TRun run = Search(state, 0, {}, roundTrip);
                all.push_back(run.Seconds);
                longest = std::max(longest, run.LongestGap);
                if (count < 20) {
                    const TRun single = Search(state, 1, {}, roundTrip);
                    one.push_back(single.Seconds);
                    sameAsOneThread = sameAsOneThread && single.Best == run.Best;
                }
            }
            std::sort(all.begin(), all.end());
            std::sort(one.begin(), one.end());
            char name[120];
            char detail[200];
            std::snprintf(name, sizeof name, "round trip, %d %s, worst", count,
                          paired ? "points in close pairs" : "scattered points");
            if (one.empty())
                std::snprintf(detail, sizeof detail, "%u sets, median %.4f s, longest wait for events %.1f ms", sets,
                              all[all.size() / 2], Millis(longest));
            else
                std::snprintf(detail, sizeof detail,
                              "%u sets, median %.4f s, one thread worst %.4f s median %.4f s, longest wait %.1f ms%s",
                              sets, all[all.size() / 2], one.back(), one[one.size() / 2], Millis(longest),
                              sameAsOneThread ? "" : ", ROUTE DIFFERS FROM ONE THREAD");
            // Twenty points get the open route's targets; fewer a tenth of a second.
            const double target = count < 20 ? 0.1 : paired ? 5.0 : 1.0;
            Report(name, all.back(), target, "s ", detail);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::printf("%u hardware threads\n", std::thread::hardware_concurrency());
    // "round-trips" times the round trips alone.
    if (argc > 1 && std::string(argv[1]) == "round-trips") {
        BenchRoundTrips();
        return 0;
    }
    std::vector<TPointSetState> pairs;
    for (uint32_t seed = 1; seed <= 10; ++seed)
        pairs.push_back(ClosePairs(10, 100u + seed));
    std::vector<TPointSetState> scattered;
    for (uint32_t seed = 1; seed <= 20; ++seed)
        scattered.push_back(Scattered(20, 300u + seed));
    BenchSets("20 points in 10 close pairs", pairs, 5.0);
    BenchSets("20 scattered points", scattered, 1.0);
    BenchResponsiveness(pairs);
    BenchStop();
    BenchFloors(20, false);
    BenchFloors(14, true);
    BenchRoundTrips();
    return 0;
}
