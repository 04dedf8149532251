#include <gtest/gtest.h>

#include <string>

#include "core/point_file.h"
#include "core/point_input.h"
#include "support/scratch_folder.h"

namespace {

std::string ManyNodes(int count, int commentLines = 0)
{
    std::string text = "NAME : big\nTYPE : TSP\nDIMENSION : " + std::to_string(count) + "\n";
    for (int i = 0; i < commentLines; ++i)
        text += "COMMENT : " + std::to_string(i) + "\n";
    text += "EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n";
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + " " + std::to_string(i % 97) + ".5 " + std::to_string(i % 89) + "\n";
    return text + "EOF\n";
}

std::string CsvPoints(int count)
{
    std::string text = "x,y\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + "," + std::to_string(2 * i) + "\n";
    return text;
}

}  // namespace

// The extension chooses the reader; the .tvu one stays the lenient reader.
TEST(PointInput, ReadsEachFormatByItsExtension)
{
    TScratchFolder folder;
    const struct {
        const char* name;
        std::string text;
        size_t points;
        int32_t rounded;
        size_t withoutNumbers;
        size_t unreadable;
        std::string error;
    } rows[] = {
        {"a.tvu", "1; 2\r\nabc\r\n\r\n12; x\r\n", 4, 0, 2, 1, ""},
        {"b.TSP", "NAME: b\nEDGE_WEIGHT_TYPE: EUC_2D\nDIMENSION: 2\nNODE_COORD_SECTION\n1 1.5 2\n2 3 4\n", 2, 1, 0, 0,
         ""},
        {"c.csv", "x,y\n1.5,2.5\n3,4\n", 2, 2, 0, 0, ""},
        {"d.tsp", ManyNodes(10000), 10000, 10000, 0, 0, ""},
        {"e.tsp", ManyNodes(10001), 0, 0, 0, 0, "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)"},
        // A TSPLIB set read by the .tvu rules would be points at (0, 0).
        {"f.txt", "NAME: f\nDIMENSION: 1\n", 2, 0, 2, 0, ""},
        // Points are counted, not lines; the byte limit still bounds the read.
        {"g.csv", CsvPoints(20) + std::string(11000, '\n'), 20, 0, 0, 0, ""},
        {"h.tsp", ManyNodes(10000, 1000), 10000, 10000, 0, 0, ""},
        {"i.csv", "1,2\n" + std::string(MaxPointTextBytes, '\n'), 0, 0, 0, 0,
         "Zbyt duży plik: wiersze zajmują ponad 64 MB (najwyżej 64 MB)"},
        {"j.tvu",
         "\xEF\xBB\xBF"
         "7; 8\r\n",
         1, 0, 0, 0, ""},
    };
    for (const auto& row : rows) {
        const std::string path = folder.File(row.name);
        WriteBytes(path, row.text);
        TPointArray points;
        TPointReadInfo info;
        const TFileResult result = ReadPointsAnyFormat(path, points, info);
        EXPECT_EQ(result.ErrorText, row.error) << row.name;
        EXPECT_EQ(points.size(), row.points) << row.name;
        EXPECT_EQ(info.RoundedCount, row.rounded) << row.name;
        EXPECT_EQ(info.LinesWithoutNumbers, row.withoutNumbers) << row.name;
        EXPECT_EQ(info.LinesWithUnreadableNumber, row.unreadable) << row.name;
    }
}

// One line for the status panel, each count that is not 0 in it, the
// question about the whole file last.
TEST(PointInput, ReadNoticeSaysEveryCountThatIsNotZero)
{
    EXPECT_EQ(ReadNoticeText({TPointFormat::Tvu, 0, 0, 0}), "");
    EXPECT_EQ(ReadNoticeText({TPointFormat::Csv, 3, 0, 0}), RoundedCoordinatesText(3));
    // A set that keeps the file's values is measured from them, whichever
    // format they came in.
    for (const TPointFormat format : {TPointFormat::Csv, TPointFormat::Tsplib})
        EXPECT_EQ(ReadNoticeText({format, 3, 0, 0, true}), RoundedOnMapText(3));
    EXPECT_EQ(ReadNoticeText({TPointFormat::Tvu, 0, 0, 1}), LinesWithUnreadableNumberText(1));
    EXPECT_EQ(ReadNoticeText({TPointFormat::Tvu, 0, 4, 2}),
              LinesWithUnreadableNumberText(2) + "; " + LinesWithoutNumbersText(4));
}
