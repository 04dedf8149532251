// "solve --trace" and "compare": what a script sees of how the methods got
// to their routes and of how they compare on one set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli_runner.h"
#include "json_fields.h"

namespace {

// A set drawn by the tool itself, as a user makes one.
std::string RandomSet(const TScratchDir& dir, int count)
{
    const std::string file = dir.Path("set" + std::to_string(count) + ".tvu");
    const TCliRun run = RunCli({"random", std::to_string(count), "--seed", "4242", "-o", file});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return file;
}

struct TImprovement {
    long long ElapsedMs = 0;
    double Length = 0.0;
};

// "elapsed_ms,length" and a line per improvement.
std::vector<TImprovement> ReadTrace(const std::string& csv)
{
    std::vector<std::string> lines = Lines(csv);
    EXPECT_FALSE(lines.empty());
    if (lines.empty())
        return {};
    EXPECT_EQ(lines.front(), "elapsed_ms,length");
    std::vector<TImprovement> trace;
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t comma = lines[i].find(',');
        trace.push_back(
            {std::atoll(lines[i].substr(0, comma).c_str()), std::strtod(lines[i].substr(comma + 1).c_str(), nullptr)});
    }
    return trace;
}

// The object of one method in compare's "methods" list.
std::string MethodObject(const std::string& json, const std::string& method)
{
    const size_t begin = json.find("{\"method\": \"" + method + "\"");
    if (begin == std::string::npos)
        return {};
    return json.substr(begin, json.find('}', begin) - begin + 1);
}

class CompareTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

}  // namespace

TEST_F(CompareTest, TraceOnlyShortensAndEndsAtTheReportedLength)
{
    const std::string file = RandomSet(Dir, 12);
    const struct {
        const char* Name;
        std::vector<std::string> Method;
    } rows[] = {
        {"random", {"--method", "random", "--tries", "5000"}},
        {"genetic", {"--method", "genetic"}},
        {"exact", {"--method", "exact"}},
        {"local", {"--method", "local", "--tries", "300"}},
        {"exhaustive", {"--method", "exhaustive"}},
    };
    for (const auto& row : rows) {
        const std::string trace = Dir.Path(std::string(row.Name) + ".csv");
        std::vector<std::string> args = {"solve", file, "--seed", "1000", "--json", "--trace", trace};
        args.insert(args.end(), row.Method.begin(), row.Method.end());
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << row.Name << run.Err;
        const std::vector<TImprovement> improvements = ReadTrace(ReadFileBytes(trace));
        ASSERT_FALSE(improvements.empty()) << row.Name;
        for (size_t i = 1; i < improvements.size(); ++i) {
            EXPECT_LT(improvements[i].Length, improvements[i - 1].Length) << row.Name << " line " << i;
            EXPECT_GE(improvements[i].ElapsedMs, improvements[i - 1].ElapsedMs) << row.Name << " line " << i;
        }
        EXPECT_EQ(improvements.back().Length, JsonNumber(run.Out, "length")) << row.Name;
        // Asked for a file, the JSON result has no list of its own.
        EXPECT_EQ(JsonField(run.Out, "improvements"), "") << row.Name;
    }
}

TEST_F(CompareTest, TraceToStandardOutputGoesIntoTheJsonOrBeforeTheResults)
{
    const std::string file = RandomSet(Dir, 12);
    const TCliRun json = RunCli({"solve", file, "--method", "genetic", "--seed", "7", "--json", "--trace", "-"});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    const std::string list = JsonField(json.Out, "improvements");
    ASSERT_EQ(list.rfind("[{\"elapsed_ms\": ", 0), 0u) << json.Out;
    // The list's last length is the one reported.
    const size_t last = list.rfind("\"length\": ");
    EXPECT_EQ(std::strtod(list.c_str() + last + 10, nullptr), JsonNumber(json.Out, "length"));

    const TCliRun text = RunCli({"solve", file, "--method", "genetic", "--seed", "7", "--trace", "-"});
    ASSERT_EQ(text.ExitCode, 0) << text.Err;
    const std::vector<TImprovement> improvements = ReadTrace(text.Out);
    ASSERT_FALSE(improvements.empty());
    EXPECT_EQ(improvements.back().Length, JsonNumber(json.Out, "length"));
    EXPECT_NE(text.Err.find("Długość najkrótszej drogi: "), std::string::npos) << text.Err;
}

TEST_F(CompareTest, TraceFileThatCantBeMadeStopsBeforeTheSearch)
{
    const std::string file = RandomSet(Dir, 5);
    const std::string trace = Dir.Path("no-folder/trace.csv");
    const TCliRun run = RunCli({"solve", file, "--trace", trace});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(trace + ": Błąd zapisu: "), std::string::npos) << run.Err;
}

TEST_F(CompareTest, TwelvePointsGetAllFiveMethodsAndNoneBeatsTheProvedOnes)
{
    const TCliRun run = RunCli({"compare", RandomSet(Dir, 12), "--time-limit", "1", "--seed", "1000", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(JsonNumber(run.Out, "points"), 12);
    const double exhaustive = JsonNumber(MethodObject(run.Out, "exhaustive"), "length");
    const double exact = JsonNumber(MethodObject(run.Out, "exact"), "length");
    EXPECT_EQ(exact, exhaustive);
    for (const char* method : {"exhaustive", "random", "genetic", "exact", "local"}) {
        const std::string object = MethodObject(run.Out, method);
        ASSERT_NE(object, "") << method;
        EXPECT_EQ(JsonField(object, "skipped"), "") << method;
        const double length = JsonNumber(object, "length");
        EXPECT_GE(length, exact) << method;
        EXPECT_GE(JsonNumber(object, "gap"), 0.0) << method;
        EXPECT_DOUBLE_EQ(JsonNumber(object, "ratio"), length / exact) << method;
    }
    // The proof is the best bound there is.
    EXPECT_EQ(JsonNumber(run.Out, "bound"), exact);

    const TCliRun table = RunCli({"compare", RandomSet(Dir, 12), "--time-limit", "1", "--seed", "1000"});
    const std::vector<std::string> lines = Lines(table.Out);
    ASSERT_EQ(lines.size(), 7u) << table.Out;
    EXPECT_EQ(lines[0].rfind("Metoda", 0), 0u);
    EXPECT_EQ(lines[6].rfind("Dolne ograniczenie długości drogi: ", 0), 0u);
}

TEST_F(CompareTest, TwoHundredPointsSkipExhaustiveWithItsReason)
{
    const TCliRun run = RunCli({"compare", RandomSet(Dir, 200), "--time-limit", "1", "--seed", "1000", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(JsonField(MethodObject(run.Out, "exhaustive"), "skipped").find("najwyżej 20 punktów"), std::string::npos)
        << run.Out;
    for (const char* method : {"random", "genetic", "exact", "local"})
        EXPECT_GT(JsonNumber(MethodObject(run.Out, method), "length"), 0.0) << method;
    // A bound of its own was computed: the gaps are known.
    EXPECT_GT(JsonNumber(run.Out, "bound"), 0.0);
    EXPECT_GE(JsonNumber(MethodObject(run.Out, "local"), "gap"), 0.0);
}

TEST_F(CompareTest, CtrlCStopsTheRunningMethodAndPrintsTheTable)
{
    // The local search runs its five seconds unless stopped.
    const TCliRun run = RunCli({"compare", RandomSet(Dir, 12), "--methods", "local,random"}, {.InterruptAfterMs = 500});
    EXPECT_EQ(run.ExitCode, 130);
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 4u) << run.Out;
    EXPECT_EQ(lines[1].rfind("local", 0), 0u);
    EXPECT_NE(lines[1].find("przerwano"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].rfind("random", 0), 0u);
    EXPECT_NE(lines[2].find("pominięto: "), std::string::npos) << lines[2];
}

TEST_F(CompareTest, NoMethodForTheSetIsAFailure)
{
    const TCliRun run = RunCli({"compare", RandomSet(Dir, 2), "--methods", "random,genetic"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Out.find("pominięto: Za mało punktów"), std::string::npos) << run.Out;
}

// The bound line calls the bound the length of a route proved shortest only
// when a row did prove its route; a stopped exact run proved less.
TEST_F(CompareTest, BoundIsCalledAProvedLengthOnlyWhenARouteWasProved)
{
    // Two places, nine and eight points on them.
    std::string text;
    for (int i = 0; i < 17; ++i)
        text += i < 9 ? "0; 0\r\n" : "1; 1\r\n";
    const std::string file = Dir.Path("two17.tvu");
    std::ofstream(file, std::ios::binary) << text;
    const TCliRun run = RunCli({"compare", file, "--methods", "exact", "--time-limit", "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 3u) << run.Out;
    const bool proved = lines[1].find("najkrótsza (udowodniona)") != std::string::npos;
    EXPECT_NE(proved, lines[1].find("przerwano") != std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].find("udowodnionej jako najkrótsza") != std::string::npos, proved) << lines[2];
}

// A large set builds no distance table: under an address space far below
// its 800 MB every method asked for runs, and the time limit holds the
// bound too.
TEST_F(CompareTest, LargeSetRunsWithoutADistanceTable)
{
    if (!AddressLimitsHold)
        GTEST_SKIP() << "the address sanitizer's shadow memory needs more address space than the limit";
    const std::string file = RandomSet(Dir, 10000);
    const TCliRun run =
        RunCli({"compare", file, "--methods", "local,random", "--time-limit", "1"}, {.AddressSpaceKiB = 500000});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 4u) << run.Out;
    EXPECT_EQ(lines[1].rfind("local", 0), 0u);
    EXPECT_EQ(lines[2].rfind("random", 0), 0u);
    EXPECT_EQ(lines[2].find("pominięto"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3].rfind("Dolne ograniczenie długości drogi: ", 0), 0u);
    EXPECT_NE(lines[3].find(" (szacowanie przerwane)"), std::string::npos) << lines[3];
    EXPECT_EQ(run.Err.find("tablic"), std::string::npos) << run.Err;

    EXPECT_EQ(RunCli({"solve", file, "--method", "random"}, {.AddressSpaceKiB = 500000}).ExitCode, 0);
}

// No point, no method: the bound of an empty set is 0, as "bound" says,
// not a bound that was interrupted.
TEST_F(CompareTest, EmptySetHasBoundZero)
{
    const std::string file = Dir.Path("empty.tvu");
    std::ofstream(file, std::ios::binary) << "";
    const TCliRun run = RunCli({"compare", file});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(Lines(run.Out).back(), "Dolne ograniczenie długości drogi: 0,00");
    EXPECT_EQ(JsonNumber(RunCli({"compare", file, "--json"}).Out, "bound"), 0.0);
    EXPECT_EQ(JsonNumber(RunCli({"bound", file, "--json"}).Out, "bound"), 0.0);
}
