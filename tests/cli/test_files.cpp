#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>

#include "cli_runner.h"
#include "core/point_file.h"

namespace {

class FilesTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

const std::string TwoPointsText = "0; 0\r\n3; 4\r\n";

TEST_F(FilesTest, DashAndDevStdinReadStandardInputFromAPipe)
{
    const std::string file = Dir.WritePoints("two.tvu", {{0, 0}, {3, 4}});
    const TCliRun fromFile = RunCli({"solve", file});
    ASSERT_EQ(fromFile.ExitCode, 0) << fromFile.Err;
    for (const char* name : {"-", "/dev/stdin"}) {
        const TCliRun run = RunCli({"solve", name}, {.InputPipe = true, .Input = TwoPointsText});
        EXPECT_EQ(run.ExitCode, 0) << name << ": " << run.Err;
        EXPECT_EQ(run.Out, fromFile.Out) << name;
    }
}

TEST_F(FilesTest, CtrlCWhileWaitingForStandardInputEndsAtOnce)
{
    // The writer never finishes: only Ctrl+C can end the reading.
    const TCliRun run = RunCli({"solve", "-"}, {.InterruptAfterMs = 300, .InputPipe = true, .HoldInputOpen = true});
    EXPECT_EQ(run.ExitCode, 130);
    EXPECT_EQ(run.Out, "");
}

TEST_F(FilesTest, FifoIsRefusedInsteadOfWaitedOn)
{
    const std::string path = Dir.Path("pipe.tvu");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const TCliRun run = RunCli({"solve", path});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli solve: " + path + ": Błąd odczytu: To jest potok (FIFO), a nie plik\n");
    const TCliRun save = RunCli({"random", "3", "-o", path});
    EXPECT_EQ(save.ExitCode, 1);
    EXPECT_EQ(save.Err, "tovu-cli random: " + path + ": Błąd zapisu: Nikt nie czyta z tego potoku (FIFO)\n");
}

TEST_F(FilesTest, TwoHundredMegabytesOfLineBreaksAreRefusedUnread)
{
    const std::string path = Dir.Path("breaks.tvu");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1 << 20, '\n');
        for (int i = 0; i < 200; ++i)
            out << block;
    }
    const TCliRun run = RunCli({"solve", path});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err,
              "tovu-cli solve: " + path + ": Błąd odczytu: Zbyt wiele punktów w pliku: ponad 10000 (najwyżej 10000)\n");
}

}  // namespace
