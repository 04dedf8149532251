#include "raster/map_shapes.h"

#include <algorithm>
#include <limits>

namespace {

// Point coordinates come from files and may sit at the edge of the 32-bit
// range; a square's far corner must not wrap round to the other side.
int32_t FarCorner(int32_t from, int32_t sizePx)
{
    const int32_t largest = std::numeric_limits<int32_t>::max();
    return from > largest - sizePx ? largest : from + sizePx;
}

}  // namespace

void DrawMapShapes(TMapSink& sink, int32_t width, int32_t height, const TPointArray& points,
                   const std::function<bool(int32_t)>& isSelected, const TMapFit& fit)
{
    sink.Clear(MapBackgroundColor);
    const int32_t count = static_cast<int32_t>(points.size());
    for (int32_t i = 0; i < count; ++i) {
        const TMapPoint& point = points[static_cast<size_t>(i)];
        const int32_t x = fit.MapX(point.X);
        const int32_t y = fit.MapY(point.Y);
        const bool selected = isSelected && isSelected(i);
        const int32_t sizePx = selected ? MapSelectedPointSizePx : MapPointSizePx;
        sink.FillRect(x, y, FarCorner(x, sizePx), FarCorner(y, sizePx),
                      selected ? MapSelectedPointColor : MapPointColor);
        if (point.Next >= 0 && point.Next < count) {
            const TMapPoint& next = points[static_cast<size_t>(point.Next)];
            sink.Line(x, y, fit.MapX(next.X), fit.MapY(next.Y), MapLinkColor);
        }
    }
    sink.FrameRect(0, 0, std::max(width, 0), std::max(height, 0), MapFrameColor);
}
