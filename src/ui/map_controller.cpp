#include "ui/map_controller.h"

#include <QAction>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "raster/map_shapes.h"
#include "raster/map_view.h"
#include "ui/document.h"
#include "ui/live_route.h"
#include "ui/map_hits.h"
#include "ui/map_painter.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/search_runner.h"
#include "ui/status_bar.h"
#include "ui/undo_commands.h"
#include "ui/window_progress.h"

namespace {

// A held middle button (or Space) that moves less than this is a press.
constexpr int PanStartPx = 3;

}  // namespace

TMapController::TMapController(TDocument& document, const TSearchRunner& runner, TWindowProgress& progress,
                               TStatusBar& statusBar, const TPointList& list, const TMapCommands& commands,
                               QObject* parent)
    : QObject(parent),
      FDocument(document),
      FRunner(runner),
      FProgress(progress),
      FStatusBar(statusBar),
      FList(list),
      FCommands(commands)
{
    FLive = new TLiveRoute(progress, runner, commands.LiveRoute, this);
    connect(FLive, &TLiveRoute::Due, this,
            [this](const TSpecimen& route, const QString& note) { ShowLiveRoute(route, note); });
    // The list is rebuilt first, so the map draws with its selection.
    connect(&list, &TPointList::Refreshed, this, [this] { DrawMap(); });
    // A changed set may take the held point away. A set that would not be
    // seen whole then changes the view and draws once more.
    connect(&document, &TDocument::PointsChanged, this, [this](int32_t firstNewPoint) {
        FDrag = {};
        if (firstNewPoint == 0)
            SetReplaced();
    });
    connect(&document, &TDocument::PointMoved, this, [this] { FDrag = {}; });
    connect(&document, &TDocument::SetOpened, this, [this] { FView.NoteOpened(); });
    connect(&commands.FitMap, &QAction::triggered, this, [this] { FView.FittedByMap = false; });
}

void TMapController::Attach(TMapForm* mapForm)
{
    FMapForm = mapForm;
    connect(mapForm, &TMapForm::Resized, this, [this](int32_t width, int32_t height) {
        FView.Width = width;
        FView.Height = height;
        DrawMap();
    });
    connect(
        mapForm, &TMapForm::MouseDown, this,
        [this](Qt::MouseButton button, Qt::KeyboardModifiers, int32_t x, int32_t y) { MapMouseDown(button, x, y); });
    connect(mapForm, &TMapForm::MouseMove, this, [this](int32_t x, int32_t y) { MapMouseMove(x, y); });
    connect(mapForm, &TMapForm::MouseUp, this,
            [this](Qt::MouseButton button, int32_t x, int32_t y) { MapMouseUp(button, x, y); });
    connect(mapForm, &TMapForm::Wheel, this,
            [this](int32_t angleDelta, int32_t x, int32_t y) { MapWheel(angleDelta, x, y); });
    connect(mapForm, &TMapForm::SpaceHeld, this, [this](bool held) { SetSpaceHeld(held); });
    mapForm->ToolTipAt = [this](int32_t x, int32_t y) { return ToolTipAt(x, y); };
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
    FView.Width = view->width();
    FView.Height = view->height();
    FPrepared = true;
}

void TMapController::DrawMap()
{
    FProgress.ShowStatus("Rysowanie punktów...", 0);
    Draw();
    FProgress.ShowStatus("", 0);
}

void TMapController::Draw()
{
    if (!FMapForm)
        return;
    TImage32* view = FMapForm->Image321;
    const int32_t width = view->width();
    const int32_t height = view->height();
    FView.FollowFitCheck(FCommands.FitMap.isChecked());
    if (FView.ReplacedDue)
        LookAtSet(width, height);
    if (FLiveRoute && !FRunner.Searching()) {
        FLiveRoute.reset();
        ShowNote({}, {});
    }
    // A dragged point keeps the view it was grabbed in, or the map would
    // slide under the pointer as the point changes the points' extent.
    if (FDrag.Point < 0)
        FView.Shown = FView.Next(FDocument.State().FPoints, width, height);
    // Rows are read once: a point without a row (the list is rebuilt after
    // the set grows) is drawn unselected.
    FPainter.Paint(*view, PointsToDraw(), FList.SelectedRows(), FView.Shown, FCommands.PointNumbers.isChecked(),
                   KindToDraw());
}

TRouteKind TMapController::KindToDraw() const
{
    if (FLiveRoute)
        return FRunner.Kind();
    if (FShownRoute)
        return FShownKind;
    return FDocument.State().FRouteKind;
}

const TPointArray& TMapController::PointsToDraw()
{
    if (FLiveRoute)
        return RouteAsLinks(*FLiveRoute);
    if (FShownRoute)
        return RouteAsLinks(*FShownRoute);
    const TPointArray& points = FDocument.State().FPoints;
    if (!FDragAt || FDrag.Point < 0 || static_cast<size_t>(FDrag.Point) >= points.size())
        return points;
    FShownPoints = points;
    FShownPoints[static_cast<size_t>(FDrag.Point)].X = FDragAt->x();
    FShownPoints[static_cast<size_t>(FDrag.Point)].Y = FDragAt->y();
    return FShownPoints;
}

void TMapController::SyncFitCheck()
{
    FCommands.FitMap.setChecked(FView.Mode == TMapViewMode::Fitted);
}

void TMapController::ViewMoved()
{
    SyncFitCheck();
    if (!FLiveRoute)
        ShowNote({}, {});
    Draw();
}

void TMapController::SetReplaced()
{
    // Steps of the history (drawing, deleting, undoing) are made through
    // the document's Push; what comes from outside is a set of its own.
    if (!FView.NoteReplaced(FDocument.State().FPoints, !FDocument.ApplyingStep()))
        return;
    if (FMapForm && FPrepared && LookAtSet(FMapForm->Image321->width(), FMapForm->Image321->height()))
        Draw();
}

bool TMapController::LookAtSet(int32_t width, int32_t height)
{
    const TMapLook look = FView.LookAtSet(FDocument.State().FPoints, width, height);
    if (look.BackToPixels || look.FittedByMap)
        SyncFitCheck();
    if (look.BackToPixels && !FLiveRoute)
        ShowNote({}, {});
    if (look.FittedByMap)
        ShowNote(QStringLiteral("Dopasowano mapę do zbioru"),
                 QStringLiteral("Zbiór nie mieścił się na mapie, więc mapa pokazuje go w całości "
                                "(\"Dopasuj mapę do okna\"); Ctrl+0 wraca do skali 1:1."));
    return look.Changed;
}

void TMapController::ShowNote(const QString& note, const QString& toolTip)
{
    FNote = note;
    FStatusBar.SetPanelNote(FStatusBar.PanelCount() - 1, note, toolTip);
}

void TMapController::ShowRoute(std::optional<TSpecimen> route, const TRouteKind& kind)
{
    FShownRoute = std::move(route);
    FShownKind = kind;
    DrawMap();
}

void TMapController::ShowLiveRoute(const TSpecimen& route, const QString& note)
{
    if (!FRunner.Searching())
        return;
    FLiveRoute = route;
    ShowNote(note, QStringLiteral("Długość najlepszej dotąd drogi i czas szukania, w którym ją znaleziono"));
    // A hidden map costs the search nothing; shown, it draws the route.
    if (FMapForm && FMapForm->isVisible())
        Draw();
}

const TPointArray& TMapController::RouteAsLinks(const TSpecimen& route)
{
    FShownPoints = PointsWithRoute(FDocument.State().FPoints, route);
    return FShownPoints;
}

QPoint TMapController::PointAtMapPixel(int32_t x, int32_t y) const
{
    return {FView.Shown.PointX(x), FView.Shown.PointY(y)};
}

int32_t TMapController::PointAtMapSquare(int32_t x, int32_t y) const
{
    return FPainter.MarkAt(FDocument.State().FPoints, FList.SelectedRows(), FView.Shown, x, y);
}

QString TMapController::ToolTipAt(int32_t x, int32_t y) const
{
    return MapToolTip(FDocument.State().FPoints, PointAtMapSquare(x, y), FPainter.DrewPixels(),
                      FDocument.State().FRouteKind);
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

void TMapController::ZoomIn()
{
    if (FMapForm)
        ZoomAbout(ViewZoomStep, FMapForm->Image321->width() / 2, FMapForm->Image321->height() / 2);
}

void TMapController::ZoomOut()
{
    if (FMapForm)
        ZoomAbout(1.0 / ViewZoomStep, FMapForm->Image321->width() / 2, FMapForm->Image321->height() / 2);
}

void TMapController::ZoomToPixels()
{
    if (FDrag.Point >= 0)
        return;
    FView.ToPixels();
    ViewMoved();
}

void TMapController::ZoomAbout(double factor, int32_t x, int32_t y)
{
    if (FDrag.Point >= 0 || !FMapForm)
        return;
    FView.ZoomAbout(factor, x, y);
    ViewMoved();
}

void TMapController::MapWheel(int32_t angleDelta, int32_t x, int32_t y)
{
    ZoomAbout(std::pow(ViewZoomStep, angleDelta / 120.0), x, y);
}

void TMapController::MapMouseDown(Qt::MouseButton button, int32_t x, int32_t y)
{
    // A press while a step is applied comes after it (see FDocument.ApplyingStep()).
    if (FDocument.ApplyingStep()) {
        QTimer::singleShot(0, this, [this, button, x, y] { MapMouseDown(button, x, y); });
        return;
    }
    if (FPan.Button != Qt::NoButton || FDrag.Point >= 0)
        return;
    if (button == Qt::MiddleButton || (button == Qt::LeftButton && FSpaceHeld)) {
        FPan = {button, QPoint(x, y), QPoint(x, y), false};
        return;
    }
    if (RefusesEdits())
        return;
    // A search reads the coordinates as it goes; it still gets new points,
    // as it always did, but no point moves under it.
    if (FCommands.DragPoints.isChecked() && button == Qt::LeftButton && !FRunner.Searching()) {
        const int32_t hit = PointAtMapSquare(x, y);
        if (hit >= 0) {
            const TMapPoint& point = FDocument.State().FPoints[static_cast<size_t>(hit)];
            FDrag = {hit, QPoint(x, y), QPoint(FView.Shown.MapX(point.X), FView.Shown.MapY(point.Y))};
            return;
        }
    }
    const QPoint point = PointAtMapPixel(x, y);
    AddPoint(point.x(), point.y());
}

bool TMapController::RefusesEdits()
{
    if (!FShownRoute)
        return false;
    FProgress.ShowStatus(
        "Mapa pokazuje drogę wybranego przebiegu i nie przyjmuje zmian; "
        "odznacz przebieg na karcie \u201ePor\u00f3wnanie\u201d.",
        0);
    return true;
}

QPoint TMapController::DragTarget(int32_t x, int32_t y) const
{
    // The mark stays where the pointer holds it; a release where the press
    // was leaves the point alone (a scaled map has fewer pixels than
    // coordinates, so the way back from its pixel may not be the point).
    const TMapPoint& point = FDocument.State().FPoints[static_cast<size_t>(FDrag.Point)];
    if (QPoint(x, y) == FDrag.Press)
        return {point.X, point.Y};
    const QPoint square = FDrag.Square + QPoint(x, y) - FDrag.Press;
    return PointAtMapPixel(square.x(), square.y());
}

void TMapController::MapMouseMove(int32_t x, int32_t y)
{
    if (FPan.Button != Qt::NoButton) {
        if (!FPan.Moved && (QPoint(x, y) - FPan.Press).manhattanLength() < PanStartPx)
            return;
        FPan.Moved = true;
        FView.Pan(x - FPan.Last.x(), y - FPan.Last.y());
        FPan.Last = QPoint(x, y);
        ViewMoved();
        return;
    }
    if (FDrag.Point < 0 || FDocument.ApplyingStep() ||
        static_cast<size_t>(FDrag.Point) >= FDocument.State().FPoints.size())
        return;
    // The map follows the pointer; the set itself changes at the release.
    FDragAt = DragTarget(x, y);
    DrawMap();
    FDragAt.reset();
}

void TMapController::MapMouseUp(Qt::MouseButton button, int32_t x, int32_t y)
{
    if (FDocument.ApplyingStep() && (FDrag.Point >= 0 || FPan.Button != Qt::NoButton)) {
        QTimer::singleShot(0, this, [this, button, x, y] { MapMouseUp(button, x, y); });
        return;
    }
    if (FPan.Button != Qt::NoButton) {
        if (button != FPan.Button)
            return;
        const TMapPan pan = std::exchange(FPan, {});
        // A middle press that did not move is a press like any other.
        if (!pan.Moved && pan.Button == Qt::MiddleButton && !RefusesEdits()) {
            const QPoint point = PointAtMapPixel(pan.Press.x(), pan.Press.y());
            AddPoint(point.x(), point.y());
        }
        return;
    }
    if (FDrag.Point < 0 || button != Qt::LeftButton)
        return;
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
