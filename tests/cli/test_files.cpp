#include <gtest/gtest.h>

#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
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

struct TEscapeCase {
    const char* Name;
    const char* Command;
    std::string FileName;
    std::string Text;
    // How the file's text or name must show in the error line.
    std::string Shown;
};

const std::vector<TEscapeCase> EscapeCases = {
    {"TsplibTitleSequence", "convert", "t.tsp",
     "NAME: t\nEDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n1 2 \x1b]0;x\x07\n", "„\\x1b]0;x\\x07”"},
    {"CsvColour", "convert", "c.csv", "1,2\n3,\x1b[31m4\n", "„\\x1b[31m4”"},
    {"TourClearScreen", "length", "t.tour", "TOUR_SECTION\n1 \x1b[2J\n", "„\\x1b[2J”"},
    {"NameWithNewlineAndColour", "convert", "a\nb\x1b[31m.csv", "1,2\nx\n", "a\\x0ab\\x1b[31m.csv"},
};

// A text from a file, or a file's name, never reaches the terminal raw: its
// control characters show escaped and the message stays one line.
TEST_F(FilesTest, ControlCharactersFromFilesAndNamesShowEscaped)
{
    const std::string points = Dir.WritePoints("two.tvu", {{0, 0}, {3, 4}});
    for (const TEscapeCase& c : EscapeCases) {
        const std::string path = Dir.Path(c.FileName);
        std::ofstream(path, std::ios::binary) << c.Text;
        const std::vector<std::string> args = std::string(c.Command) == "length"
                                                  ? std::vector<std::string>{"length", points, "--tour", path}
                                                  : std::vector<std::string>{"convert", path, "-"};
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1) << c.Name;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << c.Name << ": " << run.Err;
        EXPECT_EQ(run.Err.find('\x1b'), std::string::npos) << c.Name;
        EXPECT_NE(run.Err.find(c.Shown), std::string::npos) << c.Name << ": " << run.Err;
    }
}

// No write bit at all: read-only for everyone, root too.
TEST_F(FilesTest, FileWithoutWriteBitsIsRefusedAsReadOnly)
{
    const std::string path = Dir.WritePoints("kept.tvu", {{1, 2}});
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const TCliRun run = RunCli({"random", "3", "-o", path});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli random: " + path + ": Błąd zapisu: Plik jest tylko do odczytu\n");
    EXPECT_EQ(ReadFileBytes(path), "1; 2\r\n");
}

// A full device on standard output: the error line names standard output
// and says what the write met, however much was buffered before.
TEST_F(FilesTest, FullStandardOutputIsNamedWithItsError)
{
    const std::string file = Dir.WritePoints("two.tvu", {{0, 0}, {3, 4}});
    const std::vector<std::vector<std::string>> runs = {
        {"random", "5"}, {"random", "5000"}, {"convert", file, "-"}, {"solve", file}};
    for (const std::vector<std::string>& args : runs) {
        const TCliRun run = RunCli(args, {.StdoutPath = "/dev/full"});
        EXPECT_EQ(run.ExitCode, 1) << args[0] << " " << args[1];
        EXPECT_EQ(run.Err,
                  "tovu-cli " + args[0] + ": standardowe wyjście: Błąd zapisu: " + SystemErrorIn(ENOSPC) + "\n")
            << args[1];
    }
}

}  // namespace
