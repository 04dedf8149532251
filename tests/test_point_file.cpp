#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/point_file.h"
#include "core/point_formats.h"
#include "core/point_set_ops.h"
#include "support/scripted_host.h"

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/tovu-test-XXXXXX";
        Path = ::mkdtemp(pattern);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::permissions(Path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Path, ignored);
    }
    std::string File(const std::string& name) const { return Path + "/" + name; }
    std::string Path;
};

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

struct TLineCase {
    const char* name;
    const char* line;
    int32_t x;
    int32_t y;
};

const TLineCase lineCases[] = {
    {"BlankAfterSemicolon", "120; 45", 120, 45}, {"NoBlank", "120;45", 120, 45},
    {"BlanksOnBothSides", "  -7;   9", -7, 9},   {"BlankBeforeSemicolonSpoilsX", "120 ; 45", 0, 45},
    {"NoSemicolonIsAllY", "45", 0, 45},          {"EmptyLine", "", 0, 0},
    {"SecondSemicolonSpoilsY", "1;2;3", 1, 0},   {"DecimalCommaSpoilsX", "1,5; 2", 0, 2},
    {"HexOnBothSides", "$10; 0x10", 16, 16},
};

class PointLineTable : public testing::TestWithParam<TLineCase> {};

}  // namespace

TEST_P(PointLineTable, LineYieldsItsPoint)
{
    const TLineCase& c = GetParam();
    const TPointArray points = ParsePointSet(std::string(c.line) + "\r\n");
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].X, c.x);
    EXPECT_EQ(points[0].Y, c.y);
    EXPECT_EQ(points[0].Next, -1);
}

INSTANTIATE_TEST_SUITE_P(Rows, PointLineTable, testing::ValuesIn(lineCases),
                         [](const testing::TestParamInfo<TLineCase>& info) { return info.param.name; });

TEST(PointFileFormat, WritesSemicolonBlankAndCrLfAfterEveryLine)
{
    const std::string text = FormatPointSet({{120, 45, 3}, {7, -3, -1}});
    EXPECT_EQ(text, "120; 45\r\n7; -3\r\n");
    EXPECT_EQ(text.size(), 16u);
    EXPECT_EQ(FormatPointSet({}), "");
}

TEST(PointFileLines, EveryLineEndCountsTheSame)
{
    const char* variants[] = {"1; 2\r\n3; 4\r\n", "1; 2\n3; 4\n", "1; 2\r3; 4\r", "1; 2\r\n3; 4"};
    for (const char* text : variants) {
        const TPointArray points = ParsePointSet(text);
        ASSERT_EQ(points.size(), 2u) << text;
        EXPECT_EQ(points[1].X, 3);
        EXPECT_EQ(points[1].Y, 4);
    }
}

TEST(PointFileLines, EmptyLinesInsideAndADoubledBreakAtTheEndArePoints)
{
    EXPECT_EQ(ParsePointSet("1; 2\r\n\r\n3; 4\r\n").size(), 3u);
    const TPointArray doubled = ParsePointSet("1; 2\r\n\r\n");
    ASSERT_EQ(doubled.size(), 2u);
    EXPECT_EQ(doubled[1].X, 0);
    EXPECT_EQ(doubled[1].Y, 0);
    EXPECT_EQ(ParsePointSet("\n").size(), 1u);
    EXPECT_TRUE(ParsePointSet("").empty());
}

TEST(PointFileLines, NulEndsTheText)
{
    const std::string text(
        "1; 2\r\n3; 4\0"
        "5; 6\r\n",
        17);
    const TPointArray points = ParsePointSet(text);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].Y, 4);
}

// Editors put a byte-order mark before the first line; it is no part of
// the first X. Only at the very start: anywhere else it is text.
TEST(PointFileLines, ByteOrderMarkAtTheStartIsSkipped)
{
    const TPointArray points = ParsePointSet(
        "\xEF\xBB\xBF"
        "12; 34\r\n"
        "\xEF\xBB\xBF"
        "5; 6\r\n");
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].X, 12);
    EXPECT_EQ(points[0].Y, 34);
    EXPECT_EQ(points[1].X, 0);
    EXPECT_EQ(points[1].Y, 6);
    EXPECT_TRUE(ParsePointSet("\xEF\xBB\xBF").empty());
    EXPECT_EQ(CountLinesWithoutNumbers("\xEF\xBB\xBF"
                                       "1; 2\r\n"),
              0u);
}

TEST(PointFileIo, SaveAndLoadRoundTripNegativeAndFarCoordinates)
{
    TempFolder folder;
    const std::string path = folder.File("set.tvu");
    TPointSetState saved;
    saved.FPoints = {{120, 45, 1}, {-7, -3, 2}, {INT32_MIN, INT32_MAX, -1}, {100000, -99999, 0}};
    saved.FModified = true;
    ASSERT_FALSE(SavePointSet(saved, path));
    EXPECT_FALSE(saved.FModified);
    EXPECT_EQ(saved.FFileName, path);

    TPointSetState loaded;
    loaded.FModified = true;
    ASSERT_FALSE(LoadPointSet(loaded, path));
    ASSERT_EQ(loaded.FPoints.size(), saved.FPoints.size());
    for (size_t i = 0; i < saved.FPoints.size(); ++i) {
        EXPECT_EQ(loaded.FPoints[i].X, saved.FPoints[i].X);
        EXPECT_EQ(loaded.FPoints[i].Y, saved.FPoints[i].Y);
        EXPECT_EQ(loaded.FPoints[i].Next, -1);
    }
    EXPECT_FALSE(loaded.FModified);
    EXPECT_EQ(loaded.FFileName, path);
}

// The save writes what the name's extension names, as the reader takes it
// back: a TSPLIB or CSV file saved over stays one.
TEST(PointFileIo, SaveWritesTheFormatItsExtensionNames)
{
    TempFolder folder;
    const struct {
        const char* name;
        const char* starts;
    } rows[] = {
        {"set.tsp", "NAME : set\n"}, {"set.TSP", "NAME : set\n"}, {"set.csv", "x,y\n"},
        {"set.tvu", "1; -2\r\n"},    {"set.txt", "1; -2\r\n"},    {"set", "1; -2\r\n"},
    };
    for (const auto& row : rows) {
        const std::string path = folder.File(row.name);
        TPointSetState saved;
        saved.FPoints = {{1, -2, 1}, {30000, 7, -1}};
        ASSERT_FALSE(SavePointSet(saved, path)) << row.name;
        EXPECT_EQ(ReadBytes(path).rfind(row.starts, 0), 0u) << row.name;
        TPointSetState loaded;
        ASSERT_FALSE(LoadPointSet(loaded, path)) << row.name;
        ASSERT_EQ(loaded.FPoints.size(), 2u) << row.name;
        EXPECT_TRUE(loaded.FPoints[1].X == 30000 && loaded.FPoints[1].Y == 7) << row.name;
    }
}

TEST(PointFileIo, EmptySetIsAnEmptyFileAndBack)
{
    TempFolder folder;
    const std::string path = folder.File("empty.tvu");
    TPointSetState state;
    ASSERT_FALSE(SavePointSet(state, path));
    EXPECT_EQ(fs::file_size(path), 0u);
    state.FPoints = {{1, 1, -1}};
    ASSERT_FALSE(LoadPointSet(state, path));
    EXPECT_TRUE(state.FPoints.empty());
    EXPECT_EQ(state.FFileName, path);
}

TEST(PointFileIo, MissingFileReportsAndLeavesTheSetUntouched)
{
    TempFolder folder;
    TPointSetState state;
    state.FPoints = {{5, 6, -1}};
    state.FFileName = "old.tvu";
    state.FModified = true;
    const TOperationResult failure = LoadPointSet(state, folder.File("missing.tvu"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Caption, "Błąd odczytu");
    EXPECT_EQ(failure->Text, SystemErrorText(ENOENT));
    EXPECT_EQ(state.FPoints.size(), 1u);
    EXPECT_EQ(state.FFileName, "old.tvu");
    EXPECT_TRUE(state.FModified);
}

TEST(PointFileIo, TooManyPointsAreRefusedWithTheirCount)
{
    TempFolder folder;
    const std::string path = folder.File("big.tvu");
    std::string text;
    for (int i = 0; i <= MaxPoints; ++i)
        text += "1; 1\r\n";
    WriteBytes(path, text);
    TPointSetState state;
    state.FPoints = {{5, 6, -1}};
    const TOperationResult failure = LoadPointSet(state, path);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Caption, "Błąd odczytu");
    EXPECT_EQ(failure->Text, "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)");
    EXPECT_EQ(state.FPoints.size(), 1u);
}

TEST(PointFileIo, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    TempFolder folder;
    const std::string path = folder.File("keep.tvu");
    WriteBytes(path, "1; 2\r\n");
    fs::permissions(folder.Path, fs::perms::owner_read | fs::perms::owner_exec);
    TPointSetState state;
    state.FPoints = {{9, 9, -1}};
    state.FModified = true;
    EXPECT_TRUE(SavePointSet(state, path));
    fs::permissions(folder.Path, fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(path), "1; 2\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path), fs::directory_iterator()), 1);
    EXPECT_TRUE(state.FModified);
}

TEST(PointFileIo, WriteFailureHalfWayKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.File("keep.tvu");
    WriteBytes(path, "1; 2\r\n");
    TPointSetState state;
    state.FPoints.assign(1000, {123456, 654321, -1});

    // A file-size limit makes the write fail after the first bytes, as a
    // full disk would.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const TOperationResult failure = SavePointSet(state, path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Caption, "Błąd zapisu");
    EXPECT_EQ(failure->Text, SystemErrorText(EFBIG));
    EXPECT_EQ(ReadBytes(path), "1; 2\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path), fs::directory_iterator()), 1);
}

TEST(PointFileIo, SavingOntoAFolderFailsAndChangesNothing)
{
    TempFolder folder;
    const std::string target = folder.File("dir.tvu");
    fs::create_directory(target);
    TPointSetState state;
    state.FPoints = {{9, 9, -1}};
    state.FModified = true;
    const TOperationResult failure = SavePointSet(state, target);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Caption, "Błąd zapisu");
    EXPECT_FALSE(failure->Text.empty());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_TRUE(state.FModified);
    EXPECT_TRUE(state.FFileName.empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path), fs::directory_iterator()), 1);
}

TEST(PointFileIo, SaveReplacesAnExistingFileWhole)
{
    TempFolder folder;
    const std::string path = folder.File("replace.tvu");
    WriteBytes(path, "1; 2\r\n3; 4\r\n5; 6\r\n");
    TPointSetState state;
    state.FPoints = {{7, 8, -1}};
    ASSERT_FALSE(SavePointSet(state, path));
    EXPECT_EQ(ReadBytes(path), "7; 8\r\n");
}

TEST(SystemErrorText, DropsTrailingPeriodsAndBreaks)
{
    const std::string text = SystemErrorText(ENOENT);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), ' ');
}
