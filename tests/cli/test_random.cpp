#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <regex>

#include "cli_runner.h"

namespace {

class RandomTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(RandomTest, SeededRunsWriteTheSameSetTwice)
{
    const TCliRun first = RunCli({"random", "50", "--seed", "31337"});
    const TCliRun second = RunCli({"random", "50", "--seed", "31337"});
    EXPECT_EQ(first.ExitCode, 0);
    EXPECT_EQ(first.Err, "");
    EXPECT_EQ(first.Out, second.Out);
    EXPECT_NE(first.Out, RunCli({"random", "50", "--seed", "31338"}).Out);
}

TEST_F(RandomTest, WritesThePointFileFormatInsideTheMap)
{
    const TCliRun run = RunCli({"random", "200", "--size", "40x7", "--seed", "1"});
    ASSERT_EQ(run.ExitCode, 0);
    const std::regex line(R"((\d+); (\d+))");
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 200u);
    for (const std::string& text : lines) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(text, match, line)) << text;
        EXPECT_LT(std::stoi(match[1]), 40);
        EXPECT_LT(std::stoi(match[2]), 7);
    }
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\r'), 200);
    EXPECT_EQ(run.Out.substr(run.Out.size() - 2), "\r\n");
}

TEST_F(RandomTest, FirstPointComesFromOneReseedWithXDrawnFirst)
{
    // The generator's first two steps from the seed, worked out by hand:
    // state := state * 134775813 + 1, value := n * state / 2^32.
    const uint32_t seed = 1000;
    const uint32_t afterX = seed * 134775813u + 1u;
    const uint32_t afterY = afterX * 134775813u + 1u;
    const auto x = static_cast<int>((uint64_t{495} * afterX) >> 32);
    const auto y = static_cast<int>((uint64_t{382} * afterY) >> 32);
    const TCliRun run = RunCli({"random", "1", "--seed", "1000"});
    EXPECT_EQ(run.Out, std::to_string(x) + "; " + std::to_string(y) + "\r\n");
}

TEST_F(RandomTest, ZeroPointsGiveAnEmptyFile)
{
    const TCliRun run = RunCli({"random", "0", "-o", Dir.Path("empty.tvu")});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(FileExists(Dir.Path("empty.tvu")));
    EXPECT_EQ(ReadFileBytes(Dir.Path("empty.tvu")), "");
}

TEST_F(RandomTest, OutputFileHoldsWhatStandardOutputWouldShow)
{
    const TCliRun run = RunCli({"random", "30", "--seed", "777", "-o", Dir.Path("set.tvu")});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(ReadFileBytes(Dir.Path("set.tvu")), RunCli({"random", "30", "--seed", "777"}).Out);
}

TEST_F(RandomTest, UnwritableTargetGivesTheWindowsWriteErrorAndLeavesNoFile)
{
    const TCliRun run = RunCli({"random", "3", "-o", Dir.Path("missing/set.tvu")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err,
              "tovu-cli random: " + Dir.Path("missing/set.tvu") + ": Błąd zapisu: " + SystemErrorIn(ENOENT) + "\n");
    EXPECT_FALSE(FileExists(Dir.Path("missing")));
}

TEST_F(RandomTest, DirectoryAsTargetIsAWriteError)
{
    const TCliRun run = RunCli({"random", "3", "-o", Dir.Path("")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli random: " + Dir.Path("") + ": Błąd zapisu: To jest folder, a nie plik\n");
}

}  // namespace
