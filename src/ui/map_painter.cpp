#include "ui/map_painter.h"

#include "picture/map_view_paint.h"
#include "raster/map_render.h"
#include "raster/map_view.h"
#include "ui/map_hits.h"
#include "ui/map_window.h"
#include "ui/point_list.h"

namespace {

// A mark smaller than this is found this near its centre.
constexpr double GrabPx = 4.0;

}  // namespace

void TMapPainter::Paint(TImage32& view, const TPointArray& points, const std::vector<char>& selected,
                        const TMapFit& fit, bool numbers)
{
    const int32_t width = view.width();
    const int32_t height = view.height();
    const auto isSelected = [&selected](int32_t i) { return RowSelected(selected, i); };
    FDrewPixels = DrawsPixelPicture(fit);
    if (FDrewPixels) {
        FPicture = {};
        RenderMap(view.Bitmap(), width, height, points, isSelected, fit);
        view.SetOverlay(PixelPictureEnds(points, fit, width, height));
        if (numbers)
            PaintMapLabels(view.Bitmap(),
                           PlaceLabels(PixelPictureMarks(points, isSelected, fit, width, height), width, height));
    } else {
        FPicture = BuildMapViewPicture(points, isSelected, width, height, fit, numbers);
        view.SetOverlay({});
        RenderMapView(view.Bitmap(), FPicture);
    }
    view.repaint();
}

int32_t TMapPainter::MarkAt(const TPointArray& points, const std::vector<char>& selected, const TMapFit& fit, int32_t x,
                            int32_t y) const
{
    if (!FDrewPixels)
        return ::MarkAt(FPicture, x + 0.5, y + 0.5, GrabPx);
    return SquareAt(points, selected, fit, x, y);
}
