#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
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

// The size as the documentation prints it, with the multiplication sign,
// draws what "x" draws.
TEST_F(RandomTest, SizeTakesTheMultiplicationSignAsX)
{
    const TCliRun typed = RunCli({"random", "50", "--size", "40x7", "--seed", "1"});
    const TCliRun printed = RunCli({"random", "50", "--size", "40×7", "--seed", "1"});
    EXPECT_EQ(printed.ExitCode, 0) << printed.Err;
    EXPECT_EQ(printed.Out, typed.Out);
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
    // Named like a point file: a name without one is a wrong command line.
    ASSERT_TRUE(std::filesystem::create_directory(Dir.Path("folder.tvu")));
    const TCliRun run = RunCli({"random", "3", "-o", Dir.Path("folder.tvu")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli random: " + Dir.Path("folder.tvu") + ": Błąd zapisu: To jest folder, a nie plik\n");
}

// Like convert: the extension names the format, any other is refused
// before anything is written.
TEST_F(RandomTest, OutputTakesTheFormatItsExtensionNamesOrIsRefused)
{
    const struct {
        std::vector<std::string> Args;
        int ExitCode;
        // The start of the file written, or of standard output for "-".
        std::string Start;
    } rows[] = {
        {{"-o", Dir.Path("set.TSP")}, 0, "NAME : set\nTYPE : TSP\nDIMENSION : 4\n"},
        {{"-o", Dir.Path("set.csv")}, 0, "x,y\n"},
        {{"-o", Dir.Path("set.tvu")}, 0, RunCli({"random", "4", "--seed", "3"}).Out},
        {{"--format", "csv"}, 0, "x,y\n"},
        {{"-o", Dir.Path("map.png")}, 2, ""},
        {{"-o", Dir.Path("set")}, 2, ""},
        {{"-o", Dir.Path("set.tvu"), "--format", "csv"}, 2, ""},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"random", "4", "--seed", "3"};
        args.insert(args.end(), row.Args.begin(), row.Args.end());
        std::filesystem::remove(Dir.Path("set.tvu"));
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, row.ExitCode) << row.Args.back() << ": " << run.Err;
        const bool toFile = row.Args.front() == "-o";
        if (row.ExitCode != 0) {
            EXPECT_NE(run.Err.find("pomoc: tovu-cli random --help"), std::string::npos) << run.Err;
            EXPECT_FALSE(FileExists(row.Args[1])) << row.Args[1];
            continue;
        }
        const std::string written = toFile ? ReadFileBytes(row.Args[1]) : run.Out;
        EXPECT_EQ(written.rfind(row.Start, 0), 0u) << row.Args.back() << ": " << written;
    }
    EXPECT_EQ(RunCli({"random", "1", "-o", Dir.Path("map.png")}).Err,
              "tovu-cli random: -o: zbiór punktów zapisuje się do pliku .tvu, .tsp albo .csv, podano „" +
                  Dir.Path("map.png") + "” (pomoc: tovu-cli random --help)\n");
}

}  // namespace
