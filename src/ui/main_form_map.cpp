// The main window's part in the map: the surface set-up at the first showing,
// drawing the whole picture, points added by presses on the map and points
// dragged to a new place.
#include <QTimer>

#include <string>
#include <vector>

#include "raster/map_render.h"
#include "raster/map_shapes.h"
#include "ui/commands.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/undo_commands.h"

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
        // A dragged point keeps the scale it was grabbed at, or the map would
        // slide under the pointer as the point changes the points' extent.
        if (FDrag.Point < 0)
            FMapFit =
                actFitMap->isChecked() ? FitMapToPoints(State().FPoints, view->width(), view->height()) : TMapFit();
        RenderMap(
            view->Bitmap(), view->width(), view->height(), State().FPoints,
            [&selected](int32_t i) { return RowSelected(selected, i); }, FMapFit);
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

int32_t TMainForm::PointAtMapSquare(int32_t x, int32_t y) const
{
    const TPointArray& points = State().FPoints;
    const std::vector<char> selected = ListBox1->SelectedRows();
    for (int32_t i = static_cast<int32_t>(points.size()) - 1; i >= 0; --i) {
        const auto at = static_cast<size_t>(i);
        const int32_t size = RowSelected(selected, i) ? MapSelectedPointSizePx : MapPointSizePx;
        const int32_t left = FMapFit.MapX(points[at].X);
        const int32_t top = FMapFit.MapY(points[at].Y);
        if (x >= left && x < left + size && y >= top && y < top + size)
            return i;
    }
    return -1;
}

void TMainForm::AddPoint(int32_t X, int32_t Y)
{
    // Clicks come fast: a note in the status bar rather than a box. A larger
    // set could not be saved and read back.
    if (State().FPoints.size() >= static_cast<size_t>(MaxPoints)) {
        ShowStatus("Najwyżej " + std::to_string(MaxPoints) + " punktów.", 0);
        return;
    }
    PushStep(new TAddPointCommand(*this, {X, Y, -1}));
}

void TMainForm::MapMouseDown(Qt::MouseButton button, int32_t x, int32_t y)
{
    // A press while a step is applied comes after it (see FApplyingStep).
    if (FApplyingStep) {
        QTimer::singleShot(0, this, [this, button, x, y] { MapMouseDown(button, x, y); });
        return;
    }
    // A search reads the coordinates as it goes; it still gets new points,
    // as it always did, but no point moves under it.
    if (actDragPoints->isChecked() && button == Qt::LeftButton && !State().FSearching) {
        const int32_t hit = PointAtMapSquare(x, y);
        if (hit >= 0) {
            const TMapPoint& point = State().FPoints[static_cast<size_t>(hit)];
            FDrag = {hit, QPoint(x, y), QPoint(FMapFit.MapX(point.X), FMapFit.MapY(point.Y))};
            return;
        }
    }
    const QPoint point = PointAtMapPixel(x, y);
    AddPoint(point.x(), point.y());
}

QPoint TMainForm::DragTarget(int32_t x, int32_t y) const
{
    // The square stays where the pointer holds it; a release where the
    // press was leaves the point alone (a scaled map has fewer pixels than
    // coordinates, so the way back from its pixel may not be the point).
    const TMapPoint& point = State().FPoints[static_cast<size_t>(FDrag.Point)];
    if (QPoint(x, y) == FDrag.Press)
        return {point.X, point.Y};
    const QPoint square = FDrag.Square + QPoint(x, y) - FDrag.Press;
    return PointAtMapPixel(square.x(), square.y());
}

void TMainForm::MapMouseMove(int32_t x, int32_t y)
{
    if (FDrag.Point < 0 || FApplyingStep || static_cast<size_t>(FDrag.Point) >= State().FPoints.size())
        return;
    // The map follows the pointer; the set itself changes at the release.
    TMapPoint& point = State().FPoints[static_cast<size_t>(FDrag.Point)];
    const TMapPoint kept = point;
    const QPoint target = DragTarget(x, y);
    point.X = target.x();
    point.Y = target.y();
    DrawMap();
    point = kept;
}

void TMainForm::MapMouseUp(Qt::MouseButton button, int32_t x, int32_t y)
{
    if (FDrag.Point < 0 || button != Qt::LeftButton)
        return;
    if (FApplyingStep) {
        QTimer::singleShot(0, this, [this, button, x, y] { MapMouseUp(button, x, y); });
        return;
    }
    const int32_t index = FDrag.Point;
    if (static_cast<size_t>(index) >= State().FPoints.size()) {
        FDrag = {};
        DrawMap();
        return;
    }
    const QPoint target = DragTarget(x, y);
    FDrag = {};
    const TMapPoint& point = State().FPoints[static_cast<size_t>(index)];
    if (target == QPoint(point.X, point.Y)) {
        DrawMap();
        return;
    }
    PushStep(new TMovePointCommand(*this, QStringLiteral("przesunięcie punktu"), index, target.x(), target.y()));
}
