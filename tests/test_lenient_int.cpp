#include <gtest/gtest.h>

#include "core/lenient_int.h"

namespace {

struct TLenientCase {
    const char* name;
    const char* text;
    int32_t expected;
};

const TLenientCase lenientCases[] = {
    {"PlainDecimal", "120", 120},
    {"LeadingBlanksSkipped", "   9", 9},
    {"NegativeDecimal", "-7", -7},
    {"PlusSign", "+15", 15},
    {"LeadingZeroIsDecimal", "012", 12},
    {"DollarHex", "$10", 16},
    {"ZeroXHex", "0x10", 16},
    {"UpperZeroXHex", "0X1f", 31},
    {"BareXHex", "x1F", 31},
    {"EightFIsMinusOne", "$FFFFFFFF", -1},
    {"HexNeedingMoreThan32BitsIsDefault", "$100000000", 0},
    {"SmallestIntAccepted", "-2147483648", INT32_MIN},
    {"LargestIntAccepted", "2147483647", INT32_MAX},
    {"OverflowIsDefault", "2147483648", 0},
    {"UnderflowIsDefault", "-2147483649", 0},
    {"TrailingBlankIsDefault", "120 ", 0},
    {"TabIsNotABlank", "\t5", 0},
    {"EmptyIsDefault", "", 0},
    {"BlanksOnlyIsDefault", "   ", 0},
    {"SignWithoutDigitsIsDefault", "-", 0},
    {"PrefixWithoutDigitsIsDefault", "$", 0},
    {"SignBeforeHexIsDefault", "-$10", 0},
    {"DecimalCommaIsDefault", "1,5", 0},
    {"DecimalPointIsDefault", "1.5", 0},
    {"SecondSemicolonIsDefault", "2;3", 0},
    {"LettersAreDefault", "abc", 0},
    {"HugeDigitRunIsDefault", "99999999999999999999999", 0},
};

class LenientIntTable : public testing::TestWithParam<TLenientCase> {};

}  // namespace

TEST_P(LenientIntTable, ConvertsAsTheRuleSays)
{
    const TLenientCase& c = GetParam();
    EXPECT_EQ(LenientInt(c.text, 0), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(Rows, LenientIntTable, testing::ValuesIn(lenientCases),
                         [](const testing::TestParamInfo<TLenientCase>& info) { return info.param.name; });

TEST(LenientInt, UnreadableTextGivesTheCallersDefault)
{
    EXPECT_EQ(LenientInt("abc", -1), -1);
    EXPECT_EQ(LenientInt("", 42), 42);
    EXPECT_EQ(LenientInt("0", 42), 0);
}
