#include <gtest/gtest.h>

#include <clocale>

#include "core/number_text.h"

namespace {

const TNumberFormat polish{",", " "};

}  // namespace

TEST(FormatNumber, GroupsEveryThreeDigitsWithTwoDecimals)
{
    EXPECT_EQ(FormatNumber(5.0, 2, polish), "5,00");
    EXPECT_EQ(FormatNumber(0.0, 2, polish), "0,00");
    EXPECT_EQ(FormatNumber(1234.5, 2, polish), "1 234,50");
    EXPECT_EQ(FormatNumber(999.994, 2, polish), "999,99");
    EXPECT_EQ(FormatNumber(999.995001, 2, polish), "1 000,00");
    EXPECT_EQ(FormatNumber(1234567.891, 2, polish), "1 234 567,89");
    EXPECT_EQ(FormatNumber(-1234.5, 2, polish), "-1 234,50");
}

TEST(FormatNumber, ExactHalvesRoundAwayFromZero)
{
    EXPECT_EQ(FormatNumber(0.125, 2, polish), "0,13");
    EXPECT_EQ(FormatNumber(2.375, 2, polish), "2,38");
    // 2.675 is stored just below the half and stays below it.
    EXPECT_EQ(FormatNumber(2.675, 2, polish), "2,67");
}

TEST(FormatNumber, TakesSeparatorsFromTheFormat)
{
    const TNumberFormat english{".", ","};
    EXPECT_EQ(FormatNumber(1234.5, 2, english), "1,234.50");
    EXPECT_EQ(FormatNumber(1234.5, 0, english), "1,235");
}

TEST(FormatFixed2, HasNoThousandsSeparator)
{
    EXPECT_EQ(FormatFixed2(1234.5, polish), "1234,50");
    EXPECT_EQ(FormatFixed2(5.0, polish), "5,00");
    EXPECT_EQ(FormatFixed2(0.004, polish), "0,00");
}

TEST(FormatPermutationCount, FollowsTheLabelTable)
{
    const struct {
        int32_t points;
        const char* text;
    } rows[] = {
        {0, "1"},
        {1, "1"},
        {4, "24"},
        {10, "3 628 800"},
        {19, "121 645 100 408 832 000"},
        {20, "2,43290200817664E18"},
        {21, "5,109094217170944E19"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatPermutationCount(row.points, polish), row.text) << row.points << " points";
}

TEST(FormatPermutationCount, StaysReadableBeyondTheIntegerRange)
{
    const std::string text = FormatPermutationCount(100, polish);
    EXPECT_EQ(text.substr(0, 2), "9,");
    EXPECT_EQ(text.substr(text.size() - 4), "E157");
}

TEST(FormatPermutationCount, KeepsItsFormBeyondTheExtendedRange)
{
    // Leading digits and exponents of the exact factorials.
    const struct {
        int32_t points;
        const char* leading;
        const char* exponent;
    } rows[] = {
        {1754, "1,97926189010", "E4930"},
        {1755, "3,47360461713", "E4933"},
        {5000, "4,22857792660", "E16325"},
        {10000, "2,84625968091", "E35659"},
    };
    for (const auto& row : rows) {
        const std::string text = FormatPermutationCount(row.points, polish);
        EXPECT_EQ(text.substr(0, std::string(row.leading).size()), row.leading) << text;
        EXPECT_EQ(text.substr(text.find('E')), row.exponent) << text;
    }
}

// The window runs with the user's LC_NUMERIC; the texts follow the format
// given, whatever decimal point the C library writes.
TEST(FormatPermutationCount, IgnoresTheCLibrarysDecimalPoint)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "pl_PL.UTF-8"))
        GTEST_SKIP() << "no Polish locale";
    TNumberFormat dot;
    dot.DecimalSeparator = ".";
    const std::string twenty = FormatPermutationCount(20, dot);
    const std::string big = FormatPermutationCount(5000, dot);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(twenty, "2.43290200817664E18");
    EXPECT_EQ(big.substr(0, 6), "4.2285");
}

// The window's count: whole while it has up to 18 digits, then three
// significant digits and a power of ten, never "E".
TEST(PermutationCountText, WritesLargeCountsAsAPowerOfTen)
{
    const struct {
        int32_t points;
        const char* text;
    } rows[] = {
        {10, "3 628 800"},
        {19, "121 645 100 408 832 000"},
        {20, "2,43 \u00b7 10\u00b9\u2078"},
        {21, "5,11 \u00b7 10\u00b9\u2079"},
        {25, "1,55 \u00b7 10\u00b2\u2075"},
        {100, "9,33 \u00b7 10\u00b9\u2075\u2077"},
        {1755, "3,47 \u00b7 10\u2074\u2079\u00b3\u00b3"},
        {10000, "2,85 \u00b7 10\u00b3\u2075\u2076\u2075\u2079"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PermutationCountText(row.points, polish), row.text) << row.points << " points";
}

TEST(FormatElapsedTime, WritesHoursMinutesSecondsAndDropsTheZone)
{
    EXPECT_EQ(FormatElapsedTime(0, "HH:mm:ss t"), "00:00:00");
    EXPECT_EQ(FormatElapsedTime(3723999, "HH:mm:ss t"), "01:02:03");
    EXPECT_EQ(FormatElapsedTime(3723000, "h:mm:ss AP t"), "1:02:03 AM");
    EXPECT_EQ(FormatElapsedTime(86400000 + 5000, "HH:mm:ss"), "00:00:05");
}
