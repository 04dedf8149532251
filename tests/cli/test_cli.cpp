#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TRun {
    std::string Out;
    int Status = -1;
};

// Runs the tool through the shell with a fixed locale; standard error goes
// to the file named by errFile when given.
TRun RunCli(const std::string& arguments, const std::string& errFile = "/dev/null")
{
    const std::string command =
        std::string("LC_ALL=pl_PL.UTF-8 LANG=pl_PL.UTF-8 '") + TOVU_CLI + "' " + arguments + " 2>" + errFile;
    TRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.Out.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Sample()
{
    return std::string("'") + TOVU_SOURCE_DIR + "/examples/sample.tvu'";
}

std::string TempName(const std::string& name)
{
    return "/tmp/tovu-cli-test-" + std::to_string(::getpid()) + "-" + name;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(Cli, SolvePrintsTheResultLinesAndTheRoute)
{
    const std::string file = TempName("two.tvu");
    std::ofstream(file, std::ios::binary) << "0; 0\r\n3; 4\r\n";
    const TRun run = RunCli("solve " + file);
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("Czas przeszukiwania: "), std::string::npos);
    EXPECT_NE(run.Out.find("Długość najkrótszej drogi: 5,00\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Droga: 1 0\n"), std::string::npos) << run.Out;
    std::remove(file.c_str());
}

TEST(Cli, SeededRandomAndGeneticRunsRepeatExactly)
{
    for (const char* method : {"random", "genetic"}) {
        const std::string arguments = "solve " + Sample() + " --method " + method + " --seed 4242 --json";
        const TRun first = RunCli(arguments);
        const TRun second = RunCli(arguments);
        EXPECT_EQ(first.Status, 0) << method;
        EXPECT_EQ(first.Out.substr(0, first.Out.find("\"elapsed_ms\"")),
                  second.Out.substr(0, second.Out.find("\"elapsed_ms\"")))
            << method;
        EXPECT_NE(first.Out.find("\"points\": 10"), std::string::npos) << first.Out;
    }
}

TEST(Cli, RefusalsUsageErrorsAndMissingFilesHaveTheirExitCodes)
{
    const std::string errors = TempName("stderr.txt");
    const std::string two = TempName("two.tvu");
    std::ofstream(two, std::ios::binary) << "0; 0\r\n3; 4\r\n";
    EXPECT_EQ(RunCli("solve " + two + " --method genetic", errors).Status, 1);
    EXPECT_NE(ReadFile(errors).find("Za mało punktów dla wybranej metody (potrzeba co najmniej 4)."),
              std::string::npos)
        << ReadFile(errors);
    EXPECT_EQ(RunCli("solve " + Sample() + " --method random --tries 40000").Status, 2);
    EXPECT_EQ(RunCli("solve " + Sample() + " --population x --method genetic").Status, 2);
    EXPECT_EQ(RunCli("frobnicate").Status, 2);
    EXPECT_EQ(RunCli("solve /nonexistent/none.tvu", errors).Status, 1);
    EXPECT_NE(ReadFile(errors).find("Błąd odczytu"), std::string::npos);
    std::remove(errors.c_str());
    std::remove(two.c_str());
}

TEST(Cli, RandomSolveAndRenderRoundTrip)
{
    const std::string points = TempName("random.tvu");
    const std::string picture = TempName("map.png");
    ASSERT_EQ(RunCli("random 7 --size 200x100 --seed 99 -o " + points).Status, 0);
    const std::string text = ReadFile(points);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    const TRun solved = RunCli("solve " + points + " --json");
    ASSERT_EQ(solved.Status, 0);
    const size_t open = solved.Out.find("\"route\": [");
    ASSERT_NE(open, std::string::npos);
    std::string route = solved.Out.substr(open + 10, solved.Out.find(']', open) - open - 10);
    route.erase(std::remove(route.begin(), route.end(), ' '), route.end());
    ASSERT_EQ(RunCli("render " + points + " -o " + picture + " --size 200x100 --route " + route).Status, 0);
    const std::string png = ReadFile(picture);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    const TRun length = RunCli("length " + points + " --route " + route);
    EXPECT_EQ(length.Status, 0);
    EXPECT_EQ(length.Out.rfind("Długość drogi: ", 0), 0u) << length.Out;
    std::remove(points.c_str());
    std::remove(picture.c_str());
}

TEST(Cli, VersionComesFromTheBuild)
{
    const TRun run = RunCli("--version");
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("1.0.0.13"), std::string::npos);
}
