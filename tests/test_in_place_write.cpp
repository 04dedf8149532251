// A file with other hard links is written in place: the writers take turns
// under a lock, and the old contents wait beside it until the new ones are
// whole, so neither two writers nor a crash leave a mixture.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <csignal>
#include <functional>
#include <random>

#include "core/in_place_write.h"
#include "core/point_file.h"
#include "core/safe_save.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// Of different lengths, so that one cut to the other's length, or one
// followed by the other's tail, shows.
std::string SetText(int points, int32_t value)
{
    return FormatPointSet(TPointArray(static_cast<size_t>(points), TMapPoint{value, -value, -1}));
}

class InPlaceWrite : public testing::Test {
protected:
    void SetUp() override
    {
        WriteBytes(Path, OldText);
        fs::create_hard_link(Path, folder.File("partner.tvu"));
    }

    TScratchFolder folder;
    const std::string Path = folder.File("set.tvu");
    const std::string CopyPath = Path + std::string(OldContentsMark);
    const std::string OldText = SetText(30000, 111111);
    const std::string NewText = SetText(20000, 2222222);
};

// Every round forks and syncs megabytes; the sanitizer build, which runs the
// suite once more for memory faults, does a fifth of the rounds.
#if defined(__SANITIZE_ADDRESS__)
constexpr int RoundsDivisor = 5;
#else
constexpr int RoundsDivisor = 1;
#endif

}  // namespace

// Two writers at once, again and again: the file always ends as one of
// them wrote it, and both names see it.
TEST_F(InPlaceWrite, ConcurrentWritersTakeTurns)
{
    constexpr int Rounds = 150 / RoundsDivisor;
    int mixed = 0;
    for (int round = 0; round < Rounds; ++round) {
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        pid_t writers[2];
        for (int w = 0; w < 2; ++w) {
            writers[w] = ::fork();
            ASSERT_GE(writers[w], 0);
            if (writers[w] == 0) {
                char go = 0;
                ::close(gate[1]);
                // Both start when the gate opens.
                const bool opened = ::read(gate[0], &go, 1) == 0;
                const std::string& text = w == 0 ? OldText : NewText;
                ::_exit(opened && WriteFileReplacing(Path, text).Ok() ? 0 : 1);
            }
        }
        ::close(gate[0]);
        ::close(gate[1]);
        for (const pid_t writer : writers) {
            int status = 0;
            ::waitpid(writer, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        const std::string now = ReadBytes(Path);
        mixed += now == OldText || now == NewText ? 0 : 1;
        EXPECT_EQ(ReadBytes(folder.File("partner.tvu")), now);
    }
    EXPECT_EQ(mixed, 0) << "of " << 2 * Rounds << " writes";
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"partner.tvu", "set.tvu"}));
}

// A writer killed at any moment leaves the file whole, or the copy beside
// it with the old contents whole: never a mixture without it. Every other
// round is killed once the new contents have begun to overwrite the old,
// where a mixture is to be had.
TEST_F(InPlaceWrite, KilledWriteLeavesTheFileWholeOrACopyOfTheOld)
{
    // Megabytes, so that the overwrite takes long enough to be hit.
    const std::string oldText(8u << 20, 'a');
    const std::string newText(6u << 20, 'b');
    std::mt19937 random(20260611);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    int copiesLeft = 0;
    int cutInTheMiddle = 0;
    for (int round = 0; round < 40 / RoundsDivisor; ++round) {
        WriteBytes(Path, oldText);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            ::_exit(WriteFileReplacing(Path, newText).Ok() ? 0 : 1);
        if (round % 2 == 1) {
            const int file = ::open(Path.c_str(), O_RDONLY);
            char first = 'a';
            // The copy is made and synced first; that may take a while.
            for (int wait = 0; wait < 1000000 && first == 'a'; ++wait) {
                if (::pread(file, &first, 1, 0) != 1)
                    first = 'a';
                if (first == 'a')
                    ::usleep(10);
            }
            ::close(file);
        }
        ::usleep(static_cast<useconds_t>(delayUs(random) / (round % 2 == 1 ? 10 : 1)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = ReadBytes(Path);
        const bool whole = now == oldText || now == newText;
        if (fs::exists(CopyPath)) {
            ++copiesLeft;
            cutInTheMiddle += whole ? 0 : 1;
            // Killed while copying, the file is still whole; later, the copy is.
            ASSERT_TRUE(whole || ReadBytes(CopyPath) == oldText) << "round " << round;
            fs::remove(CopyPath);
        } else {
            ASSERT_TRUE(whole) << "round " << round << ": " << now.size() << " bytes and no copy";
        }
        EXPECT_EQ(ReadBytes(folder.File("partner.tvu")), now);
    }
    RecordProperty("CopiesLeft", copiesLeft);
    RecordProperty("CutInTheMiddle", cutInTheMiddle);
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"partner.tvu", "set.tvu"}));
}

TEST_F(InPlaceWrite, CopyFromAnEarlierCrashIsKeptAndRefusesTheWrite)
{
    WriteBytes(CopyPath, "1; 1\r\n");
    const TFileResult result = WriteFileReplacing(Path, NewText);
    EXPECT_NE(result.ErrorText.find("„" + CopyPath + "”"), std::string::npos) << result.ErrorText;
    EXPECT_EQ(ReadBytes(Path), OldText);
    EXPECT_EQ(ReadBytes(CopyPath), "1; 1\r\n");
}

// While another program holds the file's lock, the save waits; asked to
// stop meanwhile, it gives up with nothing changed and nothing left.
TEST_F(InPlaceWrite, WaitsForTheLockAndGivesUpWhenAsked)
{
    const int holder = ::open(Path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    int asked = 0;
    const TFileResult result = WriteFileReplacing(Path, NewText, [&asked] { return ++asked > 20; });
    ::close(holder);
    EXPECT_EQ(result.ErrorText, SaveStoppedText);
    EXPECT_GT(asked, 20);
    EXPECT_EQ(ReadBytes(Path), OldText);
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"partner.tvu", "set.tvu"}));
    // Once the lock is free, the same save goes through.
    EXPECT_TRUE(WriteFileReplacing(Path, NewText, [] { return false; }).Ok());
    EXPECT_EQ(ReadBytes(folder.File("partner.tvu")), NewText);
}

// The copy is the file's while it lasts: after a crash, whoever owns the
// file may read, save over and remove it. Looked at from the question to
// stop, which comes while the copy is made.
TEST_F(InPlaceWrite, CopyHasTheFilesOwnerAndPermissions)
{
    constexpr uid_t Nobody = 65534;
    if (::chown(Path.c_str(), Nobody, Nobody) != 0)
        GTEST_SKIP() << "owners can only be set by root";
    ASSERT_EQ(::chmod(Path.c_str(), 0640), 0);
    struct stat copy {};
    bool seen = false;
    const TFileResult result = WriteFileReplacing(Path, NewText, [&] {
        seen = seen || ::lstat(CopyPath.c_str(), &copy) == 0;
        return false;
    });
    EXPECT_TRUE(result.Ok()) << result.ErrorText;
    ASSERT_TRUE(seen);
    EXPECT_EQ(copy.st_uid, Nobody);
    EXPECT_EQ(copy.st_gid, Nobody);
    EXPECT_EQ(copy.st_mode & 07777, 0640u);
    EXPECT_FALSE(fs::exists(CopyPath));
}

// A sparse file of hundreds of megabytes costs its copy only the data it
// holds; a dense one is copied piece by piece, and a stop asked for on the
// way gives the save up before the copy is whole, nothing changed.
TEST_F(InPlaceWrite, CopySkipsHolesAndStopsWhenAsked)
{
    constexpr off_t SparseBytes = off_t{256} << 20;
    WriteBytes(Path, OldText);
    ASSERT_EQ(::truncate(Path.c_str(), SparseBytes), 0);
    struct stat copy {};
    off_t largestCopyBlocks = 0;
    EXPECT_TRUE(WriteFileReplacing(Path, NewText, [&] {
                    if (::lstat(CopyPath.c_str(), &copy) == 0)
                        largestCopyBlocks = std::max<off_t>(largestCopyBlocks, copy.st_blocks);
                    return false;
                }).Ok());
    EXPECT_EQ(copy.st_size, SparseBytes);
    EXPECT_LT(largestCopyBlocks * 512, off_t{4} << 20);
    EXPECT_EQ(ReadBytes(folder.File("partner.tvu")), NewText);

    const std::string dense(16u << 20, 'd');
    WriteBytes(Path, dense);
    off_t copiedWhenStopped = -1;
    int asked = 0;
    const TFileResult stopped = WriteFileReplacing(Path, NewText, [&] {
        if (++asked < 3)
            return false;
        copiedWhenStopped = ::lstat(CopyPath.c_str(), &copy) == 0 ? copy.st_size : -1;
        return true;
    });
    EXPECT_EQ(stopped.ErrorText, SaveStoppedText);
    EXPECT_GE(copiedWhenStopped, 0);
    EXPECT_LT(copiedWhenStopped, static_cast<off_t>(dense.size()));
    EXPECT_EQ(ReadBytes(Path), dense);
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"partner.tvu", "set.tvu"}));
}

namespace {

struct TForeignCase {
    const char* Name;
    std::function<bool(const std::string& path, const std::string& victim)> Make;
    const char* What;
};

const TForeignCase ForeignCases[] = {
    {"LinkToAnotherFile",
     [](const std::string& path, const std::string& victim) { return ::symlink(victim.c_str(), path.c_str()) == 0; },
     "dowiązanie symboliczne"},
    {"Fifo", [](const std::string& path, const std::string&) { return ::mkfifo(path.c_str(), 0600) == 0; },
     "potok (FIFO)"},
    {"Folder", [](const std::string& path, const std::string&) { return ::mkdir(path.c_str(), 0700) == 0; }, "folder"},
    {"AnotherUsersFile",
     [](const std::string& path, const std::string&) {
         WriteBytes(path, "1; 1\r\n");
         return ::chown(path.c_str(), 65534, 65534) == 0;
     },
     "plik innego użytkownika"},
};

class ForeignCopyTable : public testing::TestWithParam<TForeignCase> {};

}  // namespace

// Whatever else lies at the copy's name is not Tovu's: it is left exactly
// as it is, the save refused with a text that says so.
TEST_P(ForeignCopyTable, EntryAtTheCopysNameIsLeftAloneAndNamed)
{
    const TForeignCase& c = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File("set.tvu");
    const std::string victim = folder.File("victim.tvu");
    const std::string copyPath = path + std::string(OldContentsMark);
    WriteBytes(path, "1; 1\r\n");
    WriteBytes(victim, "7; 7\r\n");
    fs::create_hard_link(path, folder.File("partner.tvu"));
    if (!c.Make(copyPath, victim))
        GTEST_SKIP() << "this kind of entry cannot be made here";
    struct stat before {};
    ASSERT_EQ(::lstat(copyPath.c_str(), &before), 0);

    const TFileResult result = WriteFileReplacing(path, "2; 2\r\n");
    EXPECT_EQ(result.ErrorText, "Pod nazwą kopii „" + copyPath + "” jest " + c.What +
                                    ", a nie kopia zapisana przez Tovu; program tego nie rusza, a pliku nie zapisał");
    struct stat after {};
    ASSERT_EQ(::lstat(copyPath.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(ReadBytes(path), "1; 1\r\n");
    EXPECT_EQ(ReadBytes(victim), "7; 7\r\n");
}

INSTANTIATE_TEST_SUITE_P(Rows, ForeignCopyTable, testing::ValuesIn(ForeignCases),
                         [](const testing::TestParamInfo<TForeignCase>& info) { return info.param.Name; });

// Names too long for the mark beside them share their start at most: each
// still gets a copy of its own, and one's leftover copy holds up no other.
TEST(OldContentsCopy, LongNamesGetCopiesOfTheirOwn)
{
    TScratchFolder folder;
    const std::string start(244, 'n');
    const std::string first = folder.File(start + "-first.tvu");
    const std::string second = folder.File(start + "-other.tvu");
    ASSERT_NE(OldContentsCopyName(first), OldContentsCopyName(second));
    int partners = 0;
    for (const std::string& name : {first, second}) {
        EXPECT_LE(OldContentsCopyName(name).size() - folder.Path.size() - 1, 255u);
        EXPECT_EQ(OldContentsCopyName(name).substr(0, folder.Path.size() + 1 + 200),
                  name.substr(0, folder.Path.size() + 1 + 200));
        WriteBytes(name, "1; 1\r\n");
        fs::create_hard_link(name, folder.File("partner" + std::to_string(++partners)));
    }
    WriteBytes(OldContentsCopyName(first), "0; 0\r\n");
    const TFileResult result = WriteFileReplacing(second, "2; 2\r\n");
    EXPECT_TRUE(result.Ok()) << result.ErrorText;
    EXPECT_EQ(ReadBytes(folder.File("partner2")), "2; 2\r\n");
    EXPECT_FALSE(WriteFileReplacing(first, "2; 2\r\n").Ok());
}

// A leftover copy holds up every save of its file until the user has
// looked, also once the file has a single name again and would be
// replaced rather than written in place.
TEST_F(InPlaceWrite, LeftoverCopyHoldsUpASaveOfTheFileWithOneName)
{
    fs::remove(folder.File("partner.tvu"));
    WriteBytes(CopyPath, "1; 1\r\n");
    const TFileResult result = WriteFileReplacing(Path, NewText);
    EXPECT_EQ(result.ErrorText, "Obok pliku została kopia z przerwanego zapisu: „" + CopyPath +
                                    "”; sprawdź ją i usuń, zanim zapiszesz ponownie");
    EXPECT_EQ(ReadBytes(Path), OldText);
}

// What the window offers after a crash: the old contents back in place,
// for every name of the file, and the copy gone.
TEST_F(InPlaceWrite, RestorePutsTheCopyBackForEveryName)
{
    WriteBytes(Path, NewText + OldText.substr(NewText.size()));
    WriteBytes(CopyPath, OldText);
    const TFileResult result = RestoreOldContents(Path);
    EXPECT_TRUE(result.Ok()) << result.ErrorText;
    EXPECT_TRUE(ReadBytes(Path) == OldText);
    EXPECT_TRUE(ReadBytes(folder.File("partner.tvu")) == OldText);
    EXPECT_EQ(folder.Entries(), std::set<std::string>({"partner.tvu", "set.tvu"}));
}
