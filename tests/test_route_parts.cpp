#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "search/local/kick_walk.h"
#include "search/local/part_rounds.h"
#include "search/local/route_parts.h"
#include "search/neighbours/point_tree.h"
#include "support/measure_kind_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"

namespace {

TSpecimen Shuffled(int32_t n, std::mt19937& random)
{
    TSpecimen route(static_cast<size_t>(n));
    std::iota(route.begin(), route.end(), 0);
    std::shuffle(route.begin(), route.end(), random);
    return route;
}

// The same ring read from its first point, for comparing round trips.
TSpecimen FromFirst(TSpecimen route, int32_t first)
{
    std::rotate(route.begin(), std::find(route.begin(), route.end(), first), route.end());
    return route;
}

}  // namespace

// Joined again, the parts are the route (a round trip's ring from its first
// cut); only the route's own free ends are free, every cut is fixed.
TEST(RouteParts, CutAndJoinGiveTheRouteBackWithOnlyItsOwnEndsFree)
{
    std::mt19937 random(51);
    for (int32_t n : {1, 2, 5, 37, 1000}) {
        for (const TRouteKind& kind : EveryKind(n, random)) {
            for (int32_t count : {1, 2, 3, 7}) {
                for (int32_t offset : {0, 1, 5, 999}) {
                    const TSpecimen route = Shuffled(n, random);
                    const std::vector<TRoutePart> parts = CutRoute(route, kind, count, offset);
                    const std::string name = RouteKindText(kind) + ", n " + std::to_string(n) + ", count " +
                                             std::to_string(count) + ", offset " + std::to_string(offset);
                    ASSERT_LE(static_cast<int32_t>(parts.size()), count + 1) << name;
                    const TSpecimen joined = JoinParts(parts);
                    EXPECT_EQ(FromFirst(joined, route[0]), route) << name;
                    if (!kind.RoundTrip) {
                        EXPECT_EQ(joined, route) << name;
                    }
                    for (size_t k = 0; k < parts.size(); ++k) {
                        EXPECT_FALSE(parts[k].Points.empty()) << name;
                        const bool first = !kind.RoundTrip && k == 0;
                        const bool last = !kind.RoundTrip && k + 1 == parts.size();
                        EXPECT_EQ(parts[k].StartFixed, !first || kind.Start >= 0) << name << ", part " << k;
                        EXPECT_EQ(parts[k].EndFixed, !last || kind.End >= 0) << name << ", part " << k;
                    }
                }
            }
        }
    }
}

// A part's walk, built afresh or from its order, keeps its points and its
// fixed ends, and from its order it comes back no longer; so too with the
// whole set's candidates and point penalties weighing its legs.
TEST(RouteParts, WalkKeepsThePartsPointsAndFixedEnds)
{
    std::mt19937 random(52);
    for (const TMetric metric : EveryMetric()) {
        const TLegMeter legs(TMeasure(metric, MakePlaces(metric, 300, random)));
        const TPointTree tree(legs.PlaneX(), legs.PlaneY());
        const TNeighbourLists candidates(tree, 5);
        std::vector<double> penalties(300);
        for (double& penalty : penalties)
            penalty = std::uniform_real_distribution<double>(-1.0, 1.0)(random) * legs.Leg(0, 1);
        for (const TRouteKind& kind : EveryKind(300, random)) {
            for (const TRoutePart& part : CutRoute(Shuffled(300, random), kind, 3, 40)) {
                for (const int variant : {0, 1, 2}) {
                    const bool construct = variant == 1;
                    TPartWork work;
                    work.Construct = construct;
                    if (variant == 2) {
                        work.Candidates = &candidates;
                        work.Penalties = &penalties;
                    }
                    work.Next = [](int64_t done) { return done < 200; };
                    work.Seed = static_cast<uint32_t>(random());
                    int64_t kicks = 0;
                    const std::vector<int32_t> walked = WalkPart(legs, part, work, {}, kicks);
                    const std::string name = MetricKey(metric) + ", " + RouteKindText(kind);
                    EXPECT_TRUE(
                        std::is_permutation(walked.begin(), walked.end(), part.Points.begin(), part.Points.end()))
                        << name;
                    if (part.StartFixed) {
                        EXPECT_EQ(walked.front(), part.Points.front()) << name;
                    }
                    if (part.EndFixed) {
                        EXPECT_EQ(walked.back(), part.Points.back()) << name;
                    }
                    EXPECT_EQ(kicks, 200) << name;
                    if (construct)
                        continue;
                    double before = 0.0;
                    double after = 0.0;
                    for (size_t i = 0; i + 1 < walked.size(); ++i) {
                        before += legs.Leg(part.Points[i], part.Points[i + 1]);
                        after += legs.Leg(walked[i], walked[i + 1]);
                    }
                    EXPECT_LE(after, before * (1 + 1e-12)) << name;
                }
            }
        }
    }
}

// Rounds of parts built afresh along a curve, on two threads: routes of
// every kind, every kick made, and the same route again from the same seed.
TEST(PartRounds, SameSeedAndThreadsGiveTheSameRouteOfTheKind)
{
    std::mt19937 random(53);
    const TMeasure measure(TMetric::Euc2d, MakePlaces(TMetric::Euc2d, 3000, random));
    const TLegMeter legs(measure);
    for (const TRouteKind& kind : EveryKind(3000, random)) {
        const TRouteProblem problem = MakeRouteProblem(measure, kind, false);
        TSpecimen routes[2];
        for (TSpecimen& route : routes) {
            TPointSetState state;
            state.FSearching = true;
            TScriptedHost host(state);
            host.EveryStep = false;
            host.Bar.SetMax(5000);
            TStepPacer pacer(host);
            TRoundsPlan plan;
            plan.Threads = 2;
            plan.Construct = true;
            plan.Tries = 5000;
            plan.Seed = 9;
            int64_t kicks = 0;
            route = RunPartRounds(problem, legs, CurveRoute(legs, kind), plan, pacer, kicks);
            pacer.Flush();
            EXPECT_EQ(kicks, 5000) << RouteKindText(kind);
            EXPECT_EQ(host.Bar.Position(), 5000) << RouteKindText(kind);
            ASSERT_TRUE(RouteFitsKind(route, kind, 3000)) << RouteKindText(kind);
        }
        EXPECT_EQ(routes[0], routes[1]) << RouteKindText(kind);
        EXPECT_LT(problem.Length(routes[0]), problem.Length(CurveRoute(legs, kind)) * 0.8);
    }
}

// Walks of the whole route under the time rule, where chains settle the
// kicks: every round has a slice of the run's time, so the rounds go on
// kicking until the deadline and leave a shorter route of every kind.
TEST(PartRounds, TimedWholeWalksKickUntilTheDeadline)
{
    std::mt19937 random(59);
    const TMeasure measure(TMetric::Plane, MakePlaces(TMetric::Plane, ChainSettlingMinPoints, random));
    const TLegMeter legs(measure);
    const TPointTree tree(legs.PlaneX(), legs.PlaneY());
    const TNeighbourLists lists(tree, 8);
    for (const TRouteKind& kind : EveryKind(ChainSettlingMinPoints, random)) {
        const TRouteProblem problem = MakeRouteProblem(measure, kind, false);
        TPointSetState state;
        state.FSearching = true;
        TScriptedHost host(state);
        host.EveryStep = false;
        TStepPacer pacer(host);
        pacer.SetDeadline(0.6);
        TRoundsPlan plan;
        plan.Threads = 2;
        plan.Seconds = 0.6;
        plan.Seed = 11;
        plan.Lists = &lists;
        plan.WholeWalks = true;
        const TSpecimen start = CurveRoute(legs, kind);
        int64_t kicks = 0;
        const TSpecimen route = RunPartRounds(problem, legs, start, plan, pacer, kicks);
        EXPECT_TRUE(pacer.PastDeadline()) << RouteKindText(kind);
        EXPECT_GT(kicks, 0) << RouteKindText(kind);
        ASSERT_TRUE(RouteFitsKind(route, kind, ChainSettlingMinPoints)) << RouteKindText(kind);
        EXPECT_LT(problem.Length(route), problem.Length(start)) << RouteKindText(kind);
    }
}
