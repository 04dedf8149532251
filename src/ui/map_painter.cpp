#include "ui/map_painter.h"

#include "picture/map_view_paint.h"
#include "raster/map_render.h"
#include "raster/map_view.h"
#include "ui/map_hits.h"
#include "ui/map_round_trip.h"
#include "ui/map_window.h"
#include "ui/point_list.h"

namespace {

// A mark smaller than this is found this near its centre.
constexpr double GrabPx = 4.0;

}  // namespace

void TMapPainter::Paint(TImage32& view, const TPointArray& points, const std::vector<char>& selected,
                        const TMapFit& fit, bool numbers, const TRouteKind& kind)
{
    const int32_t width = view.width();
    const int32_t height = view.height();
    const auto isSelected = [&selected](int32_t i) { return RowSelected(selected, i); };
    const TClosedRoute closed = CloseRoundTrip(points, kind);
    const TPointArray& drawn = closed.First >= 0 ? closed.Points : points;
    FDrewPixels = DrawsPixelPicture(fit);
    if (FDrewPixels) {
        FPicture = {};
        RenderMap(view.Bitmap(), width, height, drawn, isSelected, fit);
        // The ends of the open links: a round trip keeps only its start.
        std::vector<TViewMark> ends = PixelPictureEnds(points, fit, width, height);
        if (closed.First >= 0)
            std::erase_if(ends, [](const TViewMark& mark) { return mark.Kind != TViewMarkKind::Start; });
        view.SetOverlay(ends);
        if (numbers)
            PaintMapLabels(view.Bitmap(),
                           PlaceLabels(PixelPictureMarks(points, isSelected, fit, width, height), width, height));
    } else {
        FPicture = BuildMapViewPicture(drawn, isSelected, width, height, fit, numbers);
        if (closed.First >= 0)
            MarkRoundTripStart(FPicture, closed.First, numbers);
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
