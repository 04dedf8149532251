#include "raster/map_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "raster/map_shapes.h"

namespace {

int32_t RoundToInt32(double value)
{
    constexpr double Lowest = std::numeric_limits<int32_t>::min();
    constexpr double Highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::llround(std::clamp(value, Lowest, Highest)));
}

}  // namespace

int32_t TMapFit::MapX(int32_t x) const
{
    return On ? RoundToInt32(x * Scale + OffsetX) : x;
}

int32_t TMapFit::MapY(int32_t y) const
{
    return On ? RoundToInt32(y * Scale + OffsetY) : y;
}

int32_t TMapFit::PointX(int32_t mapX) const
{
    return On ? RoundToInt32((mapX - OffsetX) / Scale) : mapX;
}

int32_t TMapFit::PointY(int32_t mapY) const
{
    return On ? RoundToInt32((mapY - OffsetY) / Scale) : mapY;
}

TPointExtent ExtentOf(const TPointArray& points)
{
    TPointExtent extent{points[0].X, points[0].X, points[0].Y, points[0].Y};
    for (const TMapPoint& point : points) {
        extent.MinX = std::min<int64_t>(extent.MinX, point.X);
        extent.MaxX = std::max<int64_t>(extent.MaxX, point.X);
        extent.MinY = std::min<int64_t>(extent.MinY, point.Y);
        extent.MaxY = std::max<int64_t>(extent.MaxY, point.Y);
    }
    return extent;
}

TMapFit FitMapToPoints(const TPointArray& points, int32_t width, int32_t height)
{
    TMapFit fit;
    fit.On = true;
    if (points.empty())
        return fit;
    const auto [minX, maxX, minY, maxY] = ExtentOf(points);
    // The room for the squares' top-left corners; at least a pixel, so the
    // scale never reaches 0 and clicks can always be mapped back.
    const int64_t reservePx = 2 * MapFitMarginPx + MapSelectedPointSizePx;
    const double roomX = static_cast<double>(std::max<int64_t>(int64_t{width} - reservePx, 1));
    const double roomY = static_cast<double>(std::max<int64_t>(int64_t{height} - reservePx, 1));
    const double spanX = static_cast<double>(maxX - minX);
    const double spanY = static_cast<double>(maxY - minY);
    if (spanX > 0 && spanY > 0)
        fit.Scale = std::min(roomX / spanX, roomY / spanY);
    else if (spanX > 0)
        fit.Scale = roomX / spanX;
    else if (spanY > 0)
        fit.Scale = roomY / spanY;
    fit.OffsetX = MapFitMarginPx + (roomX - spanX * fit.Scale) / 2 - static_cast<double>(minX) * fit.Scale;
    fit.OffsetY = MapFitMarginPx + (roomY - spanY * fit.Scale) / 2 - static_cast<double>(minY) * fit.Scale;
    return fit;
}
