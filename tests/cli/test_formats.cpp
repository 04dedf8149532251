// Point sets in .tvu, TSPLIB and CSV; routes as tours and CSV; maps as SVG.

#include <gtest/gtest.h>

#include <QImage>
#include <fstream>

#include "cli_runner.h"
#include "json_fields.h"
#include "picture/map_view_paint.h"
#include "raster/map_fit.h"
#include "raster/map_render.h"
#include "support/data_files.h"

namespace {

class FormatsTest : public ::testing::Test {
protected:
    // A file of tests/data, copied under its own name.
    std::string DataFile(const std::string& name) const
    {
        const std::string path = Dir.Path(name);
        std::ofstream(path, std::ios::binary) << DataFileText(name);
        return path;
    }
    std::string TextFile(const std::string& name, const std::string& text) const
    {
        const std::string path = Dir.Path(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    TScratchDir Dir;
};

struct TTsplibCase {
    const char* File;
    // The points as a .tvu text, each coordinate rounded by hand (halves
    // away from zero).
    std::string Points;
    // What standard error says about the rounding; empty for whole numbers.
    std::string Notice;
    // What convert to .tvu warns it loses; empty for whole numbers.
    std::string Loss;
};

const std::vector<TTsplibCase> TsplibCases = {
    {"att10.tsp",
     "120; 4310\r\n980; 3875\r\n2045; 4402\r\n3310; 3990\r\n4870; 3120\r\n5210; 1985\r\n4405; 870\r\n3020; 415\r\n"
     "1650; 760\r\n505; 1890\r\n",
     "", ""},
    {"decimal9.tsp", "13; 7\r\n-4; 100\r\n250; 251\r\n0; 0\r\n2000; -1\r\n42; 17\r\n3; 3\r\n-1001; 1001\r\n77; 88\r\n",
     "11 współrzędnych zaokrąglono do liczb całkowitych tylko na mapie; długości liczone są z wartości z pliku",
     "11 współrzędnych niecałkowitych"},
    {"exponent8.tsp", "200; 350\r\n1250; 40\r\n667; 1\r\n0; 4000\r\n2; 3\r\n3210; 2100\r\n988; 1235\r\n4000; 4000\r\n",
     "6 współrzędnych zaokrąglono do liczb całkowitych tylko na mapie; długości liczone są z wartości z pliku",
     "6 współrzędnych niecałkowitych"},
};

TEST_F(FormatsTest, TsplibFilesAreReadWithTheirRoundingReported)
{
    for (const TTsplibCase& tsplib : TsplibCases) {
        const std::string file = DataFile(tsplib.File);
        const TCliRun run = RunCli({"convert", file, "-"});
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out, tsplib.Points) << tsplib.File;
        // The rounding is told as the file is read, and again as the .tvu
        // text keeps only the rounded points.
        const std::string notice = tsplib.Notice.empty()
                                       ? ""
                                       : "tovu-cli convert: " + file + ": " + tsplib.Notice +
                                             "\ntovu-cli convert: -: " + "ostrzeżenie: plik .tvu nie zapisze " +
                                             tsplib.Loss + " (zapisze je zaokrąglone do liczb całkowitych)\n";
        EXPECT_EQ(run.Err, notice);
        // Every command reads the same way.
        const TCliRun solved = RunCli({"solve", file, "--method", "local", "--tries", "10", "--json"});
        EXPECT_EQ(solved.ExitCode, 0) << solved.Err;
        EXPECT_EQ(JsonField(solved.Out, "points"), std::to_string(Lines(tsplib.Points).size()));
        EXPECT_EQ(solved.Err, tsplib.Notice.empty() ? "" : "tovu-cli solve: " + file + ": " + tsplib.Notice + "\n");
    }
}

TEST_F(FormatsTest, TvuLinesWithoutNumbersAreWarnedAboutAndStillRead)
{
    const std::string file = TextFile("odd.tvu", "abc\r\n1; 2\r\nx; y\r\n; 5\r\n");
    const TCliRun run = RunCli({"convert", file, "-"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "0; 0\r\n1; 2\r\n0; 0\r\n0; 5\r\n");
    // "; 5" lost its X: one number unreadable, told on a line of its own.
    EXPECT_EQ(run.Err, "tovu-cli convert: " + file + ": ostrzeżenie: 1 wiersz z nieczytelną liczbą (przyjęto 0)\n" +
                           "tovu-cli convert: " + file +
                           ": ostrzeżenie: 2 wiersze bez liczb; czy to na pewno plik .tvu?\n");
}

TEST_F(FormatsTest, TsplibOnStandardInputIsNeverReadSilently)
{
    const TCliRun run =
        RunCli({"solve", "-", "--method", "local"}, {.InputPipe = true, .Input = DataFileText("grid12.tsp")});
    EXPECT_EQ(run.Err.rfind("tovu-cli solve: -: ostrzeżenie: ", 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find(" bez liczb; czy to na pewno plik .tvu?"), std::string::npos) << run.Err;
}

TEST_F(FormatsTest, ConvertRoundTripsKeepEveryPoint)
{
    for (const TTsplibCase& tsplib : TsplibCases) {
        const std::string source = DataFile(tsplib.File);
        ASSERT_EQ(RunCli({"convert", source, Dir.Path("a.tvu")}).ExitCode, 0);
        ASSERT_EQ(RunCli({"convert", Dir.Path("a.tvu"), Dir.Path("b.tsp")}).ExitCode, 0);
        ASSERT_EQ(RunCli({"convert", Dir.Path("b.tsp"), Dir.Path("c.csv")}).ExitCode, 0);
        const TCliRun back = RunCli({"convert", Dir.Path("c.csv"), "-"});
        EXPECT_EQ(back.Out, tsplib.Points) << tsplib.File;
        // Whole numbers all the way: nothing left to round.
        EXPECT_EQ(back.Err, "");
        EXPECT_EQ(ReadFileBytes(Dir.Path("a.tvu")), tsplib.Points);
        EXPECT_EQ(ReadFileBytes(Dir.Path("b.tsp")).rfind("NAME : b\n", 0), 0u);
    }
}

TEST_F(FormatsTest, ConvertToStandardOutputTakesTheFormatOption)
{
    const std::string file = Dir.WritePoints("two.tvu", {{1, 2}, {-3, 40}});
    EXPECT_EQ(RunCli({"convert", file, "-", "--format", "csv"}).Out, "x,y\n1,2\n-3,40\n");
    const std::string tsplib = RunCli({"convert", file, "-", "--format", "TSP"}).Out;
    EXPECT_EQ(tsplib.rfind("NAME : two\n", 0), 0u) << tsplib;
    EXPECT_NE(tsplib.find("NODE_COORD_SECTION\n1 1 2\n2 -3 40\n"), std::string::npos) << tsplib;
}

TEST_F(FormatsTest, RandomWritesTheFormatItsFileNames)
{
    ASSERT_EQ(RunCli({"random", "5", "--seed", "11", "-o", Dir.Path("drawn.csv")}).ExitCode, 0);
    const std::string tvu = RunCli({"random", "5", "--seed", "11"}).Out;
    EXPECT_EQ(ReadFileBytes(Dir.Path("drawn.csv")).rfind("x,y\n", 0), 0u);
    EXPECT_EQ(RunCli({"convert", Dir.Path("drawn.csv"), "-"}).Out, tvu);
}

TEST_F(FormatsTest, FoundRouteAsATourMeasuresTheSame)
{
    const std::string file = DataFile("decimal9.tsp");
    const TCliRun solved = RunCli({"solve", file, "--method", "exact", "--json", "-o", Dir.Path("best.tour")});
    ASSERT_EQ(solved.ExitCode, 0) << solved.Err;
    const std::string tour = ReadFileBytes(Dir.Path("best.tour"));
    EXPECT_EQ(tour.rfind("NAME : best\nTYPE : TOUR\nDIMENSION : 9\nTOUR_SECTION\n", 0), 0u) << tour;
    std::vector<int> numbers = NumbersIn(tour.substr(tour.find("TOUR_SECTION")));
    ASSERT_EQ(numbers.size(), 10u);
    EXPECT_EQ(numbers.back(), -1);
    const std::vector<int> route = NumbersIn(JsonField(solved.Out, "route"));
    for (size_t i = 0; i < route.size(); ++i)
        EXPECT_EQ(numbers[i], route[i] + 1);

    const TCliRun measured = RunCli({"length", file, "--tour", Dir.Path("best.tour"), "--json"});
    EXPECT_EQ(measured.ExitCode, 0) << measured.Err;
    EXPECT_EQ(JsonField(measured.Out, "length"), JsonField(solved.Out, "length"));
}

TEST_F(FormatsTest, RouteAsCsvListsOrderIndexAndCoordinates)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const TCliRun run = RunCli({"solve", file, "-o", Dir.Path("route.csv")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadFileBytes(Dir.Path("route.csv")), "kolejność,indeks,x,y\n1,2,6,8\n2,1,3,4\n3,0,0,0\n");
}

TEST_F(FormatsTest, RouteToStandardOutputSendsTheResultsToStandardError)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const TCliRun run = RunCli({"solve", file, "-o", "-", "--format", "csv"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "kolejność,indeks,x,y\n1,2,6,8\n2,1,3,4\n3,0,0,0\n");
    EXPECT_EQ(Lines(run.Err).size(), 3u) << run.Err;
    EXPECT_EQ(Lines(run.Err).at(1), "Długość najkrótszej drogi: 10,00");
    EXPECT_EQ(RunCli({"solve", file, "-o", "-"}).Out,
              "NAME : three\nTYPE : TOUR\nDIMENSION : 3\nTOUR_SECTION\n3\n2\n1\n-1\nEOF\n");
}

TEST_F(FormatsTest, TourOfAnotherSetIsAReadError)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const std::string tour = TextFile("four.tour", "TYPE : TOUR\nDIMENSION : 4\nTOUR_SECTION\n1\n2\n3\n4\n-1\nEOF\n");
    const TCliRun run = RunCli({"length", file, "--tour", tour});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err.rfind("tovu-cli length: " + tour + ": Błąd odczytu: ", 0), 0u) << run.Err;
}

TEST_F(FormatsTest, RouteWithMinusOneSkipsTheLegsAroundIt)
{
    const std::string file = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    // 0 -> 1 is 5; the legs into and out of -1 count nothing.
    EXPECT_EQ(RunCli({"length", file, "--route", "0,1,-1,2"}).Out, "Długość drogi: 5,00\n");
    EXPECT_EQ(RunCli({"length", file, "--route", "-1"}).Out, "Długość drogi: 0,00\n");
    EXPECT_EQ(RunCli({"length", file, "--route", "-1,0,2,-1"}).Out, "Długość drogi: 10,00\n");
}

TEST_F(FormatsTest, RandomMapMayBeFarWiderThanAPicture)
{
    const TCliRun run = RunCli({"random", "50", "--size", "100000x3", "--seed", "8"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    int wide = 0;
    for (const std::string& line : Lines(run.Out)) {
        const std::vector<int> xy = NumbersIn(line);
        ASSERT_EQ(xy.size(), 2u);
        EXPECT_LT(xy[0], 100000);
        EXPECT_LT(xy[1], 3);
        wide += xy[0] >= 8192 ? 1 : 0;
    }
    EXPECT_GT(wide, 0);
    const TCliRun widest = RunCli({"random", "20", "--size", "2147483647x2147483647", "--seed", "8"});
    EXPECT_EQ(widest.ExitCode, 0) << widest.Err;
    EXPECT_EQ(Lines(widest.Out).size(), 20u);
}

TEST_F(FormatsTest, SvgMapIsWrittenByItsExtension)
{
    const std::string file = Dir.WritePoints("set.tvu", {{10, 10}, {200, 40}, {300, 300}});
    for (const char* name : {"map.svg", "MAP.SVG"}) {
        const TCliRun run = RunCli({"render", file, "-o", Dir.Path(name), "--route", "0,1,2"});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::string svg = ReadFileBytes(Dir.Path(name));
        EXPECT_TRUE(svg.rfind("<?xml", 0) == 0 || svg.rfind("<svg", 0) == 0) << svg.substr(0, 40);
        EXPECT_NE(svg.find("</svg>"), std::string::npos);
    }
    const std::string piped = RunCli({"render", file, "-o", "-", "--format", "svg"}).Out;
    EXPECT_EQ(piped, RunCli({"render", file, "-o", "-", "--format", "svg"}).Out);
    EXPECT_NE(piped.find("<svg"), std::string::npos);
    EXPECT_EQ(RunCli({"render", file, "-o", "-"}).Out.substr(0, 8), "\x89PNG\r\n\x1a\n");

    // A terminal gets the SVG text, but never the PNG's bytes.
    TCliOptions terminal;
    terminal.StdoutOnTerminal = true;
    EXPECT_NE(RunCli({"render", file, "-o", "-", "--format", "svg"}, terminal).Out.find("<svg"), std::string::npos);
    const TCliRun png = RunCli({"render", file, "-o", "-"}, terminal);
    EXPECT_EQ(png.ExitCode, 2);
    EXPECT_EQ(png.Out, "");
    EXPECT_NE(png.Err.find("obraz PNG nie trafi na terminal"), std::string::npos) << png.Err;
}

TEST_F(FormatsTest, FittedMapIsTheWindowsFittedMap)
{
    // Far beyond the map: without the fit not one square is seen.
    const std::vector<std::pair<int, int>> far = {{100000, 100000}, {250000, 130000}, {170000, 400000}};
    const std::string file = Dir.WritePoints("far.tvu", far);
    ASSERT_EQ(RunCli({"render", file, "-o", Dir.Path("fit.png"), "--fit", "--size", "200x150"}).ExitCode, 0);
    TPointArray points;
    for (const auto& [x, y] : far)
        points.push_back({x, y, -1});
    // Fitted, the window draws the view's picture, sized for the points.
    TBitmap32 expected;
    RenderMapView(expected,
                  BuildMapViewPicture(
                      points, [](int32_t) { return false; }, 200, 150, FitMapToPoints(points, 200, 150), false));
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(Dir.Path("fit.png")), "PNG"));
    ASSERT_EQ(image.width(), 200);
    int differing = 0;
    int black = 0;
    for (int32_t y = 0; y < 150; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            differing += (image.pixel(x, y) & 0xFFFFFFu) != (expected.Pixel(x, y) & 0xFFFFFFu) ? 1 : 0;
            black += (image.pixel(x, y) & 0xFFFFFFu) == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(black, 0);
}

}  // namespace
