#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>

#include "raster/map_fit.h"
#include "raster/map_shapes.h"
#include "raster/map_view.h"
#include "raster/map_view_picture.h"

namespace {

TMapFit Free(double scale, double offsetX, double offsetY)
{
    TMapFit view;
    view.On = true;
    view.Scale = scale;
    view.OffsetX = offsetX;
    view.OffsetY = offsetY;
    return view;
}

// Points on a shuffled route through all of them.
TPointArray RandomRoute(int32_t count, int32_t range, uint32_t seed)
{
    std::mt19937 random(seed);
    TPointArray points(static_cast<size_t>(count));
    for (TMapPoint& point : points)
        point = {static_cast<int32_t>(random() % static_cast<uint32_t>(range)),
                 static_cast<int32_t>(random() % static_cast<uint32_t>(range)), -1};
    TSpecimen route(points.size());
    std::iota(route.begin(), route.end(), 0);
    std::shuffle(route.begin(), route.end(), random);
    ApplyBestRoute(points, route);
    return points;
}

size_t CountKind(const TMapViewPicture& picture, TViewMarkKind kind)
{
    return static_cast<size_t>(std::count_if(picture.Marks.begin(), picture.Marks.end(),
                                             [kind](const TViewMark& mark) { return mark.Kind == kind; }));
}

TEST(MapView, ZoomKeepsThePointUnderThePixel)
{
    const struct {
        const char* Name;
        TMapFit View;
        double Factor;
        int32_t X, Y;
        double Scale;
    } rows[] = {
        {"in from the pixel picture", TMapFit(), 1.25, 100, 60, 1.25},
        {"out of a fit", Free(0.004, 12.5, -3.25), 0.8, 0, 381, 0.0032},
        {"far in, held at the largest scale", Free(2, 0, 0), 1e6, 250, 190, MaxViewScale},
        {"far out, held at the smallest", Free(1e-5, 7, 7), 1e-6, 10, 10, MinViewScale},
    };
    for (const auto& row : rows) {
        const TMapFit zoomed = ZoomedAbout(row.View, row.Factor, row.X, row.Y);
        const TMapFit before = row.View.On ? row.View : Free(1, 0, 0);
        EXPECT_DOUBLE_EQ(zoomed.Scale, row.Scale) << row.Name;
        EXPECT_NEAR((row.X - zoomed.OffsetX) / zoomed.Scale, (row.X - before.OffsetX) / before.Scale, 1e-6) << row.Name;
        EXPECT_NEAR((row.Y - zoomed.OffsetY) / zoomed.Scale, (row.Y - before.OffsetY) / before.Scale, 1e-6) << row.Name;
    }
}

TEST(MapView, BackAtScaleOneIsThePixelPictureMoved)
{
    EXPECT_TRUE(DrawsPixelPicture(TMapFit()));
    const TMapFit in = ZoomedAbout(TMapFit(), ViewZoomStep, 123, 45);
    EXPECT_FALSE(DrawsPixelPicture(in));
    const TMapFit back = ZoomedAbout(ZoomedAbout(in, ViewZoomStep, 7, 300), 1 / (ViewZoomStep * ViewZoomStep), 7, 300);
    EXPECT_TRUE(DrawsPixelPicture(back));
    EXPECT_EQ(back.Scale, 1.0);
    const TMapFit moved = Panned(TMapFit(), -30, 12);
    EXPECT_TRUE(DrawsPixelPicture(moved));
    EXPECT_EQ(moved.MapX(100), 70);
    EXPECT_EQ(moved.MapY(100), 112);
}

TEST(MapView, PointsLieOnTheMapAtTheirOwnCoordinates)
{
    const struct {
        const char* Name;
        TPointArray Points;
        bool Lie;
    } rows[] = {
        {"empty", {}, true},
        {"corners", {{0, 0, -1}, {494, 381, -1}}, true},
        {"right of it", {{495, 10, -1}}, false},
        {"above it", {{10, -1, -1}}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PointsLieOnMap(row.Points, 495, 382), row.Lie) << row.Name;
}

// The set fitted into the proposed size fills it to the margins both ways,
// unless that would make the picture a sliver.
TEST(MapView, FittedPictureSizeFollowsTheSetsProportions)
{
    const struct {
        const char* Name;
        TPointArray Points;
        bool Sliver;
    } rows[] = {
        {"square", {{0, 0, -1}, {1000, 1000, -1}}, false},
        {"twice as wide", {{0, 0, -1}, {2000, 1000, -1}}, false},
        {"tall", {{0, 0, -1}, {10, 40, -1}}, false},
        {"a line", {{0, 5, -1}, {900, 5, -1}}, true},
    };
    for (const auto& row : rows) {
        const TPictureSize size = FittedPictureSize(row.Points, 2000);
        EXPECT_EQ(std::max(size.Width, size.Height), 2000) << row.Name;
        EXPECT_GE(std::min(size.Width, size.Height), 250) << row.Name;
        const TMapFit fit = FitMapToPoints(row.Points, size.Width, size.Height);
        const TMapPoint& far = row.Points.back();
        const int32_t spareX = size.Width - MapFitMarginPx - MapSelectedPointSizePx - fit.MapX(far.X);
        const int32_t spareY = size.Height - MapFitMarginPx - MapSelectedPointSizePx - fit.MapY(far.Y);
        EXPECT_LE(std::abs(spareX), 1) << row.Name;
        EXPECT_EQ(std::abs(spareY) <= 1, !row.Sliver) << row.Name;
    }
}

TEST(MapViewPicture, ARouteIsOnePathWithItsEndsMarked)
{
    TPointArray points = {{10, 10, -1}, {40, 10, -1}, {40, 30, -1}, {70, 30, -1}, {90, 50, -1}};
    ApplyBestRoute(points, {2, 0, 1, 3, 4});
    const TMapFit view = Free(1.5, 3.25, -2);
    const TMapViewPicture picture = BuildMapViewPicture(
        points, [](int32_t i) { return i == 1; }, 200, 100, view, false);
    ASSERT_EQ(picture.Paths.size(), 1u);
    ASSERT_EQ(picture.Paths[0].size(), 5u);
    // Unrounded, at the middle of the pixel MapX rounds to.
    EXPECT_DOUBLE_EQ(picture.Paths[0][0].X, 40 * 1.5 + 3.25 + 0.5);
    EXPECT_DOUBLE_EQ(picture.Paths[0][4].Y, 50 * 1.5 - 2 + 0.5);
    EXPECT_EQ(CountKind(picture, TViewMarkKind::Start), 1u);
    EXPECT_EQ(CountKind(picture, TViewMarkKind::End), 1u);
    EXPECT_EQ(CountKind(picture, TViewMarkKind::Point), 3u);
    // The selected point on top of everything.
    ASSERT_EQ(picture.Marks.back().Kind, TViewMarkKind::Selected);
    EXPECT_EQ(picture.Marks.back().Point, 1);
    for (const TViewMark& mark : picture.Marks) {
        if (mark.Kind == TViewMarkKind::Start || mark.Kind == TViewMarkKind::End) {
            EXPECT_EQ(mark.Point, mark.Kind == TViewMarkKind::Start ? 2 : 4);
        }
    }
}

TEST(MapViewPicture, EveryLinkIsDrawnOnceAndCutNearTheMap)
{
    // Two stretches, a ring, two links into one point and a link far away.
    TPointArray points = {{10, 10, 1}, {20, 10, 2}, {30, 10, -1}, {10, 40, 4}, {20, 40, 5},
                          {30, 40, 3}, {50, 50, 7}, {60, 50, 2},  {80, 80, 9}, {50000, -7000, -1}};
    const TMapViewPicture picture = BuildMapViewPicture(points, {}, 100, 100, TMapFit(), false);
    size_t links = 0;
    for (const auto& path : picture.Paths) {
        links += path.size() - 1;
        for (const TViewPlace& place : path) {
            EXPECT_TRUE(place.X >= -16 && place.X <= 116 && place.Y >= -16 && place.Y <= 116);
        }
    }
    EXPECT_EQ(links, 8u);
    EXPECT_EQ(CountKind(picture, TViewMarkKind::Start), 3u);
    EXPECT_EQ(CountKind(picture, TViewMarkKind::End), 1u);
}

TEST(MapViewPicture, MarksAndLinksThinOutAsPointsCrowdTheMap)
{
    const TMapViewStyle sparse = ChooseMapViewStyle(20, 495, 382);
    const TMapViewStyle crowded = ChooseMapViewStyle(10000, 495, 382);
    EXPECT_EQ(sparse.MarkPx, 4.0);
    EXPECT_EQ(sparse.LinkPx, 1.0);
    EXPECT_LT(crowded.MarkPx, 2.0);
    EXPECT_LT(crowded.LinkPx, 1.0);
    // A route's ends stay easy to find.
    EXPECT_GE(crowded.EndMarkPx, 3 * crowded.MarkPx);
}

TEST(MapViewPicture, NumbersGoWhereTheyFit)
{
    const TPointArray sparse = {{10, 10, -1}, {100, 10, -1}, {12, 11, -1}, {100, 80, -1}};
    const TMapViewPicture numbered = BuildMapViewPicture(sparse, {}, 200, 100, TMapFit(), true);
    std::vector<int32_t> labelled;
    for (const TViewLabel& label : numbered.Labels)
        labelled.push_back(label.Point);
    // Point 2 sits on point 0's number.
    EXPECT_EQ(labelled, (std::vector<int32_t>{0, 1, 3}));
    EXPECT_TRUE(BuildMapViewPicture(sparse, {}, 200, 100, TMapFit(), false).Labels.empty());
    const TPointArray crowded = RandomRoute(10000, 1000000, 5);
    EXPECT_TRUE(BuildMapViewPicture(crowded, {}, 495, 382, FitMapToPoints(crowded, 495, 382), true).Labels.empty());
}

// A point at the map's right edge has its number on its left, whole.
TEST(MapViewPicture, NumbersAtTheRightEdgeGoLeftOfTheirPoints)
{
    const TPointArray points = {{190, 50, -1}, {100, 50, -1}};
    const TMapViewPicture numbered = BuildMapViewPicture(points, {}, 200, 100, TMapFit(), true);
    ASSERT_EQ(numbered.Labels.size(), 2u);
    for (const TViewLabel& label : numbered.Labels) {
        EXPECT_GE(label.X, 1.0) << label.Point;
        EXPECT_LE(label.X + LabelWidth(label.Point), 199.0) << label.Point;
    }
    EXPECT_LT(numbered.Labels[0].X, 190.0);
    EXPECT_GT(numbered.Labels[1].X, 100.0);
}

TEST(MapViewPicture, MarkAtFindsTheTopMarkOrOneWithinReach)
{
    const TPointArray points = {{20, 20, -1}, {21, 20, -1}, {60, 60, -1}};
    const TMapViewPicture picture = BuildMapViewPicture(points, {}, 100, 100, TMapFit(), false);
    EXPECT_EQ(MarkAt(picture, 21.0, 20.5, 4), 1);
    EXPECT_EQ(MarkAt(picture, 63.5, 60.5, 4), 2);
    EXPECT_EQ(MarkAt(picture, 80, 80, 4), -1);
}

}  // namespace
