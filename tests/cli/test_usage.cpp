#include <gtest/gtest.h>

#include "cli_runner.h"
#include "version.h"

namespace {

struct TUsageCase {
    const char* Name;
    std::vector<std::string> Args;
    // What the one line on standard error must say.
    std::string Says;
};

// FILE is replaced by a readable three-point file.
const std::vector<TUsageCase> UsageCases = {
    {"NoCommand", {}, "tovu-cli: brak polecenia"},
    {"UnknownCommand", {"solv"}, "nieznane polecenie „solv”"},
    {"UnknownOption", {"solve", "FILE", "--fast"}, "nieznana opcja --fast"},
    {"MissingValue", {"solve", "FILE", "--tries"}, "opcja --tries wymaga wartości"},
    {"FlagWithValue", {"solve", "FILE", "--json=yes"}, "opcja --json nie przyjmuje wartości"},
    {"MissingFile", {"solve"}, "brak argumentu: PLIK"},
    {"ExtraArgument", {"solve", "FILE", "FILE"}, "nadmiarowy argument"},
    {"UnknownMethod", {"solve", "FILE", "--method", "greedy"}, "--method: nieznana metoda „greedy”"},
    {"TriesBelowRange",
     {"solve", "FILE", "--method", "random", "--tries", "0"},
     "--tries: wartość 0 poza zakresem 1..32000"},
    {"TriesAboveRange", {"solve", "FILE", "--method", "random", "--tries", "32001"}, "poza zakresem 1..32000"},
    {"TriesNotANumber",
     {"solve", "FILE", "--method", "random", "--tries", "12a"},
     "--tries: oczekiwano liczby całkowitej"},
    {"PopulationBelowRange", {"solve", "FILE", "--method", "genetic", "--population", "9"}, "poza zakresem 10..1000"},
    {"GenerationsBelowRange",
     {"solve", "FILE", "--method", "genetic", "--generations", "99"},
     "poza zakresem 100..32000"},
    {"ThresholdAboveRange", {"solve", "FILE", "--method", "genetic", "--threshold", "101"}, "poza zakresem 1..100"},
    {"BothStopRules",
     {"solve", "FILE", "--method", "genetic", "--generations", "200", "--threshold", "2"},
     "wykluczają się"},
    {"RateWithDecimalComma",
     {"solve", "FILE", "--method", "genetic", "--mutation", "0,05"},
     "--mutation: oczekiwano liczby dziesiętnej z kropką"},
    {"RateNotFinite",
     {"solve", "FILE", "--method", "genetic", "--crossover", "inf"},
     "--crossover: oczekiwano liczby dziesiętnej"},
    {"OptionOfAnotherMethod", {"solve", "FILE", "--tries", "10"}, "opcja --tries dotyczy tylko metod random i local"},
    {"TriesWithGenetic",
     {"solve", "FILE", "--method", "genetic", "--tries", "10"},
     "dotyczy tylko metod random i local"},
    {"LocalTriesBelowRange",
     {"solve", "FILE", "--method", "local", "--tries", "0"},
     "--tries: wartość 0 poza zakresem 1..10000000"},
    {"LocalTriesAboveRange",
     {"solve", "FILE", "--method", "local", "--tries", "10000001"},
     "poza zakresem 1..10000000"},
    {"TimeLimitBelowRange",
     {"solve", "FILE", "--method", "local", "--time-limit", "0.5"},
     "--time-limit: wartość 0.5 poza zakresem 1..3600"},
    {"TimeLimitAboveRange", {"solve", "FILE", "--method", "local", "--time-limit", "3601"}, "poza zakresem 1..3600"},
    {"TimeLimitNotANumber",
     {"solve", "FILE", "--method", "local", "--time-limit", "2s"},
     "--time-limit: oczekiwano liczby dziesiętnej"},
    {"TriesAndTimeLimit",
     {"solve", "FILE", "--method", "local", "--tries", "5", "--time-limit", "2"},
     "opcje --tries i --time-limit wykluczają się"},
    {"TimeLimitWithRandom",
     {"solve", "FILE", "--method", "random", "--time-limit", "2"},
     "opcja --time-limit dotyczy tylko metod exact i local"},
    {"EndOnARoundTrip", {"solve", "FILE", "--round-trip", "--end", "1"}, "--end: Droga zamknięta wraca"},
    {"StartBeyondTheSet",
     {"solve", "FILE", "--method", "exact", "--start", "3"},
     "--start: nie ma punktu 3 (indeksy punktów: 0..2)"},
    {"NegativeStart", {"solve", "FILE", "--method", "local", "--start", "-1"}, "--start: nie ma punktu -1"},
    {"ThreadsWithGenetic",
     {"solve", "FILE", "--method", "genetic", "--threads", "2"},
     "opcja --threads dotyczy tylko metod exhaustive i local"},
    {"ZeroThreads", {"solve", "FILE", "--threads", "0"}, "--threads: wartość 0 poza zakresem 1..256"},
    {"TooManyThreads", {"solve", "FILE", "--threads", "257"}, "poza zakresem 1..256"},
    {"RouteFileAsPointFile",
     {"solve", "FILE", "-o", "x.tvu"},
     "-o: drogę zapisuje się do pliku .tour albo .csv, podano"},
    {"FormatBesideAFile", {"solve", "FILE", "-o", "x.tour", "--format", "csv"}, "opcja --format dotyczy tylko zapisu"},
    {"FormatWithoutOutput", {"solve", "FILE", "--format", "csv"}, "opcja --format dotyczy tylko zapisu"},
    {"UnknownRouteFormat",
     {"solve", "FILE", "-o", "-", "--format", "gpx"},
     "--format: nieznany rodzaj pliku „gpx” (tour albo csv)"},
    {"BoundWithValue", {"solve", "FILE", "--bound=1"}, "opcja --bound nie przyjmuje wartości"},
    {"BoundCommandExtraArgument", {"bound", "FILE", "FILE"}, "nadmiarowy argument"},
    {"BoundCommandUnknownOption", {"bound", "FILE", "--method", "exact"}, "nieznana opcja --method"},
    {"SeedPastMidnight", {"solve", "FILE", "--seed", "86400000"}, "--seed: wartość 86400000 poza zakresem 0..86399999"},
    {"NegativeSeed", {"random", "3", "--seed", "-1"}, "poza zakresem 0..86399999"},
    {"TooManyRandomPoints", {"random", "10001"}, "poza zakresem 0..10000"},
    {"ZeroMapSide", {"random", "3", "--size", "0x10"}, "--size: rozmiar 0x10 poza zakresem"},
    {"SizeWithoutX", {"random", "3", "--size", "495"}, "--size: oczekiwano rozmiaru SZERxWYS"},
    {"RenderWithoutOutput", {"render", "FILE"}, "brak opcji -o OBRAZ"},
    {"RenderJpeg", {"render", "FILE", "-o", "x.jpg"}, "-o: obraz zapisuje się do pliku .png, .svg albo .pdf, podano"},
    {"RenderWithoutExtension", {"render", "FILE", "-o", "x"}, "-o: obraz zapisuje się do pliku .png, .svg albo .pdf"},
    {"RenderRouteAndTour",
     {"render", "FILE", "-o", "x.png", "--route", "0", "--tour", "x.tour"},
     "opcje --route i --tour wykluczają się"},
    {"RenderUnknownFormat", {"render", "FILE", "-o", "-", "--format", "gif"}, "--format: nieznany rodzaj pliku „gif”"},
    {"RenderWiderThanAPicture",
     {"render", "FILE", "-o", "x.png", "--size", "100000x3"},
     "--size: rozmiar 100000x3 poza zakresem 1x1..8192x8192"},
    {"RandomMapBeyondInt32", {"random", "3", "--size", "2147483648x1"}, "poza zakresem 1x1..2147483647x2147483647"},
    {"ConvertWithoutArguments", {"convert"}, "brak argumentu: WEJŚCIE"},
    {"ConvertWithoutTarget", {"convert", "FILE"}, "brak argumentu: WYJŚCIE"},
    {"ConvertToText",
     {"convert", "FILE", "x.txt"},
     "WYJŚCIE: zbiór punktów zapisuje się do pliku .tvu, .tsp albo .csv, podano"},
    {"ConvertFormatBesideAFile", {"convert", "FILE", "x.csv", "--format", "tsp"}, "opcja --format dotyczy tylko"},
    {"RouteWithEmptyItem", {"length", "FILE", "--route", "0,,1"}, "--route: oczekiwano indeksów punktów"},
    {"RouteWithPlusSign", {"length", "FILE", "--route", "+1,0,2"}, "--route: oczekiwano indeksów punktów"},
    {"SelectionWithPlusSign", {"render", "FILE", "-o", "x.png", "--select", "+1"}, "--select: oczekiwano indeksów"},
    {"RouteBeyondTheSet", {"length", "FILE", "--route", "0,3"}, "--route: nie ma punktu 3 (indeksy punktów: 0..2)"},
    {"SelectionBeyondTheSet", {"render", "FILE", "-o", "x.png", "--select", "-1"}, "--select: nie ma punktu -1"},
    {"LengthWithoutRoute", {"length", "FILE"}, "brak opcji --route albo --tour"},
    {"RouteAndTour", {"length", "FILE", "--route", "0", "--tour", "x.tour"}, "opcje --route i --tour wykluczają się"},
    {"RouteBelowMinusOne", {"length", "FILE", "--route", "0,-2"}, "--route: nie ma punktu -2"},
    {"TraceAndRouteBothToStandardOutput",
     {"solve", "FILE", "--trace", "-", "-o", "-"},
     "opcje --trace - i -o - nie mogą obie pisać na standardowe wyjście"},
    {"CompareUnknownMethod", {"compare", "FILE", "--methods", "random,greedy"}, "--methods: nieznana metoda „greedy”"},
    {"CompareMethodTwice", {"compare", "FILE", "--methods", "local,local"}, "metoda local podana dwa razy"},
    {"CompareTimeLimitBelowRange", {"compare", "FILE", "--time-limit", "0"}, "--time-limit: wartość 0 poza zakresem"},
    {"CompareForeignOption", {"compare", "FILE", "--tries", "5"}, "nieznana opcja --tries"},
};

void PrintTo(const TUsageCase& usageCase, std::ostream* out)
{
    *out << usageCase.Name;
}

class UsageErrorTest : public ::testing::TestWithParam<TUsageCase> {};

TEST_P(UsageErrorTest, GivesOnePolishLineAndStatusTwo)
{
    TScratchDir dir;
    const std::string file = dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    std::vector<std::string> args = GetParam().Args;
    for (std::string& arg : args) {
        if (arg == "FILE")
            arg = file;
        // Output files live in the scratch folder, and none may appear.
        if (arg.rfind("x.", 0) == 0 || arg == "x")
            arg = dir.Path(arg);
    }
    const TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_NE(run.Err.find(GetParam().Says), std::string::npos) << run.Err;
    EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
    EXPECT_NE(run.Err.find("--help"), std::string::npos);
    for (const char* name : {"x.png", "x.jpg", "x", "x.tvu", "x.tour", "x.txt", "x.csv"})
        EXPECT_FALSE(FileExists(dir.Path(name))) << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, UsageErrorTest, ::testing::ValuesIn(UsageCases),
                         [](const ::testing::TestParamInfo<TUsageCase>& info) { return info.param.Name; });

TEST(HelpTest, GeneralHelpListsTheCommands)
{
    const TCliRun run = RunCli({"--help"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Err, "");
    for (const char* command : {"solve", "compare", "bound", "random", "render", "length", "convert"})
        EXPECT_NE(run.Out.find(std::string("  ") + command + " "), std::string::npos) << command;
}

TEST(HelpTest, EveryCommandHasItsOwnHelp)
{
    for (const char* command : {"solve", "compare", "bound", "random", "render", "length", "convert"}) {
        const TCliRun run = RunCli({command, "--help"});
        EXPECT_EQ(run.ExitCode, 0) << command;
        EXPECT_EQ(run.Out.rfind(std::string("Użycie: tovu-cli ") + command, 0), 0u) << run.Out;
    }
}

TEST(HelpTest, HelpWinsOverAWrongCommandLine)
{
    const TCliRun run = RunCli({"solve", "--fast", "--tries", "--help"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out.rfind("Użycie: tovu-cli solve", 0), 0u);
}

TEST(HelpTest, SolveHelpNamesEveryOption)
{
    const std::string help = RunCli({"solve", "--help"}).Out;
    for (const char* option :
         {"--method", "--tries", "--time-limit", "--start", "--threads", "--population", "--crossover", "--mutation",
          "--generations", "--threshold", "--keep-best", "--seed", "--bound", "-o ", "--format", "--json", "--trace"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    for (const char* method : {"exhaustive", "random", "genetic", "exact", "local"})
        EXPECT_NE(help.find(std::string("  ") + method + " "), std::string::npos) << method;
}

TEST(VersionTest, PrintsTheBuildsVersion)
{
    const TCliRun run = RunCli({"--version"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, std::string("tovu-cli ") + tovu::VersionText + "\n");
}

}  // namespace
