#include <gtest/gtest.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <random>
#include <regex>
#include <string>

#include "picture/map_view_paint.h"
#include "picture/map_view_svg.h"
#include "raster/map_view.h"
#include "raster/map_view_picture.h"

namespace {

// The PDF writer and the numbers' type need a running application.
class TGuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FApplication = std::make_unique<QGuiApplication>(FArgc, FArgv); }
    void TearDown() override { FApplication.reset(); }

private:
    int FArgc = 1;
    char FName[16] = "picture_test";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QGuiApplication> FApplication;
};

[[maybe_unused]] const ::testing::Environment* const GuiEnvironment =
    ::testing::AddGlobalTestEnvironment(new TGuiEnvironment);

TPointArray RandomRoute(int32_t count, int32_t range, uint32_t seed)
{
    std::mt19937 random(seed);
    TPointArray points(static_cast<size_t>(count));
    for (TMapPoint& point : points)
        point = {static_cast<int32_t>(random() % static_cast<uint32_t>(range)),
                 static_cast<int32_t>(random() % static_cast<uint32_t>(range)), -1};
    TSpecimen route(points.size());
    std::iota(route.begin(), route.end(), 0);
    ApplyBestRoute(points, route);
    return points;
}

TMapViewPicture FittedPicture(const TPointArray& points, int32_t width, int32_t height, bool numbers = false)
{
    return BuildMapViewPicture(
        points, [](int32_t i) { return i == 3; }, width, height, FitMapToPoints(points, width, height), numbers);
}

// The d attribute of the SVG's one stroked path.
std::string RoutePath(const std::string& svg)
{
    const size_t path = svg.find("<path fill=\"none\"");
    const size_t from = path == std::string::npos ? path : svg.find(" d=\"", path);
    if (from == std::string::npos)
        return {};
    return svg.substr(from + 4, svg.find('"', from + 4) - from - 4);
}

TEST(MapViewFiles, SvgOfTenThousandPointsIsOneUnroundedPathUnderAMegabyte)
{
    const TPointArray points = RandomRoute(10000, 1000000, 11);
    const std::string svg = EncodeMapViewSvg(FittedPicture(points, 4000, 4000));
    EXPECT_LT(svg.size(), 1000000u);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    const std::string path = RoutePath(svg);
    EXPECT_EQ(std::count(path.begin(), path.end(), 'M'), 1);
    EXPECT_EQ(std::count(path.begin(), path.end(), 'L'), 9999);
    // Places between pixels, not rounded to them.
    EXPECT_TRUE(std::regex_search(path.substr(0, 40), std::regex("^M[0-9]+\\.[0-9]{1,2} [0-9]+\\.[0-9]{1,2} L")));
}

// Qt's SVG renderer draws the file back much as the painter drew the
// picture: the same ground, marks and links, smoothed a little otherwise.
TEST(MapViewFiles, SvgShowsWhatThePainterDraws)
{
    const TPointArray points = RandomRoute(40, 1000, 3);
    const TMapViewPicture picture = FittedPicture(points, 300, 200);
    TBitmap32 painted;
    RenderMapView(painted, picture);
    QImage drawn(300, 200, QImage::Format_RGB32);
    drawn.fill(Qt::blue);
    QSvgRenderer renderer(QByteArray::fromStdString(EncodeMapViewSvg(picture)));
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    int far = 0;
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 300; ++x)
            far += std::abs(qGray(drawn.pixel(x, y)) - qGray(painted.Pixel(x, y))) > 96 ? 1 : 0;
    EXPECT_LT(far, 300 * 200 / 200);
}

TEST(MapViewFiles, NumbersAreTextInTheSvgAndInkInThePicture)
{
    const TPointArray points = {{0, 0, 1}, {100, 0, 2}, {100, 100, -1}};
    const TMapViewPicture numbered = FittedPicture(points, 400, 300, true);
    ASSERT_EQ(numbered.Labels.size(), 3u);
    const std::string svg = EncodeMapViewSvg(numbered);
    EXPECT_NE(svg.find(">2</text>"), std::string::npos);
    TBitmap32 with;
    TBitmap32 without;
    RenderMapView(with, numbered);
    RenderMapView(without, FittedPicture(points, 400, 300));
    EXPECT_FALSE(std::equal(with.Bits(), with.Bits() + 400 * 300, without.Bits()));
}

// Ink on the picture's area: marks and links, each as wide as drawn.
double InkShare(const TMapViewPicture& picture)
{
    double ink = 0.0;
    for (const TViewMark& mark : picture.Marks)
        ink += mark.Size * mark.Size;
    for (const std::vector<TViewPlace>& path : picture.Paths)
        for (size_t i = 1; i < path.size(); ++i)
            ink += std::hypot(path[i].X - path[i - 1].X, path[i].Y - path[i - 1].Y) * picture.Style.LinkPx;
    return ink / (static_cast<double>(picture.Width) * picture.Height);
}

// A crowded set prints as its picture looks: the page holds the picture of
// the proposed size, shrunk, not marks and lines crowded onto the page's
// own pixels (a black mass at 10 000 points).
TEST(MapViewFiles, PrintedPageIsThePictureShrunk)
{
    // In a page's proportions, as a set the page suits.
    TPointArray points = RandomRoute(10000, 5000, 7);
    for (TMapPoint& point : points)
        point.X = point.X * 7 / 10;
    const TPageSize page = PrintPageSize(points);
    const TMapViewPicture printed = BuildPrintPicture(points, {}, false);
    EXPECT_EQ(std::max(printed.Width, printed.Height), PrintPictureLongSidePx);
    EXPECT_NEAR(static_cast<double>(printed.Width) / printed.Height, static_cast<double>(page.Width) / page.Height,
                0.01);
    const TPictureSize size = FittedPictureSize(points, PrintPictureLongSidePx);
    const double pictureInk = InkShare(FittedPicture(points, size.Width, size.Height));
    EXPECT_LE(InkShare(printed), pictureInk * 1.1);
    // What the page used to carry.
    EXPECT_GT(InkShare(FittedPicture(points, page.Width, page.Height)), pictureInk * 1.5);
    const std::string pdf = EncodeMapPdf(printed, page);
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    const char* mediaBox =
        page.Width > page.Height ? "/MediaBox [0 0 842.000000 595.000000]" : "/MediaBox [0 0 595.000000 842.000000]";
    EXPECT_NE(pdf.find(mediaBox), std::string::npos);
}

TEST(MapViewFiles, PdfIsOnePageOfThePicturesSize)
{
    const struct {
        const char* Name;
        TPointArray Points;
        const char* MediaBox;
    } rows[] = {
        {"wide set on A4 across", {{0, 0, 1}, {300, 100, -1}}, "/MediaBox [0 0 842.000000 595.000000]"},
        {"tall set on A4 upright", {{0, 0, 1}, {100, 300, -1}}, "/MediaBox [0 0 595.000000 842.000000]"},
    };
    for (const auto& row : rows) {
        const TPageSize page = PrintPageSize(row.Points);
        const std::string pdf = EncodeMapPdf(FittedPicture(row.Points, page.Width, page.Height, true));
        EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u) << row.Name;
        EXPECT_NE(pdf.find(row.MediaBox), std::string::npos) << row.Name;
        EXPECT_NE(pdf.find("/Count 1"), std::string::npos) << row.Name;
    }
}

}  // namespace
