#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <regex>

#include "cli_runner.h"
#include "core/point_file.h"
#include "core/point_set.h"
#include "picture/map_view_paint.h"
#include "raster/map_render.h"
#include "raster/map_view_picture.h"

namespace {

QImage ReadPng(const std::string& path)
{
    QImage image;
    image.load(QString::fromStdString(path), "PNG");
    return image;
}

// The picture the window's map would show for these points.
TBitmap32 WindowPicture(const std::string& file, const TSpecimen& route, const std::vector<int32_t>& selection,
                        int32_t width, int32_t height)
{
    TPointArray points;
    EXPECT_TRUE(ReadPointSetFile(file, points).Ok());
    if (!route.empty())
        ApplyBestRoute(points, route);
    TBitmap32 surface;
    RenderMap(surface, width, height, points,
              [&](int32_t i) { return std::find(selection.begin(), selection.end(), i) != selection.end(); });
    return surface;
}

// Counts the pixels whose red, green and blue differ.
int DifferingPixels(const QImage& image, const TBitmap32& surface)
{
    int differing = 0;
    for (int32_t y = 0; y < surface.Height(); ++y)
        for (int32_t x = 0; x < surface.Width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != (surface.Pixel(x, y) & 0xFFFFFFu))
                ++differing;
    return differing;
}

class RenderTest : public ::testing::Test {
protected:
    TScratchDir Dir;
};

TEST_F(RenderTest, PictureIsTheMapsPixelForPixel)
{
    const std::string file = Dir.WritePoints("set.tvu", {{10, 10}, {200, 40}, {300, 300}, {50, 250}, {480, 370}});
    const TCliRun run = RunCli({"render", file, "-o", Dir.Path("map.png"), "--route", "3,0,1,4,2", "--select", "1,4"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    const QImage image = ReadPng(Dir.Path("map.png"));
    ASSERT_EQ(image.width(), 495);
    ASSERT_EQ(image.height(), 382);
    EXPECT_FALSE(image.hasAlphaChannel());
    EXPECT_EQ(DifferingPixels(image, WindowPicture(file, {3, 0, 1, 4, 2}, {1, 4}, 495, 382)), 0);
}

TEST_F(RenderTest, SquaresLinksAndFrameHaveTheMapsColours)
{
    const std::string file = Dir.WritePoints("set.tvu", {{10, 10}, {40, 10}, {20, 30}});
    ASSERT_EQ(RunCli({"render", file, "-o", Dir.Path("map.png"), "--size", "60x50", "--route", "0,1", "--select", "2"})
                  .ExitCode,
              0);
    const QImage image = ReadPng(Dir.Path("map.png"));
    ASSERT_EQ(image.size(), QSize(60, 50));
    EXPECT_EQ(image.pixel(0, 0), 0xFF7F7F7Fu);  // frame
    EXPECT_EQ(image.pixel(59, 49), 0xFF7F7F7Fu);
    EXPECT_EQ(image.pixel(13, 13), 0xFF000000u);  // 4 x 4 square of point 0
    EXPECT_EQ(image.pixel(14, 14), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(25, 35), 0xFFFF0000u);  // 6 x 6 red square of point 2
    EXPECT_EQ(image.pixel(26, 36), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(25, 10), 0xFF000000u);  // the link 0 -> 1 along row 10
    EXPECT_EQ(image.pixel(45, 10), 0xFFFFFFFFu);  // point 1 has no successor
}

TEST_F(RenderTest, EmptySetIsWhiteInsideTheGreyFrame)
{
    ASSERT_EQ(RunCli({"render", Dir.WritePoints("empty.tvu", {}), "-o", Dir.Path("map.png"), "--size", "8x6"}).ExitCode,
              0);
    const QImage image = ReadPng(Dir.Path("map.png"));
    EXPECT_EQ(image.pixel(0, 3), 0xFF7F7F7Fu);
    EXPECT_EQ(image.pixel(4, 3), 0xFFFFFFFFu);
}

TEST_F(RenderTest, RoundTripFromRandomThroughSolveToRender)
{
    const std::string file = Dir.Path("drawn.tvu");
    ASSERT_EQ(RunCli({"random", "8", "--seed", "2024", "-o", file}).ExitCode, 0);
    const TCliRun solved = RunCli({"solve", file, "--json"});
    ASSERT_EQ(solved.ExitCode, 0) << solved.Err;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(solved.Out, match, std::regex(R"("route": \[([0-9, ]+)\])")));
    const std::string routeList = std::regex_replace(match[1].str(), std::regex(" "), "");

    ASSERT_EQ(RunCli({"render", file, "--route", routeList, "-o", Dir.Path("route.png")}).ExitCode, 0);
    TSpecimen route;
    for (size_t start = 0; start < routeList.size();) {
        const size_t comma = routeList.find(',', start);
        route.push_back(std::stoi(routeList.substr(start, comma - start)));
        start = comma == std::string::npos ? routeList.size() : comma + 1;
    }
    EXPECT_EQ(route.size(), 8u);
    EXPECT_EQ(DifferingPixels(ReadPng(Dir.Path("route.png")), WindowPicture(file, route, {}, 495, 382)), 0);
    // The links make a difference to the picture.
    EXPECT_GT(DifferingPixels(ReadPng(Dir.Path("route.png")), WindowPicture(file, {}, {}, 495, 382)), 0);
}

// Points beyond the picture: it shows the whole set, as the window does a
// set it opens, and says so; a route may come from a tour file.
TEST_F(RenderTest, SetBeyondThePictureIsShownWholeAndSaysSo)
{
    const std::vector<std::pair<int, int>> far = {{-5000, 300}, {90000, 4000}, {40000, 70000}};
    const std::string file = Dir.WritePoints("far.tvu", far);
    const std::string tour = Dir.Path("far.tour");
    std::ofstream(tour) << "NAME : far\nTYPE : TOUR\nDIMENSION : 3\nTOUR_SECTION\n3\n1\n2\n-1\nEOF\n";
    const TCliRun run = RunCli({"render", file, "--tour", tour, "-o", Dir.Path("far.png"), "--size", "300x200"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "tovu-cli render: " + file +
                           ": punkty wychodzą poza obraz 300x200, więc obraz pokazuje cały zbiór (jak z --fit)\n");
    TPointArray points;
    for (const auto& [x, y] : far)
        points.push_back({x, y, -1});
    ApplyBestRoute(points, {2, 0, 1});
    TBitmap32 expected;
    RenderMapView(expected, BuildMapViewPicture(points, {}, 300, 200, FitMapToPoints(points, 300, 200), false));
    EXPECT_EQ(DifferingPixels(ReadPng(Dir.Path("far.png")), expected), 0);
}

// --no-fit: the map at 1:1 whatever the set, what lies beyond cut off, and
// nothing to say about it.
TEST_F(RenderTest, NoFitDrawsTheMapAtItsOwnScale)
{
    const std::string file = Dir.WritePoints("wide.tvu", {{10, 10}, {200, 40}, {900, 300}, {50, 2500}});
    const TCliRun run =
        RunCli({"render", file, "--no-fit", "--route", "0,1,2,3", "--select", "1", "-o", Dir.Path("map.png")});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const QImage image = ReadPng(Dir.Path("map.png"));
    ASSERT_EQ(image.width(), 495);
    EXPECT_EQ(DifferingPixels(image, WindowPicture(file, {0, 1, 2, 3}, {1}, 495, 382)), 0);
    EXPECT_EQ(RunCli({"render", file, "--fit", "--no-fit", "-o", Dir.Path("x.png")}).ExitCode, 2);
}

TEST_F(RenderTest, PdfIsAPageOfTheSizeAskedForOrA4)
{
    const std::string file = Dir.WritePoints("set.tvu", {{10, 10}, {200, 40}, {300, 300}});
    const struct {
        const char* Name;
        std::vector<std::string> Size;
        const char* MediaBox;
    } rows[] = {
        {"A4 by default", {}, "/MediaBox [0 0 595.000000 842.000000]"},
        {"960 x 480 pixels", {"--size", "960x480"}, "/MediaBox [0 0 720.000000 360.000000]"},
    };
    for (const auto& row : rows) {
        std::vector<std::string> args = {"render", file, "--route", "0,1,2", "--numbers", "-o", Dir.Path("map.pdf")};
        args.insert(args.end(), row.Size.begin(), row.Size.end());
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << row.Name << run.Err;
        EXPECT_EQ(run.Err, "") << row.Name;
        const std::string pdf = ReadFileBytes(Dir.Path("map.pdf"));
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u) << row.Name;
        EXPECT_NE(pdf.find(row.MediaBox), std::string::npos) << row.Name;
    }
}

TEST_F(RenderTest, UnwritableTargetLeavesNoPicture)
{
    const std::string file = Dir.WritePoints("set.tvu", {{1, 1}});
    const TCliRun run = RunCli({"render", file, "-o", Dir.Path("no/such/map.png")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err,
              "tovu-cli render: " + Dir.Path("no/such/map.png") + ": Błąd zapisu: " + SystemErrorIn(ENOENT) + "\n");
}

TEST_F(RenderTest, MissingPointFileIsAReadError)
{
    const TCliRun run = RunCli({"render", Dir.Path("none.tvu"), "-o", Dir.Path("map.png")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, "tovu-cli render: " + Dir.Path("none.tvu") + ": Błąd odczytu: " + SystemErrorIn(ENOENT) + "\n");
    EXPECT_FALSE(FileExists(Dir.Path("map.png")));
}

}  // namespace
