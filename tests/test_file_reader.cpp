#include <gtest/gtest.h>

#include <functional>

#include "core/file_reader.h"
#include "core/point_file.h"
#include "support/scratch_folder.h"

namespace {

// The reader's chunk: the cases put line ends and NULs on its edges.
constexpr size_t Chunk = 65536;

// Blanks, then tail, length bytes in all: a line the reader reads as tail.
std::string Padded(size_t length, const std::string& tail)
{
    return std::string(length - tail.size(), ' ') + tail;
}

std::string Repeated(const std::string& line, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += line;
    return text;
}

const std::string Nul(1, '\0');

struct TReadCase {
    const char* name;
    std::function<std::string()> text;
    // Empty: the file loads as the whole-text parser reads it.
    const char* refusal;
};

const TReadCase readCases[] = {
    {"CrLastInChunkLfFirstInNext", [] { return Padded(Chunk - 1, "7") + "\r\n8; 9\r\n"; }, ""},
    {"CrLastInChunkThenText", [] { return Padded(Chunk - 1, "7") + "\r8; 9"; }, ""},
    {"TwoCrsAcrossTheEdge", [] { return Padded(Chunk - 1, "7") + "\r\r"; }, ""},
    {"NulLastInChunk", [] { return Padded(Chunk - 1, "7") + Nul + "8; 9\r\n"; }, ""},
    {"NulFirstInNextChunk", [] { return Padded(Chunk, "7") + Nul + "8; 9\r\n"; }, ""},
    {"NulBeforeMegabytesOfLines", [] { return "1; 2\r\n" + Nul + Repeated("\n", 3000000); }, ""},
    {"LongLineOfLeadingBlanks", [] { return Padded(5 * Chunk + 123, "12; 34") + "\r\n5; 6"; }, ""},
    {"ExactlyMaxPointsLines", [] { return Repeated("1; 1\r\n", MaxPoints); }, ""},
    // Counted as two line ends, the CR LF on the edge would make one line too many.
    {"MaxPointsWithCrLfAcrossTheEdge",
     [] { return Padded(Chunk - 1, "7") + "\r\n" + Repeated("1; 1\r\n", MaxPoints - 1); }, ""},
    {"OneLineTooMany", [] { return Repeated("1; 1\r\n", MaxPoints + 1); },
     "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)"},
    {"FileReadWholeIsCountedExactly", [] { return Repeated("\n", 20000); },
     "Zbyt wiele punktów w pliku: 20000 (najwyżej 10000)"},
    {"NulEndsTheCountPastTheLimit", [] { return Repeated("\n", 10005) + Nul + Repeated("\n", 500000); },
     "Zbyt wiele punktów w pliku: 10005 (najwyżej 10000)"},
    {"LinesBeyondWhatWasReadAreNotCounted", [] { return Repeated("1; 1\r\n", 300000); },
     "Zbyt wiele punktów w pliku: ponad 10000 (najwyżej 10000)"},
    {"TextOfExactlyTheMemoryLimit", [] { return Padded(MaxPointTextBytes, "5"); }, ""},
    {"TextOverTheMemoryLimit", [] { return Padded(MaxPointTextBytes + 1, "5"); },
     "Zbyt duży plik: wiersze zajmują ponad 64 MB (najwyżej 64 MB)"},
};

class BoundedReadTable : public testing::TestWithParam<TReadCase> {};

struct TKindCase {
    const char* name;
    std::function<bool(const std::string&)> make;
    // Empty: the entry reads as an empty set.
    const char* refusal;
};

const TKindCase kindCases[] = {
    {"Folder", [](const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0; }, FolderText},
    {"FifoWithoutWriter", [](const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }, FifoText},
    {"Socket", MakeSocket, SocketText},
    // The kernel log: a reader that opened it would wait at its end.
    {"KernelLogCopy", [](const std::string& path) { return MakeDevice(path, S_IFCHR, 1, 11); }, DeviceText},
    {"BlockDeviceCopy", [](const std::string& path) { return MakeDevice(path, S_IFBLK, 7, 0); }, DeviceText},
    {"NullDeviceCopy", [](const std::string& path) { return MakeDevice(path, S_IFCHR, 1, 3); }, ""},
};

class FileKindTable : public testing::TestWithParam<TKindCase> {};

}  // namespace

TEST_P(BoundedReadTable, FileReadsAsTheWholeTextOrIsRefused)
{
    const TReadCase& c = GetParam();
    TScratchFolder folder;
    const std::string text = c.text();
    WriteBytes(folder.File("set.tvu"), text);
    TPointArray points = {{5, 6, -1}};
    const TFileResult result = ReadPointSetFile(folder.File("set.tvu"), points);
    const TPointArray expected = *c.refusal ? TPointArray{{5, 6, -1}} : ParsePointSet(text);
    EXPECT_EQ(result.ErrorText, c.refusal);
    ASSERT_EQ(points.size(), expected.size());
    for (size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].X, expected[i].X) << "point " << i;
        EXPECT_EQ(points[i].Y, expected[i].Y) << "point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, BoundedReadTable, testing::ValuesIn(readCases),
                         [](const testing::TestParamInfo<TReadCase>& info) { return info.param.name; });

TEST_P(FileKindTable, EntryIsRefusedWithoutWaitingOrReadsEmpty)
{
    const TKindCase& c = GetParam();
    TScratchFolder folder;
    if (!c.make(folder.File("entry.tvu")))
        GTEST_SKIP() << "this kind of entry cannot be made here";
    // A reader that waited for a writer or a device would end the test here.
    ::alarm(20);
    TPointArray points = {{1, 2, -1}};
    EXPECT_EQ(ReadPointSetFile(folder.File("entry.tvu"), points).ErrorText, c.refusal);
    EXPECT_EQ(points.size(), *c.refusal ? 1u : 0u);
    ::alarm(0);
}

INSTANTIATE_TEST_SUITE_P(Rows, FileKindTable, testing::ValuesIn(kindCases),
                         [](const testing::TestParamInfo<TKindCase>& info) { return info.param.name; });

// However a text is cut into pieces, the count equals the whole-text
// splitter's: every two cuts of every short text of the telling bytes.
TEST(LineCounter, EveryCutCountsAsTheWholeText)
{
    const char alphabet[] = {'a', '\r', '\n', ';'};
    for (int length = 0, combinations = 1; length <= 6; ++length, combinations *= 4) {
        for (int code = 0; code < combinations; ++code) {
            std::string text;
            for (int i = 0, rest = code; i < length; ++i, rest /= 4)
                text += alphabet[rest % 4];
            const std::string_view whole(text);
            for (size_t first = 0; first <= text.size(); ++first) {
                for (size_t second = first; second <= text.size(); ++second) {
                    TLineCounter counter;
                    counter.Feed(whole.substr(0, first));
                    counter.Feed(whole.substr(first, second - first));
                    counter.Feed(whole.substr(second));
                    ASSERT_EQ(counter.Lines(), SplitPointFileLines(text).size()) << first << ", " << second;
                }
            }
        }
    }
}

TEST(PointFileKinds, DevZeroReadsAsAnEmptySetAtOnce)
{
    TPointArray points = {{1, 2, -1}};
    EXPECT_TRUE(ReadPointSetFile("/dev/zero", points).Ok());
    EXPECT_TRUE(points.empty());
}

TEST(PointFileKinds, DevStdinIsStandardInputEvenAPipe)
{
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const std::string text = "1; 2\r\n3; 4";
    ASSERT_EQ(::write(pipeEnds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(pipeEnds[1]);
    const int savedStdin = ::dup(STDIN_FILENO);
    ::dup2(pipeEnds[0], STDIN_FILENO);
    ::close(pipeEnds[0]);
    TPointArray points;
    const TFileResult result = ReadPointSetFile("/dev/stdin", points);
    ::dup2(savedStdin, STDIN_FILENO);
    ::close(savedStdin);
    EXPECT_TRUE(result.Ok()) << result.ErrorText;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].X, 3);
    EXPECT_EQ(points[1].Y, 4);
}
