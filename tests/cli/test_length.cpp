#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "cli_runner.h"

namespace {

class LengthTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(LengthTest, OpenRouteLengthInTheRegionalFormat)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    // No leg back to the start: 10 + 5.
    const TCliRun run = RunCli({"length", file, "--route", "0,2,1"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "Długość drogi: 15,00\n");
    EXPECT_EQ(RunCli({"length", file, "--route", "0,2,1"}, {.Locale = "C"}).Out, "Długość drogi: 15.00\n");
}

TEST_F(LengthTest, OnePointRouteHasLengthZero)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    EXPECT_EQ(RunCli({"length", file, "--route", "2"}).Out, "Długość drogi: 0,00\n");
}

TEST_F(LengthTest, JsonLengthHasEveryDigitOfTheDouble)
{
    const std::string file = Dir.WritePoints("diagonal.tvu", {{0, 0}, {1, 1}});
    const TCliRun run = RunCli({"length", file, "--route", "0,1", "--json"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "{\"length\": 1.4142135623730951}\n");
}

TEST_F(LengthTest, MissingFileIsAReadError)
{
    const TCliRun run = RunCli({"length", Dir.Path("none.tvu"), "--route", "0"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "tovu-cli length: " + Dir.Path("none.tvu") + ": Błąd odczytu: " + SystemErrorIn(ENOENT) + "\n");
}

// A tour that states its size must state the set's; its numbers are plain
// whole numbers.
TEST_F(LengthTest, TourMustFitTheSetAndHoldWholeNumbers)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const std::pair<std::string, std::string> rows[] = {
        {"DIMENSION : 4\nTOUR_SECTION\n1 2 3 -1\n", "Trasa ma DIMENSION „4”, a zbiór ma 3 punkty"},
        {"DIMENSION : 2\nTOUR_SECTION\n1 2 -1\n", "Trasa ma DIMENSION „2”, a zbiór ma 3 punkty"},
        {"TOUR_SECTION\n1 2.0 3 -1\n", "wiersz 2: numer punktu „2.0” nie jest liczbą całkowitą (same cyfry)"},
        {"TOUR_SECTION\n+1 2 3 -1\n", "wiersz 2: numer punktu „+1” nie jest liczbą całkowitą (same cyfry)"},
    };
    for (const auto& [text, error] : rows) {
        std::ofstream(Dir.Path("t.tour"), std::ios::binary) << text;
        const TCliRun run = RunCli({"length", file, "--tour", Dir.Path("t.tour")});
        EXPECT_EQ(run.ExitCode, 1) << text;
        EXPECT_EQ(run.Err, "tovu-cli length: " + Dir.Path("t.tour") + ": Błąd odczytu: " + error + "\n");
    }
    std::ofstream(Dir.Path("t.tour"), std::ios::binary) << "DIMENSION : 3\nTOUR_SECTION\n1 2 3 -1\n";
    EXPECT_EQ(RunCli({"length", file, "--tour", Dir.Path("t.tour")}).Out, "Długość drogi: 10,00\n");
}

// What "solve -o F.csv" writes, "length" and "render" read back: the
// route CSV is a route file like a tour.
TEST_F(LengthTest, RouteCsvOfSolveIsReadBack)
{
    const std::string file = Dir.WritePoints("four.tvu", {{0, 0}, {3, 4}, {10, 10}, {5, 1}});
    const std::string csv = Dir.Path("route.csv");
    const TCliRun solve = RunCli({"solve", file, "-o", csv});
    ASSERT_EQ(solve.ExitCode, 0) << solve.Err;
    const TCliRun length = RunCli({"length", file, "--tour", csv});
    EXPECT_EQ(length.ExitCode, 0) << length.Err;
    EXPECT_EQ(length.Out, "Długość drogi: " +
                              Lines(solve.Out).at(1).substr(std::string("Długość najkrótszej drogi: ").size()) + "\n");
    const TCliRun render = RunCli({"render", file, "--tour", csv, "-o", Dir.Path("map.png")});
    EXPECT_EQ(render.ExitCode, 0) << render.Err;
}

// The limit of a route file is its size in bytes; lines that hold no point
// (empty lines, comments) don't count as points.
TEST_F(LengthTest, TourWithManyEmptyLinesIsNoTourWithManyPoints)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const std::string tour = Dir.Path("padded.tour");
    std::ofstream(tour) << "NAME : padded\n" << std::string(20000, '\n') << "TOUR_SECTION\n1\n3\n2\n-1\nEOF\n";
    const TCliRun run = RunCli({"length", file, "--tour", tour});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "Długość drogi: 15,00\n");
}

}  // namespace
