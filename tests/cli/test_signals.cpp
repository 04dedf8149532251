// SIGINT (Ctrl+C), SIGTERM and SIGHUP end a run alike, each with its own
// status: a search reports its best route first, a save gives up with
// nothing left behind, anything else ends at once.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>

#include "cli_runner.h"

namespace {

struct TSignalCase {
    const char* Name;
    int Signal;
    int ExitCode;
};

const TSignalCase SignalCases[] = {
    {"CtrlC", SIGINT, 130},
    {"Term", SIGTERM, 143},
    {"Hangup", SIGHUP, 129},
};

class SignalTable : public testing::TestWithParam<TSignalCase> {
protected:
    std::set<std::string> Entries() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Dir.Path("")))
            names.insert(entry.path().filename().string());
        return names;
    }

    TScratchDir Dir;
};

}  // namespace

TEST_P(SignalTable, SearchStopsAndReportsItsBestRoute)
{
    const TSignalCase& c = GetParam();
    // Twenty points in two places: days of equally short routes.
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < 20; ++i)
        points.emplace_back(i % 2 == 0 ? 100 : 300, 200);
    const TCliRun run =
        RunCli({"solve", Dir.WritePoints("long.tvu", points)}, {.InterruptAfterMs = 400, .InterruptSignal = c.Signal});
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 3u) << run.Out;
    EXPECT_EQ(lines[1].rfind("Długość najkrótszej drogi: ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Droga: ", 0), 0u);
}

TEST_P(SignalTable, WaitingForStandardInputEndsAtOnce)
{
    const TSignalCase& c = GetParam();
    const TCliRun run =
        RunCli({"solve", "-"},
               {.InterruptAfterMs = 300, .InterruptSignal = c.Signal, .InputPipe = true, .HoldInputOpen = true});
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    EXPECT_EQ(run.Out, "");
}

// A FIFO whose reader never reads takes the first 64 KB and then nothing:
// the save waits, and the signal ends it.
TEST_P(SignalTable, SaveBlockedOnAFifoEndsWithNothingLeftBehind)
{
    const TSignalCase& c = GetParam();
    const std::string path = Dir.Path("pipe.tvu");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const TCliRun run = RunCli({"random", "10000", "-o", path}, {.InterruptAfterMs = 400, .InterruptSignal = c.Signal});
    ::close(reader);
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(Entries(), std::set<std::string>({"pipe.tvu"}));
}

// The same with standard output: "-o -" into a FIFO nobody reads.
TEST_P(SignalTable, StandardOutputNobodyReadsEndsAtOnce)
{
    const TSignalCase& c = GetParam();
    const std::string path = Dir.Path("out.fifo");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const TCliRun run = RunCli({"random", "10000", "-o", "-"},
                               {.InterruptAfterMs = 400, .InterruptSignal = c.Signal, .StdoutPath = path});
    ::close(reader);
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    EXPECT_EQ(run.Err, "");
}

// A linked file is written in place under a lock; while another program
// holds it the save waits, and a signal then leaves the file as it was.
TEST_P(SignalTable, SaveWaitingForALockLeavesTheOldFileWhole)
{
    const TSignalCase& c = GetParam();
    const std::string path = Dir.WritePoints("set.tvu", {{1, 2}, {3, 4}});
    ASSERT_EQ(::link(path.c_str(), Dir.Path("partner.tvu").c_str()), 0);
    const std::string before = ReadFileBytes(path);
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const TCliRun run = RunCli({"random", "500", "-o", path}, {.InterruptAfterMs = 400, .InterruptSignal = c.Signal});
    ::close(holder);
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(Entries(), std::set<std::string>({"partner.tvu", "set.tvu"}));
}

// Given up while it waited for another program's lock, the save says so
// (the wait looked like a hang), and what it says: nothing was written.
TEST_P(SignalTable, SaveGivenUpWhileWaitingForALockSaysSo)
{
    const TSignalCase& c = GetParam();
    const std::string path = Dir.WritePoints("set.tvu", {{1, 2}, {3, 4}});
    ASSERT_EQ(::link(path.c_str(), Dir.Path("partner.tvu").c_str()), 0);
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const TCliRun run = RunCli({"random", "5", "-o", path}, {.InterruptAfterMs = 400, .InterruptSignal = c.Signal});
    ::close(holder);
    EXPECT_EQ(run.ExitCode, c.ExitCode);
    EXPECT_EQ(run.Err, "tovu-cli random: " + path + ": Błąd zapisu: Zapis przerwano (nic nie zapisano)\n");
}

INSTANTIATE_TEST_SUITE_P(Rows, SignalTable, testing::ValuesIn(SignalCases),
                         [](const testing::TestParamInfo<TSignalCase>& info) { return info.param.Name; });
