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

}  // namespace
