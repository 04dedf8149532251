#include <gtest/gtest.h>

#include <algorithm>

#include "core/distances.h"
#include "core/random_source.h"
#include "search/run/run_control.h"
#include "support/scripted_host.h"

namespace {

std::vector<TMapPoint> Grid(int32_t n)
{
    std::vector<TMapPoint> points;
    for (int32_t i = 0; i < n; ++i)
        points.push_back({(i * 37) % 200, (i * 53) % 150, -1});
    return points;
}

}  // namespace

TEST(RunControl, RefusesRunsTheMethodCannotDo)
{
    const std::string few = "Za mało punktów dla wybranej metody (potrzeba co najmniej ";
    const struct {
        TSearchMethod method;
        int32_t count;
        std::string refusal;
    } rows[] = {
        {smExhaustive, 0, few + "1)."},
        {smExhaustive, 1, ""},
        {smExhaustive, 20, ""},
        {smExhaustive, 21, "Przeszukiwanie wyczerpujące obsługuje najwyżej 20 punktów."},
        {smRandom, 0, few + "3)."},
        {smRandom, 2, few + "3)."},
        {smRandom, 3, ""},
        {smRandom, 5000, ""},
        {smGenetic, 3, few + "4)."},
        {smGenetic, 4, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SearchRefusal(row.method, row.count), row.refusal) << row.method << ", " << row.count;
}

TEST(RunControl, RefusedRunChangesNothing)
{
    TPointSetState state;
    SetPoints(state, {{0, 0, 1}, {3, 4, -1}});
    state.FModified = false;
    TScriptedHost host(state);
    host.Results = {"earlier line"};
    const TRunResult result = RunSearch(state, host, smGenetic, TSearchSettings{});
    EXPECT_EQ(result.Refusal, "Za mało punktów dla wybranej metody (potrzeba co najmniej 4).");
    EXPECT_EQ(state.FPoints[0].Next, 1);
    EXPECT_FALSE(state.FModified);
    EXPECT_EQ(host.Results, std::vector<std::string>({"earlier line"}));
    EXPECT_TRUE(host.Log.empty());
    EXPECT_EQ(host.EventPasses, 0);
}

TEST(RunControl, TwoPointSearchReportsTimeAndLength)
{
    TPointSetState state;
    SetPoints(state, {{0, 0, -1}, {3, 4, -1}});
    TScriptedHost host(state);
    const TRunResult result = RunSearch(state, host, smExhaustive, TSearchSettings{});
    EXPECT_TRUE(result.Refusal.empty());
    EXPECT_EQ(host.Results,
              std::vector<std::string>({"Czas przeszukiwania: 00:00:00", "Długość najkrótszej drogi: 5,00"}));
    EXPECT_EQ(state.FBestRoute, TSpecimen({1, 0}));
    EXPECT_EQ(state.FPoints[1].Next, 0);
    EXPECT_EQ(state.FPoints[0].Next, -1);
    EXPECT_EQ(result.Length, 5.0);
    EXPECT_FALSE(state.FSearching);
    EXPECT_EQ(host.Bar.Position(), 0);
}

// Only a method that proves its route the shortest calls it so; the three
// methods of old keep their line, the local search proves nothing.
TEST(RunControl, OnlyAProvedRouteIsCalledTheShortest)
{
    const struct {
        TSearchMethod Method;
        const char* Caption;
    } rows[] = {
        {smExhaustive, "Długość najkrótszej drogi: "},       {smRandom, "Długość najkrótszej drogi: "},
        {smGenetic, "Długość najkrótszej drogi: "},          {smExact, "Długość najkrótszej drogi: "},
        {smLocal, "Długość najlepszej znalezionej drogi: "},
    };
    for (const auto& row : rows) {
        TPointSetState state;
        SetPoints(state, Grid(6));
        TScriptedHost host(state);
        TSearchSettings settings;
        settings.Local.StopByTime = false;
        settings.Local.Tries = 10;
        const TRunResult result = RunSearch(state, host, row.Method, settings);
        ASSERT_GE(result.Lines.size(), 2u) << row.Method;
        EXPECT_EQ(result.Lines[1].rfind(row.Caption, 0), 0u) << result.Lines[1];
    }
}

TEST(RunControl, LongLengthCarriesTheThousandsSeparator)
{
    TPointSetState state;
    SetPoints(state, {{0, 0, -1}, {1234, 0, -1}, {1234, 1, -1}});
    TScriptedHost host(state);
    host.Format.ThousandSeparator = " ";
    RunSearch(state, host, smExhaustive, TSearchSettings{});
    ASSERT_EQ(host.Results.size(), 2u);
    EXPECT_EQ(host.Results[1], "Długość najkrótszej drogi: 1 235,00");
}

TEST(RunControl, StepsRunInTheirOrder)
{
    TPointSetState state;
    SetPoints(state, Grid(4));
    state.FPoints[0].Next = 2;
    TScriptedHost host(state);
    host.TimeFormat = "H:mm:ss";
    RunSearch(state, host, smExhaustive, TSearchSettings{});
    // ClearRoute refreshes the list before the search begins; the view is
    // set up with the flag already raised; the status texts come from the
    // method; the results come before the flag drops and the list is
    // refreshed with the new links.
    const std::vector<std::string> expected = {
        "status:Obliczanie odległości...",
        "status:",
        "list",
        "view:searching",
        "status:Przeszukiwanie wyczerpujące...",
        "status:",
        "result:Czas przeszukiwania: 0:00:00",
        host.Log.size() > 7 ? host.Log[7] : "",
        "list",
    };
    EXPECT_EQ(host.Log, expected);
    EXPECT_EQ(host.Log[7].rfind("result:Długość najkrótszej drogi: ", 0), 0u);
    EXPECT_TRUE(state.FModified);
}

TEST(RunControl, EverySearchStartsWithTheLinksClearedAndTheSetModified)
{
    TPointSetState state;
    SetPoints(state, Grid(5));
    for (TMapPoint& point : state.FPoints)
        point.Next = 0;
    state.FPoints[0].Next = 1;
    state.FModified = false;
    TScriptedHost host(state);
    bool allCleared = false;
    host.OnEvents = [&] {
        allCleared = std::all_of(state.FPoints.begin(), state.FPoints.end(),
                                 [](const TMapPoint& point) { return point.Next == -1; });
    };
    TClockScript clock(3);
    TSearchSettings settings;
    settings.RandomCount = 5;
    RunSearch(state, host, smRandom, settings);
    EXPECT_TRUE(allCleared);
    EXPECT_TRUE(state.FModified);
}

TEST(RunControl, StoppedSearchReportsLikeACompleteOne)
{
    TPointSetState state;
    SetPoints(state, Grid(9));
    TScriptedHost host(state);
    host.StopAfterSteps = 10;
    const TRunResult result = RunSearch(state, host, smExhaustive, TSearchSettings{});
    EXPECT_EQ(result.Outcome.Steps, 10);
    EXPECT_EQ(host.Results.size(), 2u);
    EXPECT_EQ(host.Bar.Position(), 0);
    EXPECT_FALSE(state.FSearching);
    // The links form one route over all nine points.
    int32_t first = -1;
    for (int32_t i = 0; i < 9; ++i)
        if (std::none_of(state.FPoints.begin(), state.FPoints.end(), [i](const TMapPoint& p) { return p.Next == i; }))
            first = i;
    ASSERT_NE(first, -1);
    int32_t visited = 1;
    for (int32_t p = first; state.FPoints[p].Next != -1; p = state.FPoints[p].Next)
        ++visited;
    EXPECT_EQ(visited, 9);
}

TEST(RunControl, RunWithoutTriesReportsOnlyTheTime)
{
    TPointSetState state;
    SetPoints(state, Grid(5));
    state.FBestRoute = {2, 2, 2};
    state.FPoints[3].Next = 4;
    TScriptedHost host(state);
    TSearchSettings settings;
    settings.RandomCount = 0;
    TClockScript clock(3);
    const TRunResult result = RunSearch(state, host, smRandom, settings);
    EXPECT_FALSE(result.Outcome.Evaluated);
    ASSERT_EQ(host.Results.size(), 1u);
    EXPECT_EQ(host.Results[0].rfind("Czas przeszukiwania: ", 0), 0u);
    for (const TMapPoint& point : state.FPoints)
        EXPECT_EQ(point.Next, -1);
}

TEST(RunControl, GeneticRunWithATinyPopulationCompletes)
{
    TPointSetState state;
    SetPoints(state, Grid(6));
    TScriptedHost host(state);
    host.EveryStep = false;
    TSearchSettings settings;
    settings.Genetic.Population = 2;
    settings.Genetic.GenerationCount = 100;
    TClockScript clock(3);
    const TRunResult result = RunSearch(state, host, smGenetic, settings);
    EXPECT_EQ(result.Outcome.Steps, 100);
    EXPECT_EQ(host.Results.size(), 2u);
    EXPECT_EQ(result.Length, RouteLength(state.FDistances, state.FBestRoute));
}
