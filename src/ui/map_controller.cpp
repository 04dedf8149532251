#include "ui/map_controller.h"

#include <QAction>
#include <QTimer>

#include <string>
#include <vector>

#include "raster/map_render.h"
#include "raster/map_shapes.h"
#include "ui/document.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/set_views.h"
#include "ui/undo_commands.h"
#include "ui/window_progress.h"

TMapController::TMapController(TDocument& document, TSetViews& views, TWindowProgress& progress, const TPointList& list,
                               const QAction& fitMap, const QAction& dragPoints, QObject* parent)
    : QObject(parent),
      FDocument(document),
      FViews(views),
      FProgress(progress),
      FList(list),
      FFitMap(fitMap),
      FDragPoints(dragPoints)
{
    FViews.SetDrawMap([this] { DrawMap(); });
}

void TMapController::Attach(TMapForm* mapForm)
{
    FMapForm = mapForm;
    connect(mapForm, &TMapForm::Resized, this, [this](int32_t width, int32_t height) {
        FDocument.State().FMapWidth = width;
        FDocument.State().FMapHeight = height;
        DrawMap();
    });
    connect(
        mapForm, &TMapForm::MouseDown, this,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers, int32_t x, int32_t y) { MapMouseDown(button, x, y); });
    connect(mapForm, &TMapForm::MouseMove, this, [this](int32_t x, int32_t y) { MapMouseMove(x, y); });
    connect(mapForm, &TMapForm::MouseUp, this,
            [this](Qt::MouseButton button, int32_t x, int32_t y) { MapMouseUp(button, x, y); });
}

void TMapController::PrepareMapSurface()
{
    if (!FMapForm)
        return;
    TImage32* view = FMapForm->Image321;
    TBitmap32& surface = view->Bitmap();
    surface.BeginUpdate();
    surface.SetSize(view->width(), view->height());
    surface.Clear(MapBackgroundColor);
    surface.EndUpdate();
    view->update();
    FDocument.State().FMapWidth = view->width();
    FDocument.State().FMapHeight = view->height();
}

void TMapController::DrawMap()
{
    FProgress.ShowStatus("Rysowanie punktów...", 0);
    if (FMapForm) {
        TImage32* view = FMapForm->Image321;
        // Rows are read once: a point without a row (the list is rebuilt
        // after the set grows) is drawn unselected.
        const std::vector<char> selected = FList.SelectedRows();
        // A dragged point keeps the scale it was grabbed at, or the map would
        // slide under the pointer as the point changes the points' extent.
        if (FDrag.Point < 0)
            FMapFit = FFitMap.isChecked() ? FitMapToPoints(FDocument.State().FPoints, view->width(), view->height())
                                          : TMapFit();
        const TPointArray& points = FShownRoute ? RouteShownAsLinks() : FDocument.State().FPoints;
        RenderMap(
            view->Bitmap(), view->width(), view->height(), points,
            [&selected](int32_t i) { return RowSelected(selected, i); }, FMapFit);
        view->repaint();
    }
    FProgress.ShowStatus("", 0);
}

void TMapController::ShowRoute(std::optional<TSpecimen> route)
{
    FShownRoute = std::move(route);
    DrawMap();
}

const TPointArray& TMapController::RouteShownAsLinks()
{
    FShownPoints = FDocument.State().FPoints;
    for (TMapPoint& point : FShownPoints)
        point.Next = -1;
    // A route of another set (points added since) shows only its legs
    // between points the set still has.
    TSpecimen route;
    for (const int32_t point : *FShownRoute)
        if (point >= 0 && static_cast<size_t>(point) < FShownPoints.size())
            route.push_back(point);
    ApplyBestRoute(FShownPoints, route);
    return FShownPoints;
}

QPoint TMapController::PointAtMapPixel(int32_t x, int32_t y) const
{
    return {FMapFit.PointX(x), FMapFit.PointY(y)};
}

int32_t TMapController::PointAtMapSquare(int32_t x, int32_t y) const
{
    const TPointArray& points = FDocument.State().FPoints;
    const std::vector<char> selected = FList.SelectedRows();
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

void TMapController::AddPoint(int32_t X, int32_t Y)
{
    // Clicks come fast: a note in the status bar rather than a box. A larger
    // set could not be saved and read back.
    if (FDocument.State().FPoints.size() >= static_cast<size_t>(MaxPoints)) {
        FProgress.ShowStatus("Najwyżej " + std::to_string(MaxPoints) + " punktów.", 0);
        return;
    }
    FDocument.Push(new TAddPointCommand(FDocument, {X, Y, -1}));
}

void TMapController::MapMouseDown(Qt::MouseButton button, int32_t x, int32_t y)
{
    // A press while a step is applied comes after it (see FDocument.ApplyingStep()).
    if (FDocument.ApplyingStep()) {
        QTimer::singleShot(0, this, [this, button, x, y] { MapMouseDown(button, x, y); });
        return;
    }
    // A search reads the coordinates as it goes; it still gets new points,
    // as it always did, but no point moves under it.
    if (FDragPoints.isChecked() && button == Qt::LeftButton && !FDocument.State().FSearching) {
        const int32_t hit = PointAtMapSquare(x, y);
        if (hit >= 0) {
            const TMapPoint& point = FDocument.State().FPoints[static_cast<size_t>(hit)];
            FDrag = {hit, QPoint(x, y), QPoint(FMapFit.MapX(point.X), FMapFit.MapY(point.Y))};
            return;
        }
    }
    const QPoint point = PointAtMapPixel(x, y);
    AddPoint(point.x(), point.y());
}

QPoint TMapController::DragTarget(int32_t x, int32_t y) const
{
    // The square stays where the pointer holds it; a release where the
    // press was leaves the point alone (a scaled map has fewer pixels than
    // coordinates, so the way back from its pixel may not be the point).
    const TMapPoint& point = FDocument.State().FPoints[static_cast<size_t>(FDrag.Point)];
    if (QPoint(x, y) == FDrag.Press)
        return {point.X, point.Y};
    const QPoint square = FDrag.Square + QPoint(x, y) - FDrag.Press;
    return PointAtMapPixel(square.x(), square.y());
}

void TMapController::MapMouseMove(int32_t x, int32_t y)
{
    if (FDrag.Point < 0 || FDocument.ApplyingStep() ||
        static_cast<size_t>(FDrag.Point) >= FDocument.State().FPoints.size())
        return;
    // The map follows the pointer; the set itself changes at the release.
    TMapPoint& point = FDocument.State().FPoints[static_cast<size_t>(FDrag.Point)];
    const TMapPoint kept = point;
    const QPoint target = DragTarget(x, y);
    point.X = target.x();
    point.Y = target.y();
    DrawMap();
    point = kept;
}

void TMapController::MapMouseUp(Qt::MouseButton button, int32_t x, int32_t y)
{
    if (FDrag.Point < 0 || button != Qt::LeftButton)
        return;
    if (FDocument.ApplyingStep()) {
        QTimer::singleShot(0, this, [this, button, x, y] { MapMouseUp(button, x, y); });
        return;
    }
    const int32_t index = FDrag.Point;
    if (static_cast<size_t>(index) >= FDocument.State().FPoints.size()) {
        FDrag = {};
        DrawMap();
        return;
    }
    const QPoint target = DragTarget(x, y);
    FDrag = {};
    const TMapPoint& point = FDocument.State().FPoints[static_cast<size_t>(index)];
    if (target == QPoint(point.X, point.Y)) {
        DrawMap();
        return;
    }
    FDocument.Push(
        new TMovePointCommand(FDocument, QStringLiteral("przesunięcie punktu"), index, target.x(), target.y()));
}
