#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <csignal>
#include <functional>
#include <optional>
#include <random>
#include <regex>
#include <thread>

#include "core/point_file.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

std::string SetText(int points, int32_t value)
{
    TPointArray set(static_cast<size_t>(points), TMapPoint{value, -value, -1});
    return FormatPointSet(set);
}

// The user "nobody": the cases root would pass anyway run as this user.
constexpr uid_t Nobody = 65534;

// WriteFileReplacing as the unprivileged user, in a child process: its
// error text ("" on success), or nothing when no user can be switched to.
std::optional<std::string> SaveAsNobody(const std::string& path, const std::string& content)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0 ||
            ::setresuid(Nobody, Nobody, Nobody) != 0)
            ::_exit(2);
        const std::string text = WriteFileReplacing(path, content).ErrorText;
        ::_exit(::write(pipeEnds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 3);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

struct TKindCase {
    const char* name;
    std::function<bool(const std::string&)> make;
    // Empty: the save succeeds.
    std::string refusal;
};

// Targets that are no ordinary file: none is ever replaced, and nothing is
// left beside them.
const TKindCase kindCases[] = {
    {"NullDeviceCopy", [](const std::string& path) { return MakeDevice(path, S_IFCHR, 1, 3); }, ""},
    {"FullDeviceCopy", [](const std::string& path) { return MakeDevice(path, S_IFCHR, 1, 7); },
     SystemErrorText(ENOSPC)},
    {"BlockDeviceCopy", [](const std::string& path) { return MakeDevice(path, S_IFBLK, 7, 0); },
     "To jest urządzenie blokowe (dysk), a nie plik"},
    {"FifoWithoutReader", [](const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; },
     "Nikt nie czyta z tego potoku (FIFO)"},
    {"Socket", MakeSocket, SocketText},
    {"Folder", [](const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0; }, FolderText},
    {"LinkLoop",
     [](const std::string& path) {
         return ::symlink("loop.tvu", path.c_str()) == 0 &&
                ::symlink("entry.tvu", (path.substr(0, path.rfind('/')) + "/loop.tvu").c_str()) == 0;
     },
     SystemErrorText(ELOOP)},
};

class SaveKindTable : public testing::TestWithParam<TKindCase> {};

}  // namespace

// A save killed at any moment leaves either the complete old file or the
// complete new one, never a mixture or a truncated file.
TEST(SaveInterrupted, KilledSaveLeavesTheOldOrTheNewFileWhole)
{
    char pattern[] = "/tmp/tovu-kill-XXXXXX";
    const std::string folder = ::mkdtemp(pattern);
    const std::string path = folder + "/set.tvu";
    const std::string oldText = SetText(20000, 111111);
    const std::string newText = SetText(30000, 2222222);
    ASSERT_TRUE(WriteFileReplacing(path, oldText).Ok());

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    int sawOld = 0;
    int sawNew = 0;
    for (int round = 0; round < 60; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                WriteFileReplacing(path, i % 2 == 0 ? newText : oldText);
        }
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = ReadBytes(path);
        const bool whole = now == oldText || now == newText;
        ASSERT_TRUE(whole) << "round " << round << ": " << now.size() << " bytes";
        (now == oldText ? sawOld : sawNew)++;
    }
    EXPECT_EQ(sawOld + sawNew, 60);
    // What a killed save leaves beside the file is named for it.
    const std::regex tempName(R"(\.set\.tvu\.tovu-[A-Za-z0-9]{6})");
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename() != "set.tvu") {
            EXPECT_TRUE(std::regex_match(entry.path().filename().string(), tempName)) << entry.path();
        }
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST_P(SaveKindTable, TargetIsWrittenInPlaceOrRefusedNeverReplaced)
{
    const TKindCase& c = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File("entry.tvu");
    if (!c.make(path))
        GTEST_SKIP() << "this kind of entry cannot be made here";
    struct stat before {};
    ::lstat(path.c_str(), &before);
    const std::set<std::string> entries = folder.Entries();
    ::alarm(20);
    EXPECT_EQ(WriteFileReplacing(path, "1; 1\r\n").ErrorText, c.refusal);
    ::alarm(0);
    struct stat after {};
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(folder.Entries(), entries);
}

INSTANTIATE_TEST_SUITE_P(Rows, SaveKindTable, testing::ValuesIn(kindCases),
                         [](const testing::TestParamInfo<TKindCase>& info) { return info.param.name; });

TEST(SaveTarget, LinkChainStaysAndTheFileItPointsToIsWritten)
{
    TScratchFolder folder;
    fs::create_directory(folder.File("data"));
    fs::create_directory(folder.File("links"));
    WriteBytes(folder.File("data/set.tvu"), "1; 1\r\n");
    // links/first -> second (beside it) -> ../data/set.tvu (from the link's folder)
    fs::create_symlink("../data/set.tvu", folder.File("links/second"));
    fs::create_symlink("second", folder.File("links/first"));
    ASSERT_TRUE(WriteFileReplacing(folder.File("links/first"), "2; 2\r\n").Ok());
    EXPECT_EQ(ReadBytes(folder.File("data/set.tvu")), "2; 2\r\n");
    EXPECT_EQ(fs::read_symlink(folder.File("links/first")), "second");
    EXPECT_EQ(fs::read_symlink(folder.File("links/second")), "../data/set.tvu");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("data")), fs::directory_iterator()), 1);
}

TEST(SaveTarget, DanglingLinkCreatesTheFileItNames)
{
    TScratchFolder folder;
    fs::create_symlink("new.tvu", folder.File("link.tvu"));
    ASSERT_TRUE(WriteFileReplacing(folder.File("link.tvu"), "3; 3\r\n").Ok());
    EXPECT_TRUE(fs::is_symlink(folder.File("link.tvu")));
    EXPECT_EQ(ReadBytes(folder.File("new.tvu")), "3; 3\r\n");
}

TEST(SaveTarget, FifoWithAReaderGetsTheContents)
{
    TScratchFolder folder;
    const std::string path = folder.File("pipe.tvu");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const std::string content = SetText(5000, 42);
    std::string received;
    std::thread reader([&] { received = ReadBytes(path); });
    // Until the reader has opened its end, the save finds nobody.
    TFileResult result{"not tried"};
    for (int attempt = 0; attempt < 1000 && !result.Ok(); ++attempt) {
        result = WriteFileReplacing(path, content);
        ::usleep(result.Ok() ? 0 : 2000);
    }
    reader.join();
    EXPECT_TRUE(result.Ok()) << result.ErrorText;
    EXPECT_EQ(received, content);
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"pipe.tvu"}));
}

TEST(SaveTarget, ReplacedFileKeepsItsPermissionsOwnerAndGroup)
{
    TScratchFolder folder;
    const std::string path = folder.File("set.tvu");
    WriteBytes(path, "1; 1\r\n");
    ::chmod(path.c_str(), 0640);
    const bool chowned = ::chown(path.c_str(), Nobody, Nobody) == 0;
    ASSERT_TRUE(WriteFileReplacing(path, "2; 2\r\n").Ok());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_uid, chowned ? Nobody : ::getuid());
    EXPECT_EQ(ReadBytes(path), "2; 2\r\n");
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"set.tvu"}));
}

TEST(SaveTarget, HardLinkedFileIsWrittenForEveryName)
{
    TScratchFolder folder;
    WriteBytes(folder.File("set.tvu"), SetText(50, 7));
    fs::create_hard_link(folder.File("set.tvu"), folder.File("other.tvu"));
    ASSERT_TRUE(WriteFileReplacing(folder.File("set.tvu"), "2; 2\r\n").Ok());
    EXPECT_EQ(ReadBytes(folder.File("other.tvu")), "2; 2\r\n");
    EXPECT_EQ(fs::hard_link_count(folder.File("set.tvu")), 2u);
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"other.tvu", "set.tvu"}));
}

TEST(SaveTarget, ReadOnlyFileIsRefusedToAnUnprivilegedUserEvenInItsOwnFolder)
{
    TScratchFolder folder;
    const std::string path = folder.File("set.tvu");
    WriteBytes(path, "1; 1\r\n");
    ::chmod(path.c_str(), 0444);
    if (::chown(folder.Path.c_str(), Nobody, Nobody) != 0 || ::chown(path.c_str(), Nobody, Nobody) != 0)
        GTEST_SKIP() << "no other user to save as";
    const std::optional<std::string> error = SaveAsNobody(path, "2; 2\r\n");
    if (!error)
        GTEST_SKIP() << "cannot switch to another user";
    EXPECT_EQ(*error, "Plik jest tylko do odczytu");
    EXPECT_EQ(ReadBytes(path), "1; 1\r\n");
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"set.tvu"}));
    // Root's rights do not pass over the owner's "read-only" either.
    EXPECT_EQ(WriteFileReplacing(path, "3; 3\r\n").ErrorText, "Plik jest tylko do odczytu");
    EXPECT_EQ(ReadBytes(path), "1; 1\r\n");
    // A file the user may not write for want of rights is still the system's refusal.
    ASSERT_EQ(::chown(path.c_str(), 0, 0), 0);
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(SaveAsNobody(path, "2; 2\r\n"), SystemErrorText(EACCES));
}

TEST(SaveTarget, WritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    TScratchFolder folder;
    const std::string path = folder.File("set.tvu");
    WriteBytes(path, SetText(100, 5));
    // The folder stays root's 0755: the user may change the file but make no new one.
    if (::chown(path.c_str(), Nobody, Nobody) != 0)
        GTEST_SKIP() << "no other user to save as";
    const std::optional<std::string> error = SaveAsNobody(path, "2; 2\r\n");
    if (!error)
        GTEST_SKIP() << "cannot switch to another user";
    EXPECT_EQ(*error, "");
    EXPECT_EQ(ReadBytes(path), "2; 2\r\n");
    EXPECT_EQ(SaveAsNobody(folder.File("new.tvu"), "2; 2\r\n"), SystemErrorText(EACCES));
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"set.tvu"}));
}

TEST(SaveTarget, LongNameStillGetsItsTemporaryFile)
{
    TScratchFolder folder;
    const std::string path = folder.File(std::string(250, 'n') + ".tvu");
    ASSERT_TRUE(WriteFileReplacing(path, "1; 1\r\n").Ok());
    ASSERT_TRUE(WriteFileReplacing(path, "2; 2\r\n").Ok());
    EXPECT_EQ(ReadBytes(path), "2; 2\r\n");
    EXPECT_EQ(folder.Entries().size(), 1u);
}

TEST(SaveTarget, MoreThanMaxPointsAreNotFormattedForSaving)
{
    TPointArray points(static_cast<size_t>(MaxPoints), TMapPoint{1, 2, -1});
    std::string text;
    ASSERT_TRUE(FormatPointSetForSave(points, text).Ok());
    EXPECT_EQ(text, FormatPointSet(points));
    points.push_back({3, 4, -1});
    text = "unchanged";
    EXPECT_EQ(FormatPointSetForSave(points, text).ErrorText, "Zbyt wiele punktów do zapisu: 10001 (najwyżej 10000)");
    EXPECT_EQ(text, "unchanged");
}
