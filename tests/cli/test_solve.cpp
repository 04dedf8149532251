#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <regex>
#include <set>
#include <sstream>

#include "cli_runner.h"
#include "core/distances.h"
#include "core/point_file.h"
#include "core/point_set.h"
#include "core/random_source.h"
#include "json_fields.h"
#include "search/run/run_control.h"
#include "support/scripted_host.h"

namespace {

std::vector<std::pair<int, int>> TwentyPoints()
{
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < 20; ++i)
        points.emplace_back((i * 97) % 491, (i * 61 + 13) % 379);
    return points;
}

// Ten points in each of two places: 2 * 10! * 10! routes, some 2.6e13, are
// equally short, and a route as short as the best may never be skipped, so
// the search runs for days however well it skips whole branches (twenty
// scattered points take it a few milliseconds).
std::string LongExhaustiveSet(const TScratchDir& dir)
{
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < 20; ++i)
        points.emplace_back(i % 2 == 0 ? 100 : 300, 200);
    return dir.WritePoints("long.tvu", points);
}

class SolveTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(SolveTest, TwoPointsGiveTheWindowsResultLinesInAPolishLocale)
{
    const std::string file = Dir.WritePoints("two.tvu", {{0, 0}, {3, 4}});
    const TCliRun run = RunCli({"solve", file});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    // Of the two equally long routes the first in counting order, [1, 0], stays.
    EXPECT_EQ(run.Out, "Czas przeszukiwania: 00:00:00\nDługość najkrótszej drogi: 5,00\nDroga: 1 0\n");
}

TEST_F(SolveTest, NumbersFollowTheRegionalSettings)
{
    const std::string file = Dir.WritePoints("line.tvu", {{0, 0}, {1234, 0}});
    EXPECT_EQ(Lines(RunCli({"solve", file}).Out).at(1), "Długość najkrótszej drogi: 1\u00a0234,00");
    EXPECT_EQ(Lines(RunCli({"solve", file}, {.Locale = "C"}).Out).at(1), "Długość najkrótszej drogi: 1,234.00");
    EXPECT_EQ(Lines(RunCli({"solve", file}, {.Locale = "de_DE.UTF-8"}).Out).at(1),
              "Długość najkrótszej drogi: 1.234,00");
}

TEST_F(SolveTest, ElapsedTimeUsesTheLongTimeFormatWithoutItsZone)
{
    const std::string file = Dir.WritePoints("two.tvu", {{0, 0}, {3, 4}});
    EXPECT_EQ(Lines(RunCli({"solve", file}, {.Locale = "en_US.UTF-8"}).Out).at(0), "Czas przeszukiwania: 12:00:00 AM");
}

TEST_F(SolveTest, CollinearPointsKeepTheFirstShortestRoute)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const TCliRun run = RunCli({"solve", file});
    EXPECT_EQ(Lines(run.Out).at(1), "Długość najkrótszej drogi: 10,00");
    EXPECT_EQ(Lines(run.Out).at(2), "Droga: 2 1 0");
}

TEST_F(SolveTest, JsonHoldsMethodPointsLengthRouteStepsAndTime)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const TCliRun run = RunCli({"solve", file, "--json"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(std::regex_match(run.Out, std::regex(R"(\{"method": "exhaustive", "points": 3, "length": 10, )"
                                                     R"("route": \[2, 1, 0\], "steps": 6, "elapsed_ms": \d+\}\n)")))
        << run.Out;
}

TEST_F(SolveTest, JsonLengthReadsBackAsTheRoutesExactLength)
{
    const std::string file = Dir.WritePoints("odd.tvu", {{0, 0}, {1, 1}, {5, 2}, {7, 9}, {3, 8}, {11, 4}});
    // The comma locale must not reach the JSON numbers.
    const TCliRun run = RunCli({"solve", file, "--json"});
    const std::string length = JsonField(run.Out, "length");
    ASSERT_FALSE(length.empty()) << run.Out;
    EXPECT_EQ(length.find(','), std::string::npos);

    TPointSetState state;
    ASSERT_TRUE(ReadPointSetFile(file, state.FPoints).Ok());
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    TSpecimen route;
    const std::string routeText = JsonField(run.Out, "route");
    for (const char* p = routeText.c_str(); *p;) {
        if (*p >= '0' && *p <= '9') {
            char* end = nullptr;
            route.push_back(static_cast<int32_t>(std::strtol(p, &end, 10)));
            p = end;
        } else {
            ++p;
        }
    }
    ASSERT_EQ(route.size(), 6u);
    EXPECT_EQ(std::strtod(length.c_str(), nullptr), RouteLength(state.FDistances, route));
}

TEST_F(SolveTest, SeededRandomSearchRepeatsItself)
{
    const std::string file = Dir.WritePoints("twenty.tvu", TwentyPoints());
    const std::vector<std::string> args = {"solve", file, "--method", "random", "--tries", "5000", "--seed", "4711"};
    const TCliRun first = RunCli(args);
    const TCliRun second = RunCli(args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_EQ(Lines(first.Out).at(1), Lines(second.Out).at(1));
    EXPECT_EQ(Lines(first.Out).at(2), Lines(second.Out).at(2));
}

TEST_F(SolveTest, SeededGeneticSearchRepeatsItselfAndMatchesTheEngine)
{
    const std::string file = Dir.WritePoints("twenty.tvu", TwentyPoints());
    const std::vector<std::string> args = {"solve",         file,     "--method",    "genetic", "--population", "30",
                                           "--generations", "300",    "--crossover", "0.07",    "--mutation",   "0.03",
                                           "--keep-best",   "--seed", "123456"};
    const TCliRun first = RunCli(args);
    const TCliRun second = RunCli(args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_EQ(Lines(first.Out).at(1), Lines(second.Out).at(1));
    EXPECT_EQ(Lines(first.Out).at(2), Lines(second.Out).at(2));

    // The same run in this process, through the run control the window uses.
    TPointSetState state;
    ASSERT_TRUE(ReadPointSetFile(file, state.FPoints).Ok());
    TScriptedHost host(state);
    host.EveryStep = false;
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    TSearchSettings settings;
    settings.Genetic.Population = 30;
    settings.Genetic.GenerationCount = 300;
    settings.Genetic.CrossoverRate = 0.07;
    settings.Genetic.MutationRate = 0.03;
    settings.Genetic.SecureBad = true;
    SetReseedClock([] { return 123456u; });
    RunSearch(state, host, smGenetic, settings);
    SetReseedClock({});
    std::string routeLine = "Droga:";
    for (const int32_t index : state.FBestRoute) {
        routeLine += ' ';
        routeLine += std::to_string(index);
    }
    EXPECT_EQ(Lines(first.Out).at(2), routeLine);
}

TEST_F(SolveTest, GeneticSpreadRuleStopsOnceTheLengthsAgree)
{
    // All points at one place: every length is 0, the spread is 0 after the
    // first generation, which is at most any threshold.
    const std::string file = Dir.WritePoints("one_place.tvu", {{5, 5}, {5, 5}, {5, 5}, {5, 5}});
    const TCliRun run = RunCli({"solve", file, "--method", "genetic", "--threshold", "1", "--json"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(JsonField(run.Out, "method"), "\"genetic\"");
    EXPECT_EQ(JsonField(run.Out, "steps"), "1");
    EXPECT_EQ(JsonField(run.Out, "length"), "0");
}

TEST_F(SolveTest, TooFewPointsForTheMethodAreRefused)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const TCliRun run = RunCli({"solve", file, "--method", "genetic"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    // Named like every other error about the file.
    EXPECT_EQ(run.Err, "tovu-cli solve: " + file + ": Za mało punktów dla wybranej metody (potrzeba co najmniej 4).\n");
}

TEST_F(SolveTest, MoreThanTwentyPointsAreRefusedByTheExhaustiveSearch)
{
    std::vector<std::pair<int, int>> points = TwentyPoints();
    points.emplace_back(1, 1);
    const std::string file = Dir.WritePoints("many.tvu", points);
    const TCliRun run = RunCli({"solve", file});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli solve: " + file + ": Przeszukiwanie wyczerpujące obsługuje najwyżej 20 punktów.\n");
}

TEST_F(SolveTest, EmptySetIsRefused)
{
    const std::string file = Dir.WritePoints("empty.tvu", {});
    const TCliRun run = RunCli({"solve", file});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli solve: " + file + ": Za mało punktów dla wybranej metody (potrzeba co najmniej 1).\n");
}

TEST_F(SolveTest, MissingFileGivesTheWindowsReadError)
{
    const TCliRun run = RunCli({"solve", Dir.Path("nowhere.tvu")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "tovu-cli solve: " + Dir.Path("nowhere.tvu") + ": Błąd odczytu: " + SystemErrorIn(ENOENT) + "\n");
}

TEST_F(SolveTest, CtrlCStopsLikeTheStopCommandAndReportsTheBestRoute)
{
    const std::string file = LongExhaustiveSet(Dir);
    const TCliRun run = RunCli({"solve", file}, {.InterruptAfterMs = 400});
    EXPECT_EQ(run.ExitCode, 130);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 3u) << run.Out;
    EXPECT_EQ(lines[0].rfind("Czas przeszukiwania: ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("Długość najkrótszej drogi: ", 0), 0u);
    std::set<int> seen;
    std::istringstream words(lines[2].substr(std::strlen("Droga:")));
    for (int index = 0; words >> index;)
        seen.insert(index);
    EXPECT_EQ(seen.size(), 20u);
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 19);
}

TEST_F(SolveTest, ProgressLineGoesToAStandardErrorTerminalOnly)
{
    const std::string file = LongExhaustiveSet(Dir);
    const TCliRun run = RunCli({"solve", file}, {.InterruptAfterMs = 900, .StderrOnTerminal = true});
    EXPECT_EQ(run.ExitCode, 130);
    EXPECT_NE(run.Err.find("\r"), std::string::npos);
    EXPECT_NE(run.Err.find(" z 2\u00a0432\u00a0902\u00a0008\u00a0176\u00a0640\u00a0000 dróg"), std::string::npos)
        << run.Err;
    EXPECT_EQ(run.Out.find('\r'), std::string::npos);
    EXPECT_EQ(Lines(run.Out).size(), 3u);

    // Into a pipe, as in the other runs, standard error stays silent.
    const TCliRun piped = RunCli({"solve", file}, {.InterruptAfterMs = 900});
    EXPECT_EQ(piped.Err, "");
}

}  // namespace
