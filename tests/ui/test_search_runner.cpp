#include <gtest/gtest.h>

#include <QSignalSpy>

#include <vector>

#include "ui/search_runner.h"

namespace {

// The flag is announced once per change; a stop counts only while work runs.
TEST(SearchRunnerTest, TheFlagIsAnnouncedAndAStopCountsOnlyWhileWorkRuns)
{
    TSearchRunner runner;
    QSignalSpy changes(&runner, &TSearchRunner::SearchingChanged);
    runner.Stop();
    EXPECT_FALSE(runner.StopRequested());
    runner.Begin();
    EXPECT_TRUE(runner.Searching());
    runner.Stop();
    runner.Stop();
    EXPECT_FALSE(runner.Searching());
    EXPECT_TRUE(runner.StopRequested());
    runner.End();
    runner.Begin();
    EXPECT_FALSE(runner.StopRequested());
    runner.End();
    std::vector<bool> told;
    for (const QList<QVariant>& change : changes)
        told.push_back(change.at(0).toBool());
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
