#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "scripted_host.h"
#include "search/step_pacer.h"

namespace {

using TClock = std::chrono::steady_clock;

}  // namespace

TEST(StepPacer, EveryStepModeRunsEventsAfterEachStep)
{
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    host.Bar.SetMax(100);
    TStepPacer pacer(host, true);
    EXPECT_TRUE(pacer.Step());
    EXPECT_TRUE(pacer.StepBy(4));
    EXPECT_EQ(host.EventPasses, 5);
    EXPECT_EQ(host.Bar.Position(), 5);
    EXPECT_TRUE(pacer.Poll());
    EXPECT_EQ(host.EventPasses, 6);
    EXPECT_EQ(host.Bar.Position(), 5);
}

TEST(StepPacer, EveryStepModeStopsRightAfterTheStepThatSawTheStop)
{
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    host.Bar.SetMax(100);
    host.Arm();
    host.StopAfterSteps = 7;
    TStepPacer pacer(host, true);
    EXPECT_TRUE(pacer.StepBy(5));
    EXPECT_FALSE(pacer.StepBy(10));
    EXPECT_EQ(host.Bar.Position(), 7);
    EXPECT_EQ(pacer.StepsDone(), 7);
    EXPECT_EQ(host.EventPasses, 7);
}

// The flag only changes while events run, so a cleared flag goes unseen
// until the next pass, and steps are counted, not shown, until the bar is
// brought up to date.
TEST(StepPacer, PacedStepsWaitForThePassOfEvents)
{
    TPointSetState state;
    state.FSearching = false;
    TScriptedHost host(state);
    host.Bar.SetMax(1000000);
    TStepPacer pacer(host);
    const TClock::time_point start = TClock::now();
    int64_t steps = 0;
    bool goOn = true;
    while (goOn && TClock::now() - start < std::chrono::seconds(5)) {
        goOn = pacer.Step();
        ++steps;
        if (host.EventPasses == 0) {
            EXPECT_TRUE(goOn);
        }
    }
    EXPECT_FALSE(goOn);
    EXPECT_EQ(host.EventPasses, 1);
    EXPECT_GE(TClock::now() - start, std::chrono::milliseconds(16));
    pacer.Flush();
    EXPECT_EQ(host.Bar.Position(), steps);
    EXPECT_EQ(pacer.StepsDone(), steps);
}

TEST(StepPacer, FlushBringsTheBarUpToDateWithoutEvents)
{
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    host.Bar.SetMax(1000);
    TStepPacer pacer(host);
    for (int i = 0; i < 3; ++i)
        pacer.StepBy(100);
    pacer.Flush();
    EXPECT_EQ(host.Bar.Position(), 300);
    EXPECT_EQ(host.EventPasses, 0);
}

TEST(StepPacer, BarStartsOverPastItsMaximum)
{
    const struct {
        int32_t maximum;
        int32_t start;
        int64_t steps;
        int32_t expected;
    } rows[] = {
        {10, 0, 10, 10},
        {10, 0, 11, 0},
        {10, 8, 7, 4},
        {10, 0, 11 * 5 + 3, 3},
        {0, 0, 12345, 0},
        {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max() - 2, 5, 2},
    };
    for (const auto& row : rows) {
        TPointSetState state;
        TScriptedHost host(state);
        host.Bar.SetMax(row.maximum);
        host.Bar.SetPosition(row.start);
        TStepPacer pacer(host);
        pacer.StepBy(row.steps);
        pacer.Flush();
        EXPECT_EQ(host.Bar.Position(), row.expected) << "max " << row.maximum << ", steps " << row.steps;
    }
}

TEST(StepPacer, HookRunsJustBeforeEachPassOfEvents)
{
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    host.Bar.SetMax(10);
    TStepPacer pacer(host, true);
    std::vector<int64_t> passesSeen;
    pacer.SetBeforePump([&] { passesSeen.push_back(host.EventPasses); });
    pacer.Step();
    pacer.Step();
    EXPECT_EQ(passesSeen, std::vector<int64_t>({0, 1}));
    EXPECT_EQ(pacer.Pumps(), 2);
}
