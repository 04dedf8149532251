// The exact method and the local search through the command line, against
// the exhaustive search and a plain walk over every ordering.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <set>

#include "cli_runner.h"
#include "core/point_set.h"
#include "json_fields.h"
#include "search/exact/exact_search.h"
#include "support/point_set_kinds.h"

namespace {

std::vector<std::pair<int, int>> Pairs(const TPointArray& points)
{
    std::vector<std::pair<int, int>> pairs;
    for (const TMapPoint& point : points)
        pairs.emplace_back(point.X, point.Y);
    return pairs;
}

// The shortest open route that starts at start, over every ordering.
double ShortestFrom(const TPointArray& points, int32_t start)
{
    TSpecimen rest(points.size());
    std::iota(rest.begin(), rest.end(), 0);
    rest.erase(rest.begin() + start);
    double best = -1;
    do {
        TSpecimen route{start};
        route.insert(route.end(), rest.begin(), rest.end());
        const double length = RouteLengthOfPoints(points, route);
        if (best < 0 || length < best)
            best = length;
    } while (std::next_permutation(rest.begin(), rest.end()));
    return best;
}

bool VisitsEveryPointOnce(const std::vector<int>& route, size_t count)
{
    const std::set<int> seen(route.begin(), route.end());
    return route.size() == count && seen.size() == count && *seen.begin() == 0 &&
           *seen.rbegin() == static_cast<int>(count) - 1;
}

class MethodsTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(MethodsTest, ExactFindsTheExhaustiveLengthOnEveryKindOfSet)
{
    std::mt19937 random(2024);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (const int32_t n : {1, 2, 3, 5, 8}) {
            const std::string file = Dir.WritePoints("set.tvu", Pairs(MakePointSet(kind, n, random)));
            const TCliRun exhaustive = RunCli({"solve", file, "--json"});
            const TCliRun exact = RunCli({"solve", file, "--method", "exact", "--json"});
            ASSERT_EQ(exact.ExitCode, 0) << exact.Err;
            EXPECT_EQ(JsonField(exact.Out, "method"), "\"exact\"");
            EXPECT_EQ(JsonField(exact.Out, "length"), JsonField(exhaustive.Out, "length"))
                << "kind " << kind << ", " << n << " points";
            EXPECT_TRUE(VisitsEveryPointOnce(NumbersIn(JsonField(exact.Out, "route")), n)) << exact.Out;
        }
    }
}

TEST_F(MethodsTest, ExactFromAGivenStartIsTheShortestRouteFromThere)
{
    std::mt19937 random(77);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        const TPointArray points = MakePointSet(kind, 7, random);
        const std::string file = Dir.WritePoints("set.tvu", Pairs(points));
        for (const int32_t start : {0, 4, 6}) {
            const TCliRun run =
                RunCli({"solve", file, "--method", "exact", "--start", std::to_string(start), "--json"});
            ASSERT_EQ(run.ExitCode, 0) << run.Err;
            const std::vector<int> route = NumbersIn(JsonField(run.Out, "route"));
            ASSERT_TRUE(VisitsEveryPointOnce(route, points.size())) << run.Out;
            EXPECT_EQ(route.front(), start);
            EXPECT_EQ(JsonNumber(run.Out, "length"), ShortestFrom(points, start)) << "kind " << kind;
        }
    }
}

TEST_F(MethodsTest, SeededLocalSearchWithTriesRepeatsItself)
{
    const std::string file = Dir.Path("two_hundred.tvu");
    ASSERT_EQ(RunCli({"random", "200", "--seed", "5150", "-o", file}).ExitCode, 0);
    const std::vector<std::string> args = {"solve", file, "--method", "local", "--seed", "321", "--tries", "3000"};
    const TCliRun first = RunCli(args);
    const TCliRun second = RunCli(args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    const std::vector<std::string> lines = Lines(first.Out);
    ASSERT_EQ(lines.size(), 3u) << first.Out;
    EXPECT_EQ(lines[1], Lines(second.Out).at(1));
    EXPECT_EQ(lines[2], Lines(second.Out).at(2));
    EXPECT_TRUE(VisitsEveryPointOnce(NumbersIn(lines[2]), 200));

    const TCliRun json = RunCli({"solve", file, "--method", "local", "--seed", "321", "--tries", "3000", "--json"});
    EXPECT_EQ(JsonField(json.Out, "method"), "\"local\"");
    EXPECT_EQ(JsonField(json.Out, "steps"), "3000");
    EXPECT_EQ(NumbersIn(JsonField(json.Out, "route")), NumbersIn(lines[2]));
}

TEST_F(MethodsTest, LocalSearchFindsTheOptimumOfSmallSetsAndHonoursTheStart)
{
    std::mt19937 random(99);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        const TPointArray points = MakePointSet(kind, 6, random);
        const std::string file = Dir.WritePoints("set.tvu", Pairs(points));
        const TCliRun run =
            RunCli({"solve", file, "--method", "local", "--start", "2", "--tries", "200", "--seed", "1", "--json"});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::vector<int> route = NumbersIn(JsonField(run.Out, "route"));
        ASSERT_TRUE(VisitsEveryPointOnce(route, points.size())) << run.Out;
        EXPECT_EQ(route.front(), 2);
        EXPECT_GE(JsonNumber(run.Out, "length"), ShortestFrom(points, 2));
        EXPECT_LE(JsonNumber(run.Out, "length"), ShortestFrom(points, 2) * (1 + 1e-12)) << "kind " << kind;
    }
}

TEST_F(MethodsTest, OneThreadAndSeveralGiveTheSameExhaustiveResult)
{
    std::mt19937 random(5);
    const std::string file = Dir.WritePoints("set.tvu", Pairs(MakePointSet(0, 10, random)));
    const TCliRun single = RunCli({"solve", file, "--threads", "1", "--json"});
    const TCliRun several = RunCli({"solve", file, "--threads", "3", "--json"});
    ASSERT_EQ(single.ExitCode, 0) << single.Err;
    ASSERT_EQ(several.ExitCode, 0) << several.Err;
    EXPECT_EQ(JsonField(single.Out, "length"), JsonField(several.Out, "length"));
    EXPECT_EQ(JsonField(single.Out, "route"), JsonField(several.Out, "route"));
}

// The local search on two threads, with the seed and the tries: the same
// route every time.
TEST_F(MethodsTest, LocalOnTwoThreadsRepeatsItsRouteFromTheSeed)
{
    std::mt19937 random(6);
    const std::string file = Dir.WritePoints("set.tvu", Pairs(MakePointSet(0, 4500, random)));
    const std::vector<std::string> args = {"solve",   file,   "--method", "local", "--threads", "2",
                                           "--tries", "2000", "--seed",   "77",    "--json"};
    const TCliRun first = RunCli(args);
    const TCliRun second = RunCli(args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    ASSERT_EQ(second.ExitCode, 0) << second.Err;
    EXPECT_TRUE(VisitsEveryPointOnce(NumbersIn(JsonField(first.Out, "route")), 4500));
    EXPECT_EQ(JsonField(first.Out, "route"), JsonField(second.Out, "route"));
}

// Beyond the table's sizes: the time limit belongs to the exact method too,
// and a proof that ends in time gives its length as the bound it proved.
TEST_F(MethodsTest, ExactTakesATimeLimitAndReportsWhatItProved)
{
    std::mt19937 random(30);
    const std::string file = Dir.WritePoints("set.tvu", Pairs(MakePointSet(0, 30, random)));
    const TCliRun run = RunCli({"solve", file, "--method", "exact", "--time-limit", "60", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(JsonField(run.Out, "proved"), "true") << run.Out;
    EXPECT_EQ(JsonField(run.Out, "lower_bound"), JsonField(run.Out, "length")) << run.Out;
}

TEST_F(MethodsTest, ExactTakesMoreThanAHundredPointsAndStopsAtItsTimeLimit)
{
    const std::string file = Dir.Path("hundreds.tvu");
    ASSERT_EQ(RunCli({"random", std::to_string(3 * LongProofPoints), "--seed", "5150", "-o", file}).ExitCode, 0);
    const TCliRun run = RunCli({"solve", file, "--method", "exact", "--time-limit", "1", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_TRUE(VisitsEveryPointOnce(NumbersIn(JsonField(run.Out, "route")), 3 * LongProofPoints)) << run.Out;
    // Stopped or proved, what was proved of every route is no more than
    // the route's own length.
    EXPECT_LE(JsonNumber(run.Out, "lower_bound"), JsonNumber(run.Out, "length")) << run.Out;
}

// An address-space limit for the programs this process starts while it
// lives (they inherit it); this process itself stays far below it.
class TAddressSpaceLimit {
public:
    explicit TAddressSpaceLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_AS, &FOld);
        rlimit limit = FOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_AS, &limit);
    }
    ~TAddressSpaceLimit() { setrlimit(RLIMIT_AS, &FOld); }
    TAddressSpaceLimit(const TAddressSpaceLimit&) = delete;
    TAddressSpaceLimit& operator=(const TAddressSpaceLimit&) = delete;

private:
    rlimit FOld{};
};

// Under a 1 GB address space, where a table of 24 points (1.6 GB) could not
// be had, sets of 24 and 25 points are proved all the same.
TEST_F(MethodsTest, ExactProvesTwentyFivePointsWithinAGigabyte)
{
    if (!AddressLimitsHold)
        GTEST_SKIP() << "the address sanitizer's shadow memory needs more address space than the limit";
    std::mt19937 random(24);
    for (const int32_t n : {24, 25}) {
        const std::string file = Dir.WritePoints("set.tvu", Pairs(MakePointSet(0, n, random)));
        TCliRun run;
        {
            const TAddressSpaceLimit limit(1000000000);
            run = RunCli({"solve", file, "--method", "exact", "--json"});
        }
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(JsonField(run.Out, "proved"), "true") << run.Out;
        EXPECT_TRUE(VisitsEveryPointOnce(NumbersIn(JsonField(run.Out, "route")), n)) << run.Out;
    }
}

}  // namespace
