#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "search/pace/step_pacer.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"

namespace {

struct TOfferCase {
    const char* Name;
    TSearchMethod Method;
    int32_t Points;
    // Events after every step, or at the pacer's pace (the exhaustive
    // search then shares its work among threads).
    bool EveryStep;
};

struct TWatchedRun {
    TRunResult Result;
    TSpecimen Best;
    std::vector<TScriptedHost::TOffered> Offers;
};

TWatchedRun RunWatched(const TOfferCase& c, bool watching)
{
    const TClockScript clock(4242);
    // Without a pass of events after every step, a clock that moves on by
    // 20 ms at every reading lets events run at every checkpoint.
    auto now = std::make_shared<std::chrono::steady_clock::time_point>();
    if (!c.EveryStep)
        SetPacerClock([now] { return *now += std::chrono::milliseconds(20); });
    std::mt19937 random(7);
    TPointSetState state;
    SetPoints(state, MakeSet(skScattered, c.Points, random));
    TScriptedHost host(state);
    host.EveryStep = c.EveryStep;
    host.Watching = watching;
    TSearchSettings settings;
    settings.RandomCount = 3000;
    settings.Genetic.GenerationCount = 40;
    settings.Local.StopByTime = false;
    settings.Local.Tries = 300;
    settings.ExhaustiveThreads = 2;
    TWatchedRun run;
    run.Result = RunSearch(state, host, c.Method, settings);
    run.Best = state.FBestRoute;
    run.Offers = host.Offers;
    SetPacerClock({});
    return run;
}

bool IsPermutation(TSpecimen route)
{
    std::sort(route.begin(), route.end());
    for (size_t i = 0; i < route.size(); ++i)
        if (route[i] != static_cast<int32_t>(i))
            return false;
    return true;
}

class RouteOffers : public ::testing::TestWithParam<TOfferCase> {};

}  // namespace

// Watching costs the search nothing in what it finds, and what is offered
// only ever gets shorter and ends at the route reported.
TEST_P(RouteOffers, ShrinkToTheReportedRouteAndChangeNothing)
{
    const TOfferCase& c = GetParam();
    const TWatchedRun quiet = RunWatched(c, false);
    const TWatchedRun watched = RunWatched(c, true);
    EXPECT_TRUE(quiet.Offers.empty());
    EXPECT_EQ(watched.Best, quiet.Best);
    EXPECT_EQ(watched.Result.Outcome.Steps, quiet.Result.Outcome.Steps);
    EXPECT_EQ(watched.Result.Length, quiet.Result.Length);

    // One offer at least before the end, besides the one of the result.
    ASSERT_GE(watched.Offers.size(), 2u);
    std::mt19937 random(7);
    const TPointArray points = MakeSet(skScattered, c.Points, random);
    for (size_t i = 0; i < watched.Offers.size(); ++i) {
        const TScriptedHost::TOffered& offer = watched.Offers[i];
        ASSERT_EQ(offer.Route.size(), points.size()) << "offer " << i;
        EXPECT_TRUE(IsPermutation(offer.Route)) << "offer " << i;
        EXPECT_EQ(offer.Length, RouteLengthOfPoints(points, offer.Route)) << "offer " << i;
        if (i > 0) {
            EXPECT_LE(offer.Length, watched.Offers[i - 1].Length) << "offer " << i;
        }
    }
    EXPECT_EQ(watched.Offers.back().Route, watched.Best);
    EXPECT_EQ(watched.Offers.back().Length, watched.Result.Length);
}

INSTANTIATE_TEST_SUITE_P(Methods, RouteOffers,
                         ::testing::Values(TOfferCase{"ExhaustiveOneThread", smExhaustive, 8, true},
                                           TOfferCase{"ExhaustiveThreads", smExhaustive, 13, false},
                                           TOfferCase{"Random", smRandom, 30, true},
                                           TOfferCase{"Genetic", smGenetic, 30, true},
                                           TOfferCase{"Exact", smExact, 12, true},
                                           TOfferCase{"Local", smLocal, 400, true}),
                         [](const auto& info) { return std::string(info.param.Name); });
