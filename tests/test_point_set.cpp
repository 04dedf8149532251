#include <gtest/gtest.h>

#include "core/distances.h"
#include "core/point_set.h"
#include "core/point_set_ops.h"
#include "support/scripted_host.h"

namespace {

TPointSetState StateWith(std::initializer_list<TMapPoint> points)
{
    TPointSetState state;
    state.FPoints = points;
    return state;
}

}  // namespace

TEST(Factorial, WrapsIn64BitsLikeTheCounter)
{
    const struct {
        int32_t n;
        int64_t expected;
    } rows[] = {
        {-5, 1},
        {0, 1},
        {1, 1},
        {12, 479001600},
        {13, 6227020800LL},
        {20, 2432902008176640000LL},
        {21, -4249290049419214848LL},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Factorial(row.n), row.expected) << "n = " << row.n;
}

TEST(SwapValues, ExchangesBothValues)
{
    int32_t a = 3;
    int32_t b = -7;
    SwapValues(a, b);
    EXPECT_EQ(a, -7);
    EXPECT_EQ(b, 3);
}

TEST(RouteLength, MeasuresOpenRoutesOnTheCollinearExample)
{
    TPointSetState state = StateWith({{0, 0, -1}, {3, 4, -1}, {6, 8, -1}});
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    EXPECT_EQ(state.FDistances[0][1], 5.0);
    EXPECT_EQ(state.FDistances[1][2], 5.0);
    EXPECT_EQ(state.FDistances[0][2], 10.0);
    EXPECT_EQ(RouteLength(state.FDistances, {0, 1, 2}), 10.0);
    EXPECT_EQ(RouteLength(state.FDistances, {0, 2, 1}), 15.0);
    EXPECT_EQ(RouteLength(state.FDistances, {}), 0.0);
    EXPECT_EQ(RouteLength(state.FDistances, {2}), 0.0);
}

TEST(RouteLength, SkipsLegsThatTouchMinusOne)
{
    TPointSetState state = StateWith({{0, 0, -1}, {3, 4, -1}, {6, 8, -1}});
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    EXPECT_EQ(RouteLength(state.FDistances, {2, -1, 0, 1}), state.FDistances[0][1]);
}

TEST(RouteLength, AddsInExtendedPrecisionAndRoundsEachPartialSum)
{
    // 1 + (2^-53 + 2^-105): in extended precision the 2^-105 is lost and the
    // tie rounds to 1.0, where plain double addition would round up.
    const double leg = 0x1.0000000000001p-53;
    TDistanceMatrix d(3, TDistanceRow(3, 0.0));
    d[0][1] = 1.0;
    d[1][2] = leg;
    EXPECT_EQ(RouteLength(d, {0, 1, 2}), 1.0);
    EXPECT_NE(1.0 + leg, 1.0);
}

TEST(ApplyBestRoute, LinksAlongTheRouteAndEndsWithMinusOne)
{
    TPointArray points(3);
    ApplyBestRoute(points, {2, 0, 1});
    EXPECT_EQ(points[2].Next, 0);
    EXPECT_EQ(points[0].Next, 1);
    EXPECT_EQ(points[1].Next, -1);
}

TEST(ApplyBestRoute, EmptyRouteChangesNothing)
{
    TPointArray points = {{0, 0, 1}, {1, 1, -1}};
    ApplyBestRoute(points, {});
    EXPECT_EQ(points[0].Next, 1);
}

TEST(ComputeDistances, FullComputationStepsTheBarNSquaredTimes)
{
    TPointSetState state = StateWith({{0, 0, -1}, {3, 4, -1}, {6, 8, -1}});
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    EXPECT_EQ(host.Bar.StepsTaken(), 9);
    EXPECT_EQ(host.Bar.Position(), 0);
    EXPECT_EQ(host.Bar.Max(), 9);
    EXPECT_EQ(host.EventPasses, 1);
    // The text stays until whoever shows the matrix has shown it.
    EXPECT_EQ(host.StatusTexts, std::vector<std::string>{"Obliczanie odległości..."});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(state.FDistances[i][i], 0.0);
}

TEST(ComputeDistances, AppendingAPointMatchesAFullComputation)
{
    TPointSetState incremental = StateWith({{0, 0, -1}, {3, 4, -1}, {6, 8, -1}});
    TScriptedHost host(incremental);
    ComputeDistances(incremental.FPoints, incremental.FDistances, host, 0);
    incremental.FPoints.push_back({0, 8, -1});
    const int64_t before = host.Bar.StepsTaken();
    ComputeDistances(incremental.FPoints, incremental.FDistances, host, 3);
    EXPECT_EQ(host.Bar.StepsTaken() - before, 7);

    TPointSetState full = StateWith({{0, 0, -1}, {3, 4, -1}, {6, 8, -1}, {0, 8, -1}});
    ComputeDistances(full.FPoints, full.FDistances, host, 0);
    EXPECT_EQ(incremental.FDistances, full.FDistances);
    EXPECT_EQ(full.FDistances[3][0], 8.0);
    EXPECT_EQ(full.FDistances[0][3], 8.0);
    EXPECT_EQ(full.FDistances[3][2], 6.0);
    EXPECT_EQ(full.FDistances[2][3], 6.0);
}

TEST(ComputeDistances, IncrementalRunKeepsOldCells)
{
    TPointSetState state = StateWith({{0, 0, -1}, {3, 4, -1}});
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    state.FDistances[0][1] = 42.0;  // stands for a value the new run must not touch
    state.FPoints.push_back({6, 8, -1});
    ComputeDistances(state.FPoints, state.FDistances, host, 2);
    EXPECT_EQ(state.FDistances[0][1], 42.0);
    EXPECT_EQ(state.FDistances[0][2], 10.0);
}

TEST(ComputeDistances, EmptySetGivesEmptyMatrixAndZeroMaximum)
{
    TPointSetState state;
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    EXPECT_TRUE(state.FDistances.empty());
    EXPECT_EQ(host.Bar.Max(), 0);
    EXPECT_EQ(host.Bar.StepsTaken(), 0);
}

TEST(ComputeDistances, FarApartPointsGetTheirTrueDistance)
{
    TPointSetState state = StateWith({{INT32_MIN, 0, -1}, {INT32_MAX, 0, -1}});
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    EXPECT_EQ(state.FDistances[0][1], 4294967295.0);
    EXPECT_EQ(state.FDistances[1][0], 4294967295.0);
}

TEST(MapHypot, UsesTheLargerLegAsScale)
{
    EXPECT_EQ(MapHypot(3, 4), 5.0);
    EXPECT_EQ(MapHypot(-4, 3), 5.0);
    EXPECT_EQ(MapHypot(0, -7), 7.0);
    EXPECT_EQ(MapHypot(0, 0), 0.0);
    EXPECT_EQ(MapHypot(1, 1), MapHypot(-1, 1));
}

TEST(NewPointSet, EmptiesTheSetAndForgetsItsFile)
{
    TPointSetState state = StateWith({{1, 2, -1}});
    state.FFileName = "/tmp/x.tvu";
    state.FModified = true;
    state.FBestRoute = {0};
    NewPointSet(state);
    EXPECT_TRUE(state.FPoints.empty());
    EXPECT_TRUE(state.FFileName.empty());
    EXPECT_FALSE(state.FModified);
    EXPECT_EQ(state.FBestRoute, TSpecimen{0});
}

TEST(ClearRoute, ClearsLinksAndMarksChanged)
{
    TPointSetState state = StateWith({{0, 0, 1}, {3, 4, 0}});
    ClearRoute(state);
    EXPECT_EQ(state.FPoints[0].Next, -1);
    EXPECT_EQ(state.FPoints[1].Next, -1);
    EXPECT_TRUE(state.FModified);
}

TEST(ProgressBar, StartsOverPastItsMaximumAndClampsPositions)
{
    TProgressBar bar;
    bar.SetMax(2);
    bar.StepIt();
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 2);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(11);
    EXPECT_EQ(bar.Position(), 2);
    bar.SetMax(1);
    EXPECT_EQ(bar.Position(), 1);
}

TEST(ProgressBar, StepsPastTheLargestMaximumWithoutOverflow)
{
    TProgressBar bar;
    bar.SetMax(INT32_MAX);
    bar.SetPosition(INT32_MAX - 1);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), INT32_MAX);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 0);
}

TEST(ProgressBar, NotifiesOnlyWhenThePictureCanChange)
{
    TProgressBar bar;
    int notifications = 0;
    bar.OnChange = [&](const TProgressBar&) { ++notifications; };
    bar.SetResolution(100);
    bar.SetMax(1000000);
    notifications = 0;
    for (int i = 0; i < 1000000; ++i)
        bar.StepIt();
    EXPECT_EQ(bar.Position(), 1000000);
    EXPECT_GE(notifications, 99);
    EXPECT_LE(notifications, 101);
}

// The events the computation lets run first may add a point (a click on the
// map during a search): the matrix holds it, for both kinds of leg.
TEST(ComputeDistances, APointAddedByTheFirstEventsIsInTheMatrix)
{
    for (const bool measured : {false, true}) {
        TPointSetState state = StateWith({{0, 0, -1}, {3, 4, -1}});
        TScriptedHost host(state);
        TMeasure measure = TMeasure::OfPoints(state.FPoints);
        host.OnEvents = [&] {
            if (state.FPoints.size() == 2) {
                state.FPoints.push_back({6, 8, -1});
                measure = TMeasure::OfPoints(state.FPoints);
            }
        };
        if (measured)
            ComputeDistances(measure, state.FDistances, host, 0);
        else
            ComputeDistances(state.FPoints, state.FDistances, host, 0);
        ASSERT_EQ(state.FDistances.size(), 3u) << measured;
        EXPECT_EQ(state.FDistances[2][0], 10.0) << measured;
    }
}
