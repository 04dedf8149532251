#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>

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

// The user nobody plants links; the shared folder belongs to another user,
// as /tmp belongs to root.
constexpr uid_t Nobody = 65534;
constexpr uid_t FolderOwner = 1;

struct TTargetCase {
    const char* Name;
    // Makes what lies at (or on the way to) the name the output is given,
    // in the scratch folder; the name relative to it.
    std::function<std::string(const TScratchDir&)> Make;
    // The error text after "Błąd zapisu: "; for a planted link, the
    // link's name in the shared folder instead.
    std::string Refusal;
    const char* PlantedLink = nullptr;
};

// Another user's link in a sticky folder everyone may write: shared/NAME.
std::string PlantLink(const TScratchDir& dir, const std::string& target, const std::string& name)
{
    std::filesystem::create_directory(dir.Path("shared"));
    const std::string link = dir.Path("shared/" + name);
    std::filesystem::create_symlink(target, link);
    if (::chown(dir.Path("shared").c_str(), FolderOwner, static_cast<gid_t>(-1)) != 0 ||
        ::lchown(link.c_str(), Nobody, static_cast<gid_t>(-1)) != 0 || ::chmod(dir.Path("shared").c_str(), 01777) != 0)
        return {};
    return link;
}

std::string PlantedLinkText(const std::string& link)
{
    return "Dowiązanie symboliczne „" + link +
           "” należy do innego użytkownika, a leży w folderze, do którego każdy może pisać; nie można przez nie "
           "zapisać";
}

const TTargetCase TargetCases[] = {
    {"PlantedLink", [](const TScratchDir& dir) { return PlantLink(dir, dir.Path("victim.txt"), "t.csv"); }, "",
     "t.csv"},
    {"PlantedDanglingLink", [](const TScratchDir& dir) { return PlantLink(dir, dir.Path("made.txt"), "t.csv"); }, "",
     "t.csv"},
    {"PlantedLinkAsAFolder",
     [](const TScratchDir& dir) {
         std::filesystem::create_directory(dir.Path("secret"));
         const std::string link = PlantLink(dir, dir.Path("secret"), "tdir");
         return link.empty() ? link : link + "/t.csv";
     },
     "", "tdir"},
    {"ReadOnlyFile",
     [](const TScratchDir& dir) {
         std::ofstream(dir.Path("ro.csv")) << "kept\n";
         ::chmod(dir.Path("ro.csv").c_str(), 0444);
         return dir.Path("ro.csv");
     },
     "Plik jest tylko do odczytu"},
    {"FifoWithoutReader",
     [](const TScratchDir& dir) { return ::mkfifo(dir.Path("f.csv").c_str(), 0600) == 0 ? dir.Path("f.csv") : ""; },
     "Nikt nie czyta z tego potoku (FIFO)"},
    {"Folder",
     [](const TScratchDir& dir) {
         std::filesystem::create_directory(dir.Path("d.csv"));
         return dir.Path("d.csv");
     },
     "To jest folder, a nie plik"},
};

class SaveTargetTable : public testing::TestWithParam<TTargetCase> {
protected:
    TScratchDir Dir;
};

// The trace of a search is saved by the rules of every output: a planted
// link is not followed (at the end of the name or as one of its folders),
// a read-only file is not replaced, a FIFO without a reader does not hold
// the run. Refused before the search, and nothing changes.
TEST_P(SaveTargetTable, TraceAndOutputKeepTheSameRules)
{
    const TTargetCase& c = GetParam();
    const std::string points = Dir.WritePoints("set.tvu", {{0, 0}, {3, 4}, {6, 0}, {2, 9}, {8, 8}});
    std::ofstream(Dir.Path("victim.txt")) << "precious\n";
    const std::string name = c.Make(Dir);
    if (name.empty())
        GTEST_SKIP() << "owners can only be set by root";
    const std::string refusal =
        c.PlantedLink ? PlantedLinkText(Dir.Path("shared/" + std::string(c.PlantedLink))) : c.Refusal;
    const std::vector<std::vector<std::string>> runs = {
        {"solve", points, "--method", "genetic", "--seed", "1", "--trace", name}, {"random", "3", "-o", name}};
    for (const std::vector<std::string>& args : runs) {
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1) << args[0];
        EXPECT_EQ(run.Out, "") << args[0];
        EXPECT_EQ(run.Err, "tovu-cli " + args[0] + ": " + name + ": Błąd zapisu: " + refusal + "\n");
    }
    EXPECT_EQ(ReadFileBytes(Dir.Path("victim.txt")), "precious\n");
    EXPECT_FALSE(FileExists(Dir.Path("made.txt")));
    EXPECT_FALSE(FileExists(Dir.Path("secret/t.csv")));
    if (FileExists(Dir.Path("ro.csv"))) {
        EXPECT_EQ(ReadFileBytes(Dir.Path("ro.csv")), "kept\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, SaveTargetTable, testing::ValuesIn(TargetCases),
                         [](const testing::TestParamInfo<TTargetCase>& info) { return info.param.Name; });

// A trace replaces a file as a save does: its permission bits stay, and it
// holds the trace alone, also when it was longer before.
TEST_F(FilesTest, TraceReplacesAFileKeepingItsPermissions)
{
    const std::string points = Dir.WritePoints("set.tvu", {{0, 0}, {3, 4}, {6, 0}, {2, 9}, {8, 8}});
    const std::string trace = Dir.Path("trace.csv");
    std::ofstream(trace) << std::string(100000, 'x');
    ASSERT_EQ(::chmod(trace.c_str(), 0640), 0);
    const TCliRun run = RunCli({"solve", points, "--method", "exact", "--trace", trace});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(Lines(ReadFileBytes(trace)).front(), "elapsed_ms,length");
    EXPECT_EQ(ReadFileBytes(trace).find('x'), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(trace.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

struct TSameFileCase {
    const char* Name;
    // The file read and written; "%" in the arguments stands for it, "@"
    // for a link to it.
    const char* FileName;
    std::vector<std::string> Args;
};

const std::vector<TSameFileCase> SameFileCases = {
    {"TraceOntoThePoints", "same.csv", {"solve", "%", "--trace", "%"}},
    {"RouteOntoThePoints", "s.csv", {"solve", "%", "-o", "%"}},
    {"RouteThroughALinkOntoThePoints", "s.csv", {"solve", "%", "-o", "@"}},
    {"ConvertOntoItself", "c.tvu", {"convert", "%", "%"}},
    {"PictureOntoThePoints", "p.svg", {"render", "%", "-o", "%"}},
};

// An output that is the very file a command reads would destroy its input:
// refused before anything runs, the file as it was.
TEST_F(FilesTest, OutputThatIsAnInputIsRefused)
{
    for (const TSameFileCase& c : SameFileCases) {
        const std::string path = Dir.Path(c.FileName);
        const std::string text =
            std::string(c.FileName).find(".csv") != std::string::npos ? "0,0\n3,4\n6,0\n" : "0; 0\r\n3; 4\r\n6; 0\r\n";
        std::ofstream(path, std::ios::binary) << text;
        const std::string link = Dir.Path("link-" + std::string(c.FileName));
        std::filesystem::create_symlink(path, link);
        std::vector<std::string> args = c.Args;
        std::string written;
        for (std::string& arg : args) {
            if (arg == "%" || arg == "@") {
                written = arg == "%" ? path : link;
                arg = written;
            }
        }
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1) << c.Name;
        EXPECT_EQ(run.Err, "tovu-cli " + args[0] + ": " + written + ": Błąd zapisu: to ten sam plik co „" + path +
                               "”, z którego polecenie czyta; zapis zniszczyłby dane\n")
            << c.Name;
        EXPECT_EQ(ReadFileBytes(path), text) << c.Name;
        std::filesystem::remove(link);
    }
}

// A save killed half-way through an in-place write leaves NAME.tovu-kopia
// beside the file, which may hold the new start and the old tail: every
// reader says so, and goes on.
TEST_F(FilesTest, ReadersWarnOfTheCopyAnInterruptedSaveLeft)
{
    const std::string points = Dir.WritePoints("set.tvu", {{0, 0}, {3, 4}, {6, 0}});
    std::ofstream(points + ".tovu-kopia") << "0; 0\r\n";
    const std::string tour = Dir.Path("set.tour");
    std::ofstream(tour) << "TOUR_SECTION\n1\n2\n3\n-1\n";
    std::ofstream(tour + ".tovu-kopia") << "";
    const std::string warning = "ostrzeżenie: obok pliku leży kopia z przerwanego zapisu „";
    const std::vector<std::vector<std::string>> runs = {{"solve", points},
                                                        {"bound", points},
                                                        {"length", points, "--route", "0,1,2"},
                                                        {"convert", points, Dir.Path("out.csv")},
                                                        {"render", points, "-o", Dir.Path("out.png")}};
    for (const std::vector<std::string>& args : runs) {
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << args[0] << ": " << run.Err;
        EXPECT_EQ(run.Err, "tovu-cli " + args[0] + ": " + points + ": " + warning + points +
                               ".tovu-kopia”: plik może być zapisany tylko w części, a jego dawna zawartość jest w "
                               "kopii\n");
    }
    const TCliRun length = RunCli({"length", points, "--tour", tour});
    EXPECT_EQ(length.ExitCode, 0);
    EXPECT_NE(length.Err.find("tovu-cli length: " + tour + ": " + warning + tour + ".tovu-kopia”"), std::string::npos)
        << length.Err;
}

// The trace on a full standard output: the same clear line as any result
// written there, not a bare input/output error.
TEST_F(FilesTest, TraceOnAFullStandardOutputNamesItsError)
{
    const std::string file = Dir.WritePoints("set.tvu", {{0, 0}, {3, 4}, {6, 0}, {2, 9}, {8, 8}});
    const TCliRun run = RunCli({"solve", file, "--method", "genetic", "--trace", "-"}, {.StdoutPath = "/dev/full"});
    EXPECT_EQ(run.ExitCode, 1);
    // The results a person reads went to standard error before it.
    EXPECT_EQ(Lines(run.Err).back(), "tovu-cli solve: standardowe wyjście: Błąd zapisu: " + SystemErrorIn(ENOSPC));
}

// Whatever runs short of memory says how much it wanted at once and how
// much there was: here the text of a 60 MB file under a 100 MB address
// space.
TEST_F(FilesTest, OutOfMemoryNamesTheMegabytes)
{
    if (!AddressLimitsHold)
        GTEST_SKIP() << "the address sanitizer's shadow memory needs more address space than the limit";
    const std::string path = Dir.Path("fat.tvu");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string line = std::string(12000, ' ') + "1; 1\r\n";
        for (int i = 0; i < 5000; ++i)
            out << line;
    }
    const TCliRun run = RunCli({"bound", path}, {.AddressSpaceKiB = 100000});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err.rfind("tovu-cli bound: Za mało pamięci: potrzeba było naraz 60,0 MB, a program może teraz "
                            "dostać najwyżej ",
                            0),
              0u)
        << run.Err;
    EXPECT_EQ(run.Err.substr(run.Err.size() - 4), " MB\n");
}

}  // namespace
