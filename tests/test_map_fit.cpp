#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "core/tsplib_file.h"
#include "raster/map_fit.h"
#include "raster/map_render.h"
#include "support/data_files.h"

namespace {

constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();
constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();

// Every square, selected size included, lies within the margin of the map.
void ExpectInsideTheMargin(const TPointArray& points, const TMapFit& fit, int32_t width, int32_t height,
                           const std::string& name)
{
    ASSERT_TRUE(fit.On && std::isfinite(fit.Scale) && fit.Scale > 0) << name;
    for (const TMapPoint& point : points) {
        EXPECT_TRUE(fit.MapX(point.X) >= MapFitMarginPx && fit.MapY(point.Y) >= MapFitMarginPx) << name;
        EXPECT_LE(fit.MapX(point.X) + MapSelectedPointSizePx, width - MapFitMarginPx) << name;
        EXPECT_LE(fit.MapY(point.Y) + MapSelectedPointSizePx, height - MapFitMarginPx) << name;
    }
}

TEST(MapFit, OffIsTheIdentityBothWays)
{
    for (const int32_t v : {Min32, -5, 0, 7, Max32})
        EXPECT_TRUE(TMapFit().MapX(v) == v && TMapFit().MapY(v) == v && TMapFit().PointX(v) == v &&
                    TMapFit().PointY(v) == v);
}

TEST(MapFit, SampleInstancesFillTheMapCentred)
{
    for (const char* file : {"grid12.tsp", "decimal9.tsp", "exponent8.tsp", "att10.tsp"}) {
        const TPointArray points = ParseTsplib(DataFileText(file)).Points;
        const TMapFit fit = FitMapToPoints(points, 500, 400);
        ExpectInsideTheMargin(points, fit, 500, 400, file);
        int32_t left = Max32, right = Min32, top = Max32, bottom = Min32;
        for (const TMapPoint& point : points) {
            left = std::min(left, fit.MapX(point.X));
            right = std::max(right, fit.MapX(point.X) + MapSelectedPointSizePx);
            top = std::min(top, fit.MapY(point.Y));
            bottom = std::max(bottom, fit.MapY(point.Y) + MapSelectedPointSizePx);
        }
        // One axis reaches the margin on both sides, the other is centred.
        EXPECT_TRUE((left == 10 && right == 490) || (top == 10 && bottom == 390)) << file;
        EXPECT_LE(std::abs(left - (500 - right)) + std::abs(top - (400 - bottom)), 2) << file;
    }
}

TEST(MapFit, DegenerateSetsStayInside)
{
    const std::pair<const char*, TPointArray> cases[] = {
        {"one point", {{123456, -99, -1}}},
        {"equal points", {{5, 5, -1}, {5, 5, -1}}},
        {"vertical line", {{3, 0, -1}, {3, 1, -1}, {3, 1000000, -1}}},
        {"horizontal line", {{-8, 2, -1}, {9, 2, -1}}},
        {"whole 32-bit range", {{Min32, Min32, -1}, {Max32, Max32, -1}, {0, 0, -1}}},
    };
    for (const auto& [name, points] : cases)
        ExpectInsideTheMargin(points, FitMapToPoints(points, 300, 200), 300, 200, name);
    const TMapFit single = FitMapToPoints({{7, 9, -1}}, 300, 200);
    EXPECT_EQ(single.Scale, 1.0);
    EXPECT_EQ(single.MapX(7), 10 + (300 - 26) / 2);
    EXPECT_TRUE(FitMapToPoints({}, 300, 200).PointX(40) == 40 && FitMapToPoints({}, 300, 200).PointY(30) == 30);
    EXPECT_GT(FitMapToPoints({{0, 0, -1}, {1000, 1000, -1}}, 3, 0).Scale, 0);
}

TEST(MapFit, AClickAddsThePointThatIsDrawnWhereItWasMade)
{
    std::mt19937 random(7);
    // From a few units (zoomed in) to millions (zoomed out).
    const int32_t spans[] = {3, 50, 1000, 4000, 2000000};
    for (int round = 0; round < 200; ++round) {
        std::uniform_int_distribution<int32_t> coordinate(-spans[round % 5], spans[round % 5]);
        TPointArray points(5);
        for (TMapPoint& point : points)
            point = {coordinate(random), coordinate(random), -1};
        const TMapFit fit = FitMapToPoints(points, 640, 480);
        const int32_t slack = fit.Scale <= 1 ? 0 : static_cast<int32_t>(std::ceil(fit.Scale / 2));
        for (int32_t pixel = 0; pixel < 480; pixel += 7) {
            EXPECT_LE(std::abs(fit.MapX(fit.PointX(pixel)) - pixel), slack) << fit.Scale;
            EXPECT_LE(std::abs(fit.MapY(fit.PointY(pixel)) - pixel), slack) << fit.Scale;
        }
        for (const TMapPoint& point : points)
            EXPECT_TRUE(fit.Scale < 1 || fit.PointX(fit.MapX(point.X)) == point.X);
    }
}

TEST(MapFit, RenderWithFitDrawsThePictureOfTheMovedPoints)
{
    TPointArray points = ParseTsplib(DataFileText("exponent8.tsp")).Points;
    for (size_t i = 0; i + 1 < points.size(); ++i)
        points[i].Next = static_cast<int32_t>(i + 1);
    const TMapFit fit = FitMapToPoints(points, 500, 400);
    TPointArray moved = points;
    for (TMapPoint& point : moved)
        point = {fit.MapX(point.X), fit.MapY(point.Y), point.Next};
    const auto selectSecond = [](int32_t i) { return i == 1; };
    TBitmap32 fitted;
    TBitmap32 expected;
    RenderMap(fitted, 500, 400, points, selectSecond, fit);
    RenderMap(expected, 500, 400, moved, selectSecond);
    EXPECT_TRUE(std::equal(fitted.Bits(), fitted.Bits() + 500 * 400, expected.Bits()));
}

}  // namespace
