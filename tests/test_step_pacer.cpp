#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "search/pace/step_pacer.h"
#include "support/scripted_host.h"

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

// A pacer clock that the test moves on, one step's worth at a time.
struct TScriptedPacerClock {
    TScriptedPacerClock()
    {
        SetPacerClock([this] { return Now; });
    }
    ~TScriptedPacerClock() { SetPacerClock({}); }
    TClock::time_point Now{};
};

// The flag only changes while events run, so a cleared flag goes unseen
// until the next pass, and steps are counted, not shown, until the bar is
// brought up to date for that pass.
TEST(StepPacer, PacedStepsWaitForThePassOfEvents)
{
    TScriptedPacerClock clock;
    TPointSetState state;
    state.FSearching = false;
    TScriptedHost host(state);
    host.Bar.SetMax(1000000);
    int64_t barAtPass = -1;
    host.OnEvents = [&] { barAtPass = host.Bar.Position(); };
    TStepPacer pacer(host);
    const TClock::time_point start = clock.Now;
    int64_t steps = 0;
    bool goOn = true;
    while (goOn && steps < 10000000) {
        clock.Now += std::chrono::microseconds(3);
        goOn = pacer.Step();
        ++steps;
        if (host.EventPasses == 0) {
            EXPECT_TRUE(goOn);
            EXPECT_EQ(host.Bar.Position(), 0);
        }
    }
    EXPECT_FALSE(goOn);
    EXPECT_EQ(host.EventPasses, 1);
    EXPECT_EQ(barAtPass, steps);
    EXPECT_GE(clock.Now - start, std::chrono::milliseconds(16));
    EXPECT_LT(clock.Now - start, std::chrono::milliseconds(33));
}

// Whatever one step costs, events come round every 16 to 33 ms.
TEST(StepPacer, EventsRunEvery16To33Milliseconds)
{
    for (int tickUs : {1, 37, 250, 1000, 5000}) {
        TScriptedPacerClock clock;
        TPointSetState state;
        state.FSearching = true;
        TScriptedHost host(state);
        host.Bar.SetMax(100000000);
        std::vector<TClock::time_point> passes;
        host.OnEvents = [&] { passes.push_back(clock.Now); };
        TStepPacer pacer(host);
        while (passes.size() < 30) {
            clock.Now += std::chrono::microseconds(tickUs);
            pacer.StepBy(3);
        }
        for (size_t i = 1; i < passes.size(); ++i) {
            const auto gap = passes[i] - passes[i - 1];
            EXPECT_GE(gap, std::chrono::milliseconds(16)) << "tick " << tickUs << " us, pass " << i;
            EXPECT_LE(gap, std::chrono::milliseconds(33)) << "tick " << tickUs << " us, pass " << i;
        }
    }
}

// After thousands of cheap steps the countdown runs long; when the work
// per step grows, recalibrating keeps the events on time.
TEST(StepPacer, RecalibrateKeepsEventsOnTimeWhenStepsGrowDearer)
{
    TScriptedPacerClock clock;
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    std::vector<TClock::time_point> passes;
    host.OnEvents = [&] { passes.push_back(clock.Now); };
    TStepPacer pacer(host);
    for (int i = 0; i < 50000; ++i) {
        clock.Now += std::chrono::microseconds(1);
        pacer.Poll();
    }
    pacer.Recalibrate();
    passes.clear();
    const TClock::time_point dearFrom = clock.Now;
    while (passes.size() < 5) {
        clock.Now += std::chrono::milliseconds(3);
        pacer.Poll();
    }
    EXPECT_LE(passes[0] - dearFrom, std::chrono::milliseconds(33));
    for (size_t i = 1; i < passes.size(); ++i)
        EXPECT_LE(passes[i] - passes[i - 1], std::chrono::milliseconds(33));
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
        {10, 0, 10, 10},  {10, 0, 11, 0},
        {10, 8, 7, 4},    {10, 0, 11 * 5 + 3, 3},
        {0, 0, 12345, 0}, {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max() - 2, 5, 2},
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

// After thousands of cheap steps the countdown runs long; dear work that
// reports its weight keeps the events on time without recalibrating.
TEST(StepPacer, WeighedWorkKeepsEventsOnTimeAfterCheapSteps)
{
    TScriptedPacerClock clock;
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    host.Bar.SetMax(100000000);
    std::vector<TClock::time_point> passes;
    host.OnEvents = [&] { passes.push_back(clock.Now); };
    TStepPacer pacer(host);
    for (int i = 0; i < 50000; ++i) {
        clock.Now += std::chrono::microseconds(1);
        pacer.Step();
    }
    passes.clear();
    const TClock::time_point dearFrom = clock.Now;
    while (passes.size() < 5) {
        // Two milliseconds of work, as much as two thousand cheap steps.
        clock.Now += std::chrono::milliseconds(2);
        pacer.Weigh(2000);
        pacer.Step();
    }
    EXPECT_LE(passes[0] - dearFrom, std::chrono::milliseconds(33));
    for (size_t i = 1; i < passes.size(); ++i)
        EXPECT_LE(passes[i] - passes[i - 1], std::chrono::milliseconds(33));
}

TEST(StepPacer, WeighRunsNoEventsBeforeTheFirstStepNorWhereEveryStepHasThem)
{
    TScriptedPacerClock clock;
    TPointSetState state;
    state.FSearching = true;
    TScriptedHost host(state);
    host.Bar.SetMax(100);
    TStepPacer paced(host);
    clock.Now += std::chrono::milliseconds(100);
    EXPECT_TRUE(paced.Weigh(1000000));
    EXPECT_EQ(host.EventPasses, 0);
    paced.Step();
    EXPECT_EQ(host.EventPasses, 1);
    clock.Now += std::chrono::milliseconds(100);
    paced.Weigh(1000000);
    EXPECT_EQ(host.EventPasses, 2);

    TStepPacer everyStep(host, true);
    everyStep.Step();
    everyStep.Weigh(1000000);
    EXPECT_EQ(host.EventPasses, 3);
}

// Whatever one step costs, the work ends within about a millisecond of work
// after the deadline, and only then; the user's flag stays as it was.
TEST(StepPacer, DeadlineEndsTheWorkAtTheFirstCheckpointPastIt)
{
    for (int tickUs : {1, 37, 250, 900}) {
        TScriptedPacerClock clock;
        TPointSetState state;
        state.FSearching = true;
        TScriptedHost host(state);
        host.Bar.SetMax(100000000);
        TStepPacer pacer(host);
        pacer.SetDeadline(0.25);
        const TClock::time_point start = clock.Now;
        bool goOn = true;
        while (goOn) {
            EXPECT_FALSE(pacer.TimeUp());
            clock.Now += std::chrono::microseconds(tickUs);
            goOn = tickUs % 2 == 0 ? pacer.Step() : pacer.Poll();
        }
        EXPECT_TRUE(pacer.TimeUp());
        EXPECT_TRUE(pacer.PastDeadline());
        EXPECT_TRUE(state.FSearching);
        EXPECT_GE(clock.Now - start, std::chrono::milliseconds(250)) << "tick " << tickUs << " us";
        EXPECT_LE(clock.Now - start, std::chrono::microseconds(251000 + 2 * tickUs)) << "tick " << tickUs << " us";
        EXPECT_FALSE(pacer.Poll());
    }
}
