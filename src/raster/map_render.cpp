#include "raster/map_render.h"

#include <limits>

namespace {

// Point coordinates come from files and may sit at the edge of the 32-bit
// range; a square's far corner must not wrap round to the other side.
int32_t FarCorner(int32_t from, int32_t sizePx)
{
    const int32_t largest = std::numeric_limits<int32_t>::max();
    return from > largest - sizePx ? largest : from + sizePx;
}

// Lowers the update counter also when a selection callback throws, so the
// surface does not stay mute for good.
class TUpdateScope {
public:
    explicit TUpdateScope(TBitmap32& surface) : FSurface(surface) { FSurface.BeginUpdate(); }
    ~TUpdateScope() { FSurface.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TBitmap32& FSurface;
};

}  // namespace

void RenderMap(TBitmap32& surface, int32_t width, int32_t height, const TPointArray& points,
               const std::function<bool(int32_t)>& isSelected)
{
    surface.SetSize(width, height);
    surface.Resized();
    surface.Clear(MapBackgroundColor);
    {
        TUpdateScope update(surface);
        const int32_t count = static_cast<int32_t>(points.size());
        for (int32_t i = 0; i < count; ++i) {
            const TMapPoint& point = points[static_cast<size_t>(i)];
            const bool selected = isSelected && isSelected(i);
            const int32_t sizePx = selected ? MapSelectedPointSizePx : MapPointSizePx;
            surface.FillRect(point.X, point.Y, FarCorner(point.X, sizePx), FarCorner(point.Y, sizePx),
                             selected ? MapSelectedPointColor : MapPointColor);
            if (point.Next >= 0 && point.Next < count) {
                const TMapPoint& next = points[static_cast<size_t>(point.Next)];
                surface.Line(point.X, point.Y, next.X, next.Y, MapLinkColor);
            }
        }
        surface.FrameRect(0, 0, surface.Width(), surface.Height(), MapFrameColor);
    }
    surface.Changed();
}
