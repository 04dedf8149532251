#include <gtest/gtest.h>

#include <cerrno>

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

}  // namespace
