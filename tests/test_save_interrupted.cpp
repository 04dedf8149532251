#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/point_file.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string SetText(int points, int32_t value)
{
    TPointArray set(static_cast<size_t>(points), TMapPoint{value, -value, -1});
    return FormatPointSet(set);
}

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
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
