#include <gtest/gtest.h>

#include "core/typed_point.h"

namespace {

TEST(TypedPointTest, TwoNumbersAndOneSemicolonOrNothing)
{
    const struct {
        const char* Typed;
        bool Reads;
        int32_t X;
        int32_t Y;
    } rows[] = {
        {"120; 45", true, 120, 45},
        {"120;45", true, 120, 45},
        {" \t-7 ;\t9 ", true, -7, 9},
        {"$10; 0x10", true, 16, 16},
        {"+3; 012", true, 3, 12},
        {"-2147483648; 2147483647", true, -2147483648, 2147483647},
        {"2147483648; 0", false, 0, 0},
        {"abc", false, 0, 0},
        {"100 200", false, 0, 0},
        {"1,5; 2,5", false, 0, 0},
        {"12; abc", false, 0, 0},
        {"7", false, 0, 0},
        {"5;", false, 0, 0},
        {"; 5", false, 0, 0},
        {"1;2;3", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const auto& row : rows) {
        const std::optional<TMapPoint> point = ParseTypedPoint(row.Typed);
        ASSERT_EQ(point.has_value(), row.Reads) << row.Typed;
        if (point) {
            EXPECT_TRUE(point->X == row.X && point->Y == row.Y && point->Next == -1) << row.Typed;
        }
    }
}

}  // namespace
