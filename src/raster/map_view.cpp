#include "raster/map_view.h"

#include <algorithm>
#include <cmath>

#include "raster/map_shapes.h"

namespace {

// Scale 1 reached again by zooming is taken as 1 on whole pixels.
constexpr double UnitScaleTolerance = 1e-9;

TMapFit Started(const TMapFit& view)
{
    if (view.On)
        return view;
    TMapFit on;
    on.On = true;
    return on;
}

}  // namespace

TMapFit ZoomedAbout(const TMapFit& view, double factor, int32_t x, int32_t y)
{
    TMapFit zoomed = Started(view);
    const double scale = std::clamp(zoomed.Scale * factor, MinViewScale, MaxViewScale);
    // The point under (x, y) before is the point under it after.
    const double pointX = (x - zoomed.OffsetX) / zoomed.Scale;
    const double pointY = (y - zoomed.OffsetY) / zoomed.Scale;
    zoomed.Scale = scale;
    zoomed.OffsetX = x - pointX * scale;
    zoomed.OffsetY = y - pointY * scale;
    if (std::abs(scale - 1.0) < UnitScaleTolerance) {
        zoomed.Scale = 1.0;
        zoomed.OffsetX = std::round(zoomed.OffsetX);
        zoomed.OffsetY = std::round(zoomed.OffsetY);
    }
    return zoomed;
}

TMapFit Panned(const TMapFit& view, int32_t dx, int32_t dy)
{
    TMapFit panned = Started(view);
    panned.OffsetX += dx;
    panned.OffsetY += dy;
    return panned;
}

bool DrawsPixelPicture(const TMapFit& view)
{
    return !view.On ||
           (view.Scale == 1.0 && view.OffsetX == std::round(view.OffsetX) && view.OffsetY == std::round(view.OffsetY));
}

bool PointsLieOnMap(const TPointArray& points, int32_t width, int32_t height)
{
    return std::all_of(points.begin(), points.end(), [width, height](const TMapPoint& point) {
        return point.X >= 0 && point.Y >= 0 && point.X < width && point.Y < height;
    });
}

double ViewX(const TMapFit& view, int32_t x)
{
    return (view.On ? x * view.Scale + view.OffsetX : static_cast<double>(x)) + 0.5;
}

double ViewY(const TMapFit& view, int32_t y)
{
    return (view.On ? y * view.Scale + view.OffsetY : static_cast<double>(y)) + 0.5;
}

TPictureSize FittedPictureSize(const TPointArray& points, int32_t longSidePx)
{
    const int32_t shortest = std::max(longSidePx / 8, 1);
    if (points.empty())
        return {longSidePx, std::max(longSidePx * 3 / 4, shortest)};
    const auto [minX, maxX, minY, maxY] = ExtentOf(points);
    // The fit's margins around the points, on both axes alike.
    const int64_t reserve = 2 * MapFitMarginPx + MapSelectedPointSizePx;
    const double spanX = static_cast<double>(maxX - minX);
    const double spanY = static_cast<double>(maxY - minY);
    const double room = static_cast<double>(std::max<int64_t>(longSidePx - reserve, 1));
    const auto across = [&](double along, double other) {
        const double side = along > 0 ? room * other / along + static_cast<double>(reserve) : longSidePx;
        return std::clamp(static_cast<int32_t>(std::lround(side)), shortest, longSidePx);
    };
    if (spanX >= spanY)
        return {longSidePx, across(spanX, spanY)};
    return {across(spanY, spanX), longSidePx};
}
