// The main window's part in the map: the surface set-up at the first showing,
// drawing the whole picture, and points added by presses on the map.
#include <string>
#include <vector>

#include "raster/map_render.h"
#include "ui/commands.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/point_list.h"

void TMainForm::PrepareMapSurface()
{
    if (!MapForm)
        return;
    TImage32* view = MapForm->Image321;
    TBitmap32& surface = view->Bitmap();
    surface.BeginUpdate();
    surface.SetSize(view->width(), view->height());
    surface.Clear(MapBackgroundColor);
    surface.EndUpdate();
    view->update();
    State().FMapWidth = view->width();
    State().FMapHeight = view->height();
}

void TMainForm::DrawMap()
{
    ShowStatus("Rysowanie punktów...", 0);
    if (MapForm) {
        TImage32* view = MapForm->Image321;
        // Rows are read once: a point without a row (the list is rebuilt
        // after the set grows) is drawn unselected.
        const std::vector<char> selected = ListBox1->SelectedRows();
        FMapFit = actFitMap->isChecked() ? FitMapToPoints(State().FPoints, view->width(), view->height()) : TMapFit();
        RenderMap(
            view->Bitmap(), view->width(), view->height(), State().FPoints,
            [&selected](int32_t i) {
                return i >= 0 && static_cast<size_t>(i) < selected.size() && selected[static_cast<size_t>(i)] != 0;
            },
            FMapFit);
        view->repaint();
    }
    ShowStatus("", 0);
}

void TMainForm::actFitMapExecute()
{
    Rebuild(TRebuild::Map);
}

QPoint TMainForm::PointAtMapPixel(int32_t x, int32_t y) const
{
    return {FMapFit.PointX(x), FMapFit.PointY(y)};
}

void TMainForm::AddPoint(int32_t X, int32_t Y)
{
    TPointArray& points = State().FPoints;
    // Clicks come fast: a note in the status bar rather than a box. A larger
    // set could not be saved and read back.
    if (points.size() >= static_cast<size_t>(MaxPoints)) {
        ShowStatus("Najwyżej " + std::to_string(MaxPoints) + " punktów.", 0);
        return;
    }
    const int32_t n = static_cast<int32_t>(points.size());
    points.push_back({X, Y, -1});
    State().FModified = true;
    Rebuild(TRebuild::Everything, n);
}
