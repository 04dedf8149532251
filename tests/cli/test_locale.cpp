// The user's locale: system error texts speak its language, as in the window,
// while the numbers a script reads (JSON, point files) never change.

#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

namespace {

struct TErrorCase {
    const char* Name;
    std::string Locale;
    // NAME is replaced by a file name in a fresh directory.
    std::vector<std::string> Args;
    std::string Err;
};

void PrintTo(const TErrorCase& errorCase, std::ostream* out)
{
    *out << errorCase.Name;
}

// A name one byte longer than any file system allows.
const std::string LongName = std::string(256, 'a') + ".tvu";

const std::vector<TErrorCase> ErrorCases = {
    {"MissingFileInPolish", "pl_PL.UTF-8", {"solve", "NAME"}, "Błąd odczytu: Nie ma takiego pliku ani katalogu\n"},
    {"PolishLettersKept", "pl_PL.UTF-8", {"solve", LongName}, "Błąd odczytu: Za długa nazwa pliku\n"},
    {"WriteIntoMissingFolderInPolish",
     "pl_PL.UTF-8",
     {"random", "3", "-o", "NAME/set.tvu"},
     "Błąd zapisu: Nie ma takiego pliku ani katalogu\n"},
    {"MissingFileInEnglish", "C.UTF-8", {"solve", "NAME"}, "Błąd odczytu: No such file or directory\n"},
    {"MissingFileInGerman",
     "de_DE.UTF-8",
     {"length", "NAME", "--route", "0"},
     "Błąd odczytu: Datei oder Verzeichnis nicht gefunden\n"},
};

class SystemErrorTest : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(SystemErrorTest, FollowsTheLocale)
{
    TScratchDir dir;
    std::vector<std::string> args = GetParam().Args;
    for (std::string& arg : args)
        if (arg.rfind("NAME", 0) == 0)
            arg = dir.Path("none") + arg.substr(4);
    const TCliRun run = RunCli(args, {.Locale = GetParam().Locale});
    EXPECT_EQ(run.ExitCode, 1);
    // The line names the command and the file first; the system's text ends it.
    const std::string& expected = GetParam().Err;
    EXPECT_EQ(run.Err.rfind("tovu-cli ", 0), 0u) << run.Err;
    ASSERT_GE(run.Err.size(), expected.size()) << run.Err;
    EXPECT_EQ(run.Err.substr(run.Err.size() - expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(Locale, SystemErrorTest, ::testing::ValuesIn(ErrorCases),
                         [](const ::testing::TestParamInfo<TErrorCase>& info) { return std::string(info.param.Name); });

TEST(LocaleTest, ScriptNumbersAreTheSameInEveryLocale)
{
    TScratchDir dir;
    const std::string file = dir.WritePoints("set.tvu", {{0, 0}, {1, 1}, {3, 2}, {-4, 7}});
    const std::vector<std::vector<std::string>> commands = {
        {"length", file, "--route", "0,1,2,3", "--json"},
        {"random", "20", "--size", "300x200", "--seed", "4321"},
    };
    for (const std::vector<std::string>& args : commands) {
        const TCliRun reference = RunCli(args, {.Locale = "C"});
        ASSERT_EQ(reference.ExitCode, 0);
        for (const std::string locale : {"pl_PL.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
            const TCliRun run = RunCli(args, {.Locale = locale});
            EXPECT_EQ(run.Out, reference.Out) << locale << " " << args.front();
        }
    }
    EXPECT_NE(RunCli(commands.front()).Out.find('.'), std::string::npos);
}

}  // namespace
