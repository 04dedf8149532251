#include <gtest/gtest.h>

#include <string>

#include "core/point_text.h"
#include "core/printable_text.h"

namespace {

struct TPrintableCase {
    const char* Name;
    std::string Text;
    std::string Shown;
};

// What a terminal would obey or break a line at shows as \xNN, byte by byte;
// Polish letters and other whole characters stay as they are.
const TPrintableCase PrintableCases[] = {
    {"PlainText", "zbiór-łąka 1.tvu", "zbiór-łąka 1.tvu"},
    {"TitleSequence", "\x1b]0;pwned\x07", "\\x1b]0;pwned\\x07"},
    {"ColourSequence", "a\x1b[31mb", "a\\x1b[31mb"},
    {"LineBreaks", "a\nb\r\tc", "a\\x0ab\\x0d\\x09c"},
    {"Nul", std::string("a\0b", 3), "a\\x00b"},
    {"Delete", "a\x7f", "a\\x7f"},
    {"C1CsiAsUtf8",
     "a\xc2\x9b"
     "31m",
     "a\\xc2\\x9b31m"},
    {"LoneC1Byte",
     "a\x9b"
     "31m",
     "a\\x9b31m"},
    {"CutCharacter", "\xc5", "\\xc5"},
    {"OverlongSlash", "\xc0\xaf", "\\xc0\\xaf"},
    {"Surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
    {"NoBreakSpaceStays",
     "1\xc2\xa0"
     "234",
     "1\xc2\xa0"
     "234"},
    {"FourByteCharacterStays", "\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
    {"BackslashStays", "a\\x1b", "a\\x1b"},
};

class PrintableTable : public testing::TestWithParam<TPrintableCase> {};

}  // namespace

TEST_P(PrintableTable, ControlCharactersAndBrokenBytesShowEscaped)
{
    const TPrintableCase& c = GetParam();
    EXPECT_EQ(PrintableText(c.Text), c.Shown);
    // Shown once, it stays as it is: a message may pass through twice.
    EXPECT_EQ(PrintableText(c.Shown), c.Shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, PrintableTable, testing::ValuesIn(PrintableCases),
                         [](const testing::TestParamInfo<TPrintableCase>& info) { return info.param.Name; });

TEST(PrintableText, QuotedTextsFromFilesAreEscapedAfterTheCut)
{
    EXPECT_EQ(QuotedName("a\nb.tvu"), "„a\\x0ab.tvu”");
    EXPECT_EQ(QuotedExcerpt("\x1b[2J"), "„\\x1b[2J”");
    // The cut counts the file's bytes, not the escapes.
    EXPECT_EQ(QuotedExcerpt(std::string(39, 'x') + "\x1b" + "yyyy"), "„" + std::string(39, 'x') + "\\x1b…”");
}
