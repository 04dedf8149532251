#include <gtest/gtest.h>

#include "core/random_source.h"

namespace {

struct ClockGuard {
    ~ClockGuard() { SetReseedClock({}); }
};

}  // namespace

TEST(RandomSource, FollowsTheLinearCongruentialRule)
{
    SetRandomState(0);
    const int32_t first = RandomBelow(1000);
    EXPECT_EQ(RandomState(), 1u);
    EXPECT_EQ(first, 0);
    const int32_t second = RandomBelow(1000);
    EXPECT_EQ(RandomState(), 134775814u);
    EXPECT_EQ(second, static_cast<int32_t>((134775814ull * 1000) >> 32));
}

TEST(RandomSource, WrapsModulo2To32AndStaysBelowN)
{
    SetRandomState(0xFFFFFFFFu);
    RandomBelow(10);
    EXPECT_EQ(RandomState(), static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
    for (int i = 0; i < 10000; ++i) {
        const int32_t value = RandomBelow(7);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 7);
    }
}

TEST(RandomSource, BelowZeroRangeIsZeroButStillAdvances)
{
    SetRandomState(5);
    EXPECT_EQ(RandomBelow(0), 0);
    EXPECT_EQ(RandomState(), 5u * 134775813u + 1u);
}

TEST(RandomSource, ReseedReadsTheInstalledClock)
{
    ClockGuard guard;
    SetReseedClock([] { return 12345u; });
    SetRandomState(99);
    ReseedFromClock();
    EXPECT_EQ(RandomState(), 12345u);
}

TEST(RandomSource, SystemClockGivesMillisecondsOfTheDay)
{
    ClockGuard guard;
    SetReseedClock({});
    ReseedFromClock();
    EXPECT_LT(RandomState(), 86400000u);
    EXPECT_LT(SystemTimeOfDayMs(), 86400000u);
}
