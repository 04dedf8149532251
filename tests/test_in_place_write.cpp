// A file with other hard links is written in place: the writers take turns
// under a lock, and the old contents wait beside it until the new ones are
// whole, so neither two writers nor a crash leave a mixture.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <csignal>
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
