#include "raster/map_render.h"

namespace {

// Draws onto the surface. The ground is announced at once; everything drawn
// over it waits in an update, which the sink also ends when a selection
// callback throws, so the surface does not stay mute for good.
class TBitmapSink final : public TMapSink {
public:
    explicit TBitmapSink(TBitmap32& surface) : FSurface(surface) {}
    ~TBitmapSink() override
    {
        if (FUpdating)
            FSurface.EndUpdate();
    }
    TBitmapSink(const TBitmapSink&) = delete;
    TBitmapSink& operator=(const TBitmapSink&) = delete;

    void Clear(TColor32 colour) override
    {
        FSurface.Clear(colour);
        if (!FUpdating) {
            FSurface.BeginUpdate();
            FUpdating = true;
        }
    }
    void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) override
    {
        FSurface.FillRect(x1, y1, x2, y2, colour);
    }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) override
    {
        FSurface.Line(x1, y1, x2, y2, colour);
    }
    void FrameRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) override
    {
        FSurface.FrameRect(x1, y1, x2, y2, colour);
    }

private:
    TBitmap32& FSurface;
    bool FUpdating = false;
};

}  // namespace

void RenderMap(TBitmap32& surface, int32_t width, int32_t height, const TPointArray& points,
               const std::function<bool(int32_t)>& isSelected, const TMapFit& fit)
{
    surface.SetSize(width, height);
    surface.Resized();
    {
        TBitmapSink sink(surface);
        DrawMapShapes(sink, width, height, points, isSelected, fit);
    }
    surface.Changed();
}
