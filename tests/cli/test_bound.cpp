// The lower bound: "bound" alone and "solve --bound" with the gap.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>

#include "cli_runner.h"
#include "json_fields.h"
#include "support/point_set_kinds.h"

namespace {

std::vector<std::pair<int, int>> Pairs(const TPointArray& points)
{
    std::vector<std::pair<int, int>> pairs;
    for (const TMapPoint& point : points)
        pairs.emplace_back(point.X, point.Y);
    return pairs;
}

// "1 234,5" in the Polish format, back to a number.
double PolishNumber(std::string text)
{
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\u00a0") == 0) {
            ++i;
            continue;
        }
        plain += text[i] == ',' ? '.' : text[i];
    }
    return std::strtod(plain.c_str(), nullptr);
}

class BoundTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(BoundTest, BoundsTheShortestRouteOfEveryKindOfSet)
{
    std::mt19937 random(31);
    for (int kind = 0; kind < PointSetKinds; ++kind) {
        for (const int32_t n : {2, 5, 9}) {
            const std::string file = Dir.WritePoints("set.tvu", Pairs(MakePointSet(kind, n, random)));
            const TCliRun bound = RunCli({"bound", file, "--json"});
            ASSERT_EQ(bound.ExitCode, 0) << bound.Err;
            const double shortest = JsonNumber(RunCli({"solve", file, "--json"}).Out, "length");
            const double value = JsonNumber(bound.Out, "bound");
            EXPECT_LE(value, shortest) << "kind " << kind << ", " << n << " points";
            // The first tree alone already weighs at least half the route.
            EXPECT_GE(value, shortest / 2 * (1 - 1e-9)) << "kind " << kind << ", " << n << " points";
        }
    }
}

TEST_F(BoundTest, JsonHoldsPointsAndBound)
{
    const std::string file = Dir.WritePoints("line.tvu", {{0, 0}, {3, 4}, {6, 8}, {9, 12}});
    const TCliRun run = RunCli({"bound", file, "--json"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_TRUE(std::regex_match(run.Out, std::regex(R"(\{"points": 4, "bound": [0-9.e+-]+\}\n)"))) << run.Out;
    // Points on a line: the bound reaches the route up to its rounding margin.
    EXPECT_NEAR(JsonNumber(run.Out, "bound"), 15.0, 1e-9);
}

TEST_F(BoundTest, NoPointsAndOnePointHaveBoundZero)
{
    EXPECT_EQ(RunCli({"bound", Dir.WritePoints("none.tvu", {}), "--json"}).Out, "{\"points\": 0, \"bound\": 0}\n");
    EXPECT_EQ(RunCli({"bound", Dir.WritePoints("one.tvu", {{5, 5}})}).Out, "Dolne ograniczenie długości drogi: 0,00\n");
}

TEST_F(BoundTest, SolveAddsTheBoundAndTheGapBeforeTheRoute)
{
    const std::string file = Dir.WritePoints("line.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const TCliRun run = RunCli({"solve", file, "--bound"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 5u) << run.Out;
    EXPECT_EQ(lines[1], "Długość najkrótszej drogi: 10,00");
    EXPECT_EQ(lines[2], "Dolne ograniczenie długości drogi: 10,00");
    EXPECT_EQ(lines[3], "Długość drogi: 10,00, najwyżej 0,0% więcej niż najkrótsza");
    EXPECT_EQ(lines[4], "Droga: 2 1 0");
}

TEST_F(BoundTest, GapIsTheShareAboveTheBoundRoundedUpToATenthOfAPercent)
{
    const std::string file = Dir.Path("set.tvu");
    ASSERT_EQ(RunCli({"random", "300", "--seed", "808", "-o", file}).ExitCode, 0);
    // One try of the random search gives a route far above the bound, one
    // of the local search a route close to it.
    for (const char* method : {"random", "local"}) {
        const std::vector<std::string> args = {"solve", file,     "--method", method,   "--tries",
                                               "1",     "--seed", "9",        "--bound"};
        const TCliRun text = RunCli(args);
        std::vector<std::string> jsonArgs = args;
        jsonArgs.push_back("--json");
        const TCliRun json = RunCli(jsonArgs);
        ASSERT_EQ(text.ExitCode, 0) << text.Err;
        const double length = JsonNumber(json.Out, "length");
        const double bound = JsonNumber(json.Out, "bound");
        const double gap = JsonNumber(json.Out, "gap");
        EXPECT_GT(bound, 0);
        EXPECT_EQ(gap, (length - bound) / bound) << method;

        std::smatch match;
        const std::string gapLine = Lines(text.Out).at(3);
        ASSERT_TRUE(
            std::regex_match(gapLine, match,
                             std::regex("Długość drogi: ([0-9\u00a0]+,[0-9]{2}), najwyżej ([0-9\u00a0]+,[0-9])% "
                                        "więcej niż najkrótsza")))
            << gapLine;
        const double percent = PolishNumber(match[2]);
        // "najwyżej": never below the gap, by less than a tenth above it.
        EXPECT_GE(percent / 100, gap - 1e-8) << gapLine;
        EXPECT_LT(percent / 100 - 0.001, gap) << gapLine;
        EXPECT_NEAR(PolishNumber(match[1]), length, 0.005);
        const std::string boundLine = Lines(text.Out).at(2);
        const std::string caption = "Dolne ograniczenie długości drogi: ";
        ASSERT_EQ(boundLine.rfind(caption, 0), 0u) << boundLine;
        EXPECT_NEAR(PolishNumber(boundLine.substr(caption.size())), bound, 0.005);
    }
}

TEST_F(BoundTest, PointsInOnePlaceHaveNoGap)
{
    const std::string file = Dir.WritePoints("one_place.tvu", {{7, 7}, {7, 7}, {7, 7}});
    const TCliRun run = RunCli({"solve", file, "--bound", "--json"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(JsonField(run.Out, "bound"), "0");
    EXPECT_EQ(JsonField(run.Out, "gap"), "0");
    EXPECT_EQ(Lines(RunCli({"solve", file, "--bound"}).Out).at(3),
              "Długość drogi: 0,00, najwyżej 0,0% więcej niż najkrótsza");
}

TEST_F(BoundTest, StoppedSearchSkipsTheBound)
{
    // Two places, ten points each: the exhaustive search runs for days.
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < 20; ++i)
        points.emplace_back(i % 2 == 0 ? 100 : 300, 200);
    const TCliRun run =
        RunCli({"solve", Dir.WritePoints("long.tvu", points), "--bound", "--json"}, {.InterruptAfterMs = 400});
    EXPECT_EQ(run.ExitCode, 130);
    EXPECT_EQ(JsonField(run.Out, "bound"), "null");
    EXPECT_EQ(JsonField(run.Out, "gap"), "null");
    EXPECT_EQ(NumbersIn(JsonField(run.Out, "route")).size(), 20u);
}

TEST_F(BoundTest, CtrlCStopsTheBoundWithTheBestCertifiedValueSoFar)
{
    const std::string file = Dir.Path("big.tvu");
    ASSERT_EQ(RunCli({"random", "10000", "--size", "1000000x1000000", "--seed", "3", "-o", file}).ExitCode, 0);
    const TCliRun run = RunCli({"bound", file}, {.InterruptAfterMs = 1500});
    EXPECT_EQ(run.ExitCode, 130);
    EXPECT_EQ(run.Err, "");
    // Stopped before the first tree over all pairs there is no value yet;
    // a value certified before the stop is marked as the end of a stopped
    // estimate.
    EXPECT_TRUE(std::regex_match(
        run.Out, std::regex("Dolne ograniczenie długości drogi: ([0-9\u00a0]+,[0-9]{2} \\(szacowanie przerwane\\)|"
                            "nieznane \\(przerwano przed pierwszym pewnym oszacowaniem\\))\n")))
        << run.Out;

    // On a terminal the progress line counts the ascent's steps.
    const TCliRun shown = RunCli({"bound", file}, {.InterruptAfterMs = 1500, .StderrOnTerminal = true});
    EXPECT_EQ(shown.ExitCode, 130);
    EXPECT_NE(shown.Err.find('\r'), std::string::npos);
    EXPECT_NE(shown.Err.find(" kroków"), std::string::npos) << shown.Err;
    EXPECT_NE(shown.Err.find(" | Szacowanie dolnego"), std::string::npos) << shown.Err;
}

}  // namespace

// The exact method proves a bound of its own on the way: with --bound one
// bound is shown, the best known, and one gap against it, the same in JSON.
// An interrupted proof gets as far as the time lets it, so each run is held
// to itself.
TEST_F(BoundTest, ExactRunGivesOneBoundAndOneGap)
{
    const std::string file = Dir.Path("set.tvu");
    ASSERT_EQ(RunCli({"random", "100", "--seed", "7", "-o", file}).ExitCode, 0);
    const std::vector<std::string> args = {"solve", file, "--method", "exact", "--time-limit", "1", "--bound"};
    const TCliRun text = RunCli(args);
    ASSERT_EQ(text.ExitCode, 0) << text.Err;
    std::vector<std::string> gapLines;
    std::string boundLine;
    for (const std::string& line : Lines(text.Out)) {
        if (line.find("najwyżej") != std::string::npos)
            gapLines.push_back(line);
        if (line.rfind("Dolne ograniczenie długości drogi: ", 0) == 0)
            boundLine = line;
    }
    ASSERT_EQ(gapLines.size(), 1u) << text.Out;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(
        gapLines[0], match,
        std::regex("Długość drogi: ([0-9\u00a0]+,[0-9]{2}), najwyżej ([0-9\u00a0]+,[0-9])% więcej niż najkrótsza")))
        << gapLines[0];
    const double length = PolishNumber(match[1]);
    const double bound = PolishNumber(boundLine.substr(std::string("Dolne ograniczenie długości drogi: ").size()));
    ASSERT_GT(bound, 0.0) << boundLine;
    EXPECT_LE(bound, length + 0.005) << text.Out;
    EXPECT_NEAR(PolishNumber(match[2]) / 100, (length - bound) / bound, 0.0011) << text.Out;

    std::vector<std::string> jsonArgs = args;
    jsonArgs.push_back("--json");
    const TCliRun json = RunCli(jsonArgs);
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    const double jsonBound = JsonNumber(json.Out, "bound");
    EXPECT_GE(jsonBound, JsonNumber(json.Out, "lower_bound"));
    const double jsonLength = JsonNumber(json.Out, "length");
    EXPECT_NEAR(JsonNumber(json.Out, "gap"), (jsonLength - jsonBound) / jsonBound, 1e-9) << json.Out;
}
