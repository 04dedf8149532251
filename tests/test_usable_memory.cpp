#include <gtest/gtest.h>

#include "core/usable_memory.h"

TEST(ControlGroup, RoomIsTheLimitLessTheUse)
{
    const struct {
        const char* limit;
        const char* usage;
        uint64_t room;
    } rows[] = {
        {"max\n", "123\n", UINT64_MAX}, {"1000000\n", "250000\n", 750000},
        {"1000\n", "5000\n", 0},        {"9223372036854771712\n", "10\n", UINT64_MAX},
        {"", "", UINT64_MAX},           {"12abc\n", "1\n", UINT64_MAX},
        {"4096\n", "", 4096},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ControlGroupRoom(row.limit, row.usage), row.room) << row.limit << "/" << row.usage;
}
