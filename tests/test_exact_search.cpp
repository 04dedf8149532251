#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>
#include <random>
#include <string>

#include "core/distances.h"
#include "core/point_input.h"
#include "search/exact/exact_search.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/local/local_search.h"
#include "search/pace/step_pacer.h"
#include "search/run/run_control.h"
#include "support/point_sets.h"
#include "support/repeated_places.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

double ExactLength(TPointSetState& state, const TExactRun& params, bool everyStep)
{
    TScriptedHost host(state);
    host.EveryStep = everyStep;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExact(state, host, params, everyStep);
    EXPECT_TRUE(outcome.Evaluated);
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
    return RouteLength(state.FDistances, state.FBestRoute);
}

double ExhaustiveLength(TPointSetState& state)
{
    TScriptedHost host(state);
    host.EveryStep = false;
    state.FSearching = true;
    SearchExhaustive(state, host, false);
    return RouteLength(state.FDistances, state.FBestRoute);
}

// Every route that starts at the given point, one by one.
double ShortestFrom(const TDistanceMatrix& distances, int32_t start)
{
    const int32_t n = static_cast<int32_t>(distances.size());
    TSpecimen rest;
    for (int32_t i = 0; i < n; ++i)
        if (i != start)
            rest.push_back(i);
    double best = std::numeric_limits<double>::infinity();
    do {
        TSpecimen route{start};
        route.insert(route.end(), rest.begin(), rest.end());
        best = std::min(best, RouteLength(distances, route));
    } while (std::next_permutation(rest.begin(), rest.end()));
    return best;
}

// A run of the exact method as the window starts it, stopped after
// maxSteps subproblems should it go on that long.
TSearchOutcome SolveExact(TPointSetState& state, int32_t start, int64_t maxSteps)
{
    TScriptedHost host(state);
    host.EveryStep = false;
    host.Arm();
    host.StopAfterSteps = maxSteps;
    state.FSearching = true;
    return SearchExact(state, host, {start});
}

// The megabytes of a memory text ("0,2 MB", "1,5 GB") after the given words.
double MegabytesAfter(const std::string& text, const std::string& words)
{
    const size_t at = text.find(words);
    if (at == std::string::npos)
        return -1.0;
    std::string number = text.substr(at + words.size());
    const size_t blank = number.find(' ');
    const std::string unit = number.substr(blank + 1, 2);
    number = number.substr(0, blank);
    std::replace(number.begin(), number.end(), ',', '.');
    return std::stod(number) * (unit == "GB" ? 1000.0 : 1.0);
}

}  // namespace

TEST(ExactSearch, RefusalNamesTheMemoryNeeded)
{
    const uint64_t gigabytes24 = 24000000000u;
    const uint64_t sixteenPoints = 16u << 18;
    const struct {
        const char* name;
        int32_t count;
        uint64_t memory;
        std::string refusal;
    } rows[] = {
        {"no points", 0, gigabytes24, SearchRefusal(smExhaustive, 0)},
        {"one point", 1, gigabytes24, ""},
        {"25 points fit 24 GB", 25, gigabytes24, ""},
        {"25 points fit 1 GB", 25, 1000000000u, ""},
        {"100 points fit 1 GB", 100, 1000000000u, ""},
        {"16 points on 8 MB", 16, 8000000u, "Metoda dokładna potrzebowałaby 4,2 MB pamięci; najwyżej 4,0 MB."},
        {"table exactly half", 16, 2 * sixteenPoints, ""},
        {"table just over half", 16, 2 * sixteenPoints - 2,
         "Metoda dokładna potrzebowałaby 4,2 MB pamięci; najwyżej 4,2 MB."},
        {"memory unknown", 25, 0, ""},
        {"101 points", 101, gigabytes24, ""},
        {"10000 points", 10000, gigabytes24, ""},
        {"the window's most", MaxWindowPoints, gigabytes24, ""},
        {"past the window's most", MaxWindowPoints + 1, gigabytes24,
         "Metoda dokładna obsługuje najwyżej " + std::to_string(MaxWindowPoints) + " punktów."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ExactRefusal(row.count, row.memory), row.refusal) << row.name;
}

// What the refusal weighs is what the method takes: the table up to its
// sizes, a few megabytes beyond, under a gigabyte everywhere.
TEST(ExactSearch, MemoryIsTheTableOnlyWhereATableIsFilled)
{
    for (int32_t n = 1; n <= LongProofPoints; ++n) {
        if (ExactUsesTable(n))
            EXPECT_EQ(ExactMemoryBytes(n), ExactTableBytes(n)) << n;
        else
            EXPECT_LT(ExactMemoryBytes(n), ExactTableBytes(MaxTablePoints) + 16000000u) << n;
        EXPECT_LT(ExactMemoryBytes(n), 1000000000u) << n;
    }
}

TEST(ExactSearch, TableBytesCountEveryPointOfEverySubset)
{
    const struct {
        int32_t count;
        uint64_t bytes;
    } rows[] = {{0, 0},
                {1, 8},
                {2, 32},
                {25, 3355443200u},
                {56, uint64_t{56} << 58},
                {57, std::numeric_limits<uint64_t>::max()},
                {10000, std::numeric_limits<uint64_t>::max()}};
    for (const auto& row : rows)
        EXPECT_EQ(ExactTableBytes(row.count), row.bytes) << row.count << " points";
}

// The yardstick is the exhaustive search, which measures candidate routes
// with RouteLength itself: the lengths must agree to the last bit.
TEST(ExactSearch, MatchesTheExhaustiveSearchOnManySets)
{
    std::mt19937 random(2025);
    int checked = 0;
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n = 1; n <= 12; ++n) {
            const int repeats = n <= 8 ? 8 : (n <= 10 ? 2 : 1);
            for (int r = 0; r < repeats; ++r) {
                TPointSetState state;
                SetPoints(state, MakeSet(kind, n, random));
                const double expected = ExhaustiveLength(state);
                for (bool everyStep : {false, true}) {
                    ASSERT_EQ(ExactLength(state, {}, everyStep), expected)
                        << "kind " << kind << ", n = " << n << ", every step " << everyStep;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 500);
}

// One point far from a tight cluster: the sum passes 4e9 while the legs are
// a few hundred pixels, so adding a leg rounds twice, and the mirror routes
// come out unequal. The lengths must still agree to the last bit.
TEST(ExactSearch, MatchesTheReferenceWhereLegsRoundTwice)
{
    const std::vector<std::vector<TMapPoint>> sets = {
        {{-2000000000, 500, -1},
         {1999999445, 423, -1},
         {1999999616, 468, -1},
         {1999999528, 390, -1},
         {1999999473, 109, -1},
         {1999999279, 323, -1}},
    };
    for (size_t s = 0; s < sets.size(); ++s) {
        const int32_t n = static_cast<int32_t>(sets[s].size());
        TPointSetState state;
        SetPoints(state, sets[s]);
        const TReferenceBest reference = ReferenceExhaustive(state.FDistances, n, Factorial(n));
        EXPECT_EQ(ExactLength(state, {}, false), reference.Length) << "set " << s;
    }
}

TEST(ExactSearch, FixedStartMatchesEveryRouteFromThatPoint)
{
    std::mt19937 random(31);
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n = 1; n <= 8; ++n) {
            TPointSetState state;
            SetPoints(state, MakeSet(kind, n, random));
            for (int32_t start = 0; start < n; start += (n > 4 ? 3 : 1)) {
                const double length = ExactLength(state, {start}, n % 2 == 0);
                EXPECT_EQ(state.FBestRoute[0], start) << "kind " << kind << ", n = " << n;
                EXPECT_EQ(length, ShortestFrom(state.FDistances, start))
                    << "kind " << kind << ", n = " << n << ", start " << start;
            }
            // A start outside the set is a free start.
            if (n > 1) {
                EXPECT_EQ(ExactLength(state, {n}, false), ExactLength(state, {}, false));
            }
        }
    }
}

TEST(ExactSearch, CompleteRunStepsTheBarToItsMaximumAndClearsTheStatus)
{
    std::mt19937 random(9);
    for (int32_t n : {0, 1, 5, 10, 14}) {
        TPointSetState state;
        SetPoints(state, MakeSet(skScattered, n, random));
        TScriptedHost host(state);
        host.Arm();
        state.FSearching = true;
        const TSearchOutcome outcome = SearchExact(state, host, {}, true);
        EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Programowanie dynamiczne...", ""}));
        EXPECT_EQ(outcome.Evaluated, n > 0);
        if (n == 0)
            continue;
        EXPECT_GT(host.Bar.Max(), 0) << n;
        EXPECT_EQ(outcome.Steps, host.Bar.Max()) << n;
        EXPECT_EQ(host.Bar.StepsTaken(), host.Bar.Max()) << n;
        EXPECT_EQ(state.FRoute, state.FBestRoute);
    }
}

TEST(ExactSearch, StopAfterTheLastBlockKeepsTheTable)
{
    std::mt19937 random(14);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, 10, random));
    const double expected = ExhaustiveLength(state);
    TScriptedHost host(state);
    host.Arm();
    host.StopAfterSteps = 256;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExact(state, host, {}, true);
    ASSERT_EQ(host.Bar.Max(), 256);
    EXPECT_EQ(outcome.Steps, 256);
    EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), expected);
}

TEST(ExactSearch, StopLeavesTheQuickRoute)
{
    std::mt19937 random(13);
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n : {9, 12, 16}) {
            TPointSetState state;
            SetPoints(state, MakeSet(kind, n, random));
            for (int32_t start : {-1, n / 2}) {
                TScriptedHost host(state);
                host.Arm();
                host.StopAfterSteps = 3;
                state.FSearching = true;
                const TSearchOutcome outcome = SearchExact(state, host, {start}, true);
                EXPECT_TRUE(outcome.Evaluated);
                EXPECT_EQ(outcome.Steps, 3);
                EXPECT_EQ(state.FBestRoute, QuickRoute(state.FPoints, start)) << "kind " << kind << ", n = " << n;
                EXPECT_EQ(host.StatusTexts.back(), "");
            }
        }
    }
}

// With both cores filling the table, the first pass of events already
// stops the work; what is left is the quick route, complete.
TEST(ExactSearch, StopWhileBothCoresWorkLeavesACompleteRoute)
{
    std::mt19937 random(21);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, MaxTablePoints, random));
    TScriptedHost host(state);
    host.EveryStep = false;
    host.OnEvents = [&] { state.FSearching = false; };
    // Every reading of the pacer's clock is 20 ms on: events run at once.
    auto now = std::make_shared<std::chrono::steady_clock::time_point>();
    SetPacerClock([now] { return *now += std::chrono::milliseconds(20); });
    state.FSearching = true;
    const TSearchOutcome outcome = SearchExact(state, host, {}, false);
    SetPacerClock({});
    EXPECT_TRUE(outcome.Evaluated);
    EXPECT_LT(outcome.Steps, host.Bar.Max());
    EXPECT_EQ(state.FBestRoute, QuickRoute(state.FPoints, -1));
    EXPECT_EQ(host.StatusTexts.back(), "");
}

TEST(ExactSearch, PointAddedDuringTheSearchTakesNoPart)
{
    std::mt19937 random(12);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, 10, random));
    const double expected = ExhaustiveLength(state);
    TScriptedHost host(state);
    int added = 0;
    host.OnEvents = [&] {
        if (added < 3) {
            // The distances run events too; count first so they add nothing.
            ++added;
            const int32_t before = static_cast<int32_t>(state.FPoints.size());
            state.FPoints.push_back({static_cast<int32_t>(random() % 640), static_cast<int32_t>(random() % 480), -1});
            ComputeDistances(state.FPoints, state.FDistances, host, before);
        }
    };
    state.FSearching = true;
    SearchExact(state, host, {}, true);
    EXPECT_EQ(added, 3);
    ASSERT_EQ(state.FBestRoute.size(), 10u);
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
    EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), expected);
}

// Beside the machine's memory, what this process can still get: the table
// and its few tens of megabytes around it must fit.
TEST(ExactSearch, RefusalWeighsWhatTheProcessCanGet)
{
    const uint64_t gigabytes24 = 24000000000u;
    const uint64_t table16 = uint64_t{16} << 18;
    const struct {
        const char* name;
        int32_t count;
        uint64_t room;
        bool refused;
    } rows[] = {
        {"room unknown", 25, UINT64_MAX, false},
        {"25 points in 1 GB", 25, 1000000000u, false},
        {"100 points in 100 MB", 100, 100000000u, false},
        {"room for the table alone", 16, table16, true},
        {"room for the table and more", 16, table16 + 100000000u, false},
    };
    for (const auto& row : rows) {
        const std::string refusal = ExactRefusal(row.count, gigabytes24, row.room);
        EXPECT_EQ(!refusal.empty(), row.refused) << row.name << ": " << refusal;
        if (row.refused) {
            EXPECT_EQ(refusal.rfind("Metoda dokładna potrzebowałaby ", 0), 0u) << row.name;
        }
    }
    // No size takes a gigabyte, so none asks.
    for (int32_t n = 1; n <= LongProofPoints + 1; ++n)
        EXPECT_EQ(ExactMemoryQuestion(n), "") << n;
}

// Only a route the table proved is called the shortest.
TEST(ExactSearch, StoppedRunIsNotCalledTheShortest)
{
    for (const bool stop : {false, true}) {
        TPointSetState state;
        std::mt19937 random(3);
        SetPoints(state, MakeSet(skScattered, 12, random));
        TScriptedHost host(state);
        if (stop)
            host.StopAfterSteps = 1;
        TSearchSettings settings;
        const TRunResult result = RunSearch(state, host, smExact, settings);
        // A stopped run tells how much longer than the shortest its route
        // can be.
        ASSERT_EQ(result.Lines.size(), stop ? 3u : 2u);
        EXPECT_EQ(result.Outcome.Proved, !stop);
        if (stop) {
            EXPECT_EQ(result.Lines[2].rfind("Długość drogi: ", 0), 0u) << result.Lines[2];
        }
        EXPECT_EQ(
            result.Lines[1].rfind(stop ? "Długość najlepszej znalezionej drogi: " : "Długość najkrótszej drogi: ", 0),
            0u)
            << result.Lines[1];
    }
}

// A refusal for want of room names all the method needs, never less than
// the room it names: with room for what it names (give or take the text's
// rounding) the method runs. 22 points need well under a megabyte, so
// 29,3 MB is plenty.
TEST(ExactSearch, RefusalForWantOfRoomNamesTheWholeNeed)
{
    const uint64_t gigabytes24 = 24000000000u;
    EXPECT_EQ(ExactRefusal(22, gigabytes24, 29300000u), "");
    int refused = 0;
    for (const int32_t n : {1, 12, 16, 17, 22, 60, 100}) {
        for (uint64_t room = 0; room <= 12000000u; room += 50000u) {
            const std::string refusal = ExactRefusal(n, gigabytes24, room);
            if (refusal.empty())
                continue;
            ++refused;
            const double needed = MegabytesAfter(refusal, "potrzebowałaby ");
            const double got = MegabytesAfter(refusal, "najwyżej ");
            EXPECT_GE(needed, got) << n << " points: " << refusal;
            EXPECT_EQ(ExactRefusal(n, gigabytes24, static_cast<uint64_t>((needed + 0.05) * 1e6)), "")
                << n << " points: " << refusal;
        }
    }
    EXPECT_GT(refused, 100);
}

// 100 points on 10 places: the routes that differ only in the order of one
// place's points are one route to the method, and it proves the set as
// the 10 places alone, from a free start and from a fixed one.
TEST(ExactSearch, ProvesPointsOnFewPlacesAsThePlacesAlone)
{
    std::mt19937 random(10);
    TPointArray places;
    for (int p = 0; p < 10; ++p)
        places.push_back({static_cast<int32_t>(random() % 1000), static_cast<int32_t>(random() % 800), -1});
    TPointArray points;
    for (int copy = 0; copy < 10; ++copy)
        points.insert(points.end(), places.begin(), places.end());
    std::shuffle(points.begin(), points.end(), random);
    for (const int32_t start : {-1, 37}) {
        TPointSetState alone;
        SetPoints(alone, places);
        int32_t startPlace = -1;
        for (int32_t p = 0; start >= 0 && p < 10; ++p)
            if (places[p].X == points[start].X && places[p].Y == points[start].Y)
                startPlace = p;
        ASSERT_TRUE(SolveExact(alone, startPlace, 100000).Proved);
        TPointSetState state;
        SetPoints(state, points);
        const TSearchOutcome outcome = SolveExact(state, start, 100000);
        EXPECT_TRUE(outcome.Proved) << start;
        ASSERT_TRUE(IsPermutation(state.FBestRoute));
        EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), RouteLength(alone.FDistances, alone.FBestRoute))
            << start;
        if (start >= 0) {
            EXPECT_EQ(state.FBestRoute[0], start);
        }
    }
}

// Places far out on one line, the route from a place in the middle: it
// has to come back over places it has passed, and passing once more
// through one that has points to spare adds nothing to the legs, yet
// RouteLength rounds the legs so that such a walk comes out shorter than
// any route that keeps each place's points together.
TEST(ExactSearch, WalkBackThroughAPlaceCanBeTheShortest)
{
    const struct {
        int32_t X;
        int32_t Y;
        int32_t Count;
    } places[] = {{956064, 239016, 1},  {478032, 119508, 2}, {597540, 149385, 2},  {717048, 179262, 3},
                  {358524, 89631, 2},   {836556, 209139, 2}, {1075572, 268893, 1}, {1314588, 328647, 3},
                  {1195080, 298770, 1}, {119508, 29877, 3}};
    TPointArray points;
    TPointArray sites;
    for (const auto& place : places) {
        sites.push_back({place.X, place.Y, -1});
        for (int32_t k = 0; k < place.Count; ++k)
            points.push_back({place.X, place.Y, -1});
    }
    const int32_t start = 5;
    ASSERT_EQ(points[start].X, 717048);
    const double shortest = ReferenceHeldKarp(points, start);
    ASSERT_LT(shortest, ReferenceHeldKarp(sites, 3));
    TPointSetState state;
    SetPoints(state, points);
    EXPECT_TRUE(SolveExact(state, start, 100000).Proved);
    ASSERT_TRUE(IsPermutation(state.FBestRoute));
    EXPECT_EQ(state.FBestRoute[0], start);
    EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), shortest);
}

// Sets of 17 to 22 points with repeated places (points at one place, on a
// line with whole legs and with none, far out, in clusters, on lattices,
// mixed; free starts and fixed ones): the exact method proves every one,
// and its length is the least RouteLength of all routes over the points, as
// the plain Held–Karp table over them has it.
TEST(ExactSearch, ProvesSetsWithRepeatedPlacesAsTheTableOverThePoints)
{
    for (int index = 0; index < 300; ++index) {
        const TRepeatedPlacesSet set = RepeatedPlacesSet(index);
        TPointSetState state;
        SetPoints(state, set.Points);
        const TSearchOutcome outcome = SolveExact(state, set.Start, 20000);
        EXPECT_TRUE(outcome.Proved) << "set " << index;
        ASSERT_TRUE(IsPermutation(state.FBestRoute)) << "set " << index;
        EXPECT_EQ(RouteLength(state.FDistances, state.FBestRoute), ReferenceHeldKarp(set.Points, set.Start))
            << "set " << index;
        if (set.Start >= 0) {
            EXPECT_EQ(state.FBestRoute[0], set.Start) << "set " << index;
        }
    }
}

// Any set may be searched; above a hundred points the user is told that a
// proof may take very long, above two hundred the window asks first.
TEST(ExactSearch, LongProofsAreAnnouncedAboveTheirSizes)
{
    const struct {
        int32_t count;
        bool warned;
        bool asked;
    } rows[] = {{1, false, false},  {16, false, false}, {100, false, false}, {101, true, false},
                {200, true, false}, {201, true, true},  {100000, true, true}};
    for (const auto& row : rows) {
        EXPECT_EQ(ExactRefusal(row.count, 24000000000u), "") << row.count;
        const std::string warning = ExactLongProofWarning(row.count);
        const std::string question = ExactLongProofQuestion(row.count);
        EXPECT_EQ(!warning.empty(), row.warned) << row.count;
        EXPECT_EQ(!question.empty(), row.asked) << row.count;
        if (row.warned) {
            EXPECT_NE(warning.find(std::to_string(row.count) + " punktów"), std::string::npos) << warning;
        }
        if (row.asked) {
            EXPECT_EQ(question.substr(question.size() - std::string("Rozpocząć?").size()), "Rozpocząć?") << question;
        }
    }
}
