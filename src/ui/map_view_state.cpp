#include "ui/map_view_state.h"

#include "raster/map_view.h"

namespace {

bool SameExtent(const std::optional<TPointExtent>& a, const std::optional<TPointExtent>& b)
{
    if (!a || !b)
        return a.has_value() == b.has_value();
    return a->MinX == b->MinX && a->MaxX == b->MaxX && a->MinY == b->MinY && a->MaxY == b->MaxY;
}

}  // namespace

TMapFit TMapViewState::Next(const TPointArray& points, int32_t width, int32_t height) const
{
    switch (Mode) {
    case TMapViewMode::Fitted:
        return FitMapToPoints(points, width, height);
    case TMapViewMode::Free:
        return FreeView;
    case TMapViewMode::Pixels:
        break;
    }
    return TMapFit();
}

void TMapViewState::FollowFitCheck(bool checked)
{
    if (checked)
        Mode = TMapViewMode::Fitted;
    else if (Mode == TMapViewMode::Fitted)
        Mode = TMapViewMode::Pixels;
}

void TMapViewState::SetMode(TMapViewMode mode)
{
    Mode = mode;
    FittedByMap = false;
}

void TMapViewState::NoteOpened()
{
    Extent.reset();
    ReplacedFromOutside = true;
}

bool TMapViewState::NoteReplaced(const TPointArray& points, bool fromOutside)
{
    std::optional<TPointExtent> extent;
    if (!points.empty())
        extent = ExtentOf(points);
    if (SameExtent(extent, Extent))
        return false;
    Extent = extent;
    ReplacedDue = true;
    ReplacedFromOutside = ReplacedFromOutside || fromOutside;
    return true;
}

TMapLook TMapViewState::LookAtSet(const TPointArray& points, int32_t width, int32_t height)
{
    const bool fromOutside = ReplacedFromOutside;
    ReplacedDue = false;
    ReplacedFromOutside = false;
    const TMapViewMode before = Mode;
    TMapLook look;
    if (fromOutside) {
        PixelsChosen = false;
        if (Mode == TMapViewMode::Free || (Mode == TMapViewMode::Fitted && FittedByMap)) {
            SetMode(TMapViewMode::Pixels);
            look.BackToPixels = true;
        }
    }
    if (Mode == TMapViewMode::Pixels && !PixelsChosen && !PointsLieOnMap(points, width, height)) {
        SetMode(TMapViewMode::Fitted);
        FittedByMap = true;
        look.FittedByMap = true;
    }
    look.Changed = Mode != before;
    return look;
}

void TMapViewState::ZoomAbout(double factor, int32_t x, int32_t y)
{
    FreeView = ZoomedAbout(Shown, factor, x, y);
    SetMode(TMapViewMode::Free);
}

void TMapViewState::Pan(int32_t dx, int32_t dy)
{
    FreeView = Panned(Shown, dx, dy);
    SetMode(TMapViewMode::Free);
}

void TMapViewState::ToPixels()
{
    PixelsChosen = true;
    SetMode(TMapViewMode::Pixels);
}
