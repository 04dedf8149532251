#include "ui/map_controller.h"

#include <QAction>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "picture/map_view_paint.h"
#include "raster/map_render.h"
#include "raster/map_shapes.h"
#include "raster/map_view.h"
#include "ui/document.h"
#include "ui/live_route.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/set_views.h"
#include "ui/status_bar.h"
#include "ui/undo_commands.h"
#include "ui/window_progress.h"

namespace {

// A held middle button (or Space) that moves less than this is a press.
constexpr int PanStartPx = 3;
// A mark smaller than this is found this near its centre.
constexpr double GrabPx = 4.0;

std::optional<std::pair<QPoint, QPoint>> Extent(const TPointArray& points)
{
    if (points.empty())
        return std::nullopt;
    QPoint low(points[0].X, points[0].Y);
    QPoint high = low;
    for (const TMapPoint& point : points) {
        low = QPoint(std::min(low.x(), point.X), std::min(low.y(), point.Y));
        high = QPoint(std::max(high.x(), point.X), std::max(high.y(), point.Y));
    }
    return std::make_pair(low, high);
}

}  // namespace

TMapController::TMapController(TDocument& document, TSetViews& views, TWindowProgress& progress, TStatusBar& statusBar,
                               const TPointList& list, const TMapCommands& commands, QObject* parent)
    : QObject(parent),
      FDocument(document),
      FViews(views),
      FProgress(progress),
      FStatusBar(statusBar),
      FList(list),
      FCommands(commands)
{
    FViews.SetDrawMap([this] { DrawMap(); });
    FLive = new TLiveRoute(progress, *this, document, commands.LiveRoute, this);
    // The views redraw first; a set that would not be seen whole then
    // changes the view and draws once more.
    connect(&document, &TDocument::PointsChanged, this, [this](int32_t firstNewPoint) {
        if (firstNewPoint == 0)
            SetReplaced();
    });
    // A set opened anew is looked at anew, also when it has the extent of
    // the one before (the same file read again).
    connect(&document, &TDocument::SetOpened, this, [this] {
        FExtent.reset();
        FReplaced.FromOutside = true;
    });
    connect(&commands.FitMap, &QAction::triggered, this, [this] { FFittedByMap = false; });
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
    FDocument.State().FMapWidth = view->width();
    FDocument.State().FMapHeight = view->height();
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
    // The check mark is the user's word too.
    if (FCommands.FitMap.isChecked())
        FMode = TViewMode::Fitted;
    else if (FMode == TViewMode::Fitted)
        FMode = TViewMode::Pixels;
    if (FReplaced.Due)
        ShowWholeSet(width, height);
    if (FLiveRoute && !FDocument.State().FSearching) {
        FLiveRoute.reset();
        ShowNote({}, {});
    }
    // A dragged point keeps the view it was grabbed in, or the map would
    // slide under the pointer as the point changes the points' extent.
    if (FDrag.Point < 0)
        FMapFit = CurrentView(width, height);

    const TPointArray& points = FLiveRoute    ? RouteAsLinks(*FLiveRoute)
                                : FShownRoute ? RouteAsLinks(*FShownRoute)
                                              : FDocument.State().FPoints;
    // Rows are read once: a point without a row (the list is rebuilt after
    // the set grows) is drawn unselected.
    const std::vector<char> selected = FList.SelectedRows();
    const auto isSelected = [&selected](int32_t i) { return RowSelected(selected, i); };
    const bool numbers = FCommands.PointNumbers.isChecked();
    FDrewPixels = DrawsPixelPicture(FMapFit);
    if (FDrewPixels) {
        FPicture = {};
        RenderMap(view->Bitmap(), width, height, points, isSelected, FMapFit);
        view->SetOverlay(PixelPictureEnds(points, FMapFit, width, height));
        if (numbers)
            PaintMapLabels(view->Bitmap(),
                           PlaceLabels(PixelPictureMarks(points, isSelected, FMapFit, width, height), width, height));
    } else {
        FPicture = BuildMapViewPicture(points, isSelected, width, height, FMapFit, numbers);
        view->SetOverlay({});
        RenderMapView(view->Bitmap(), FPicture);
    }
    view->repaint();
}

TMapFit TMapController::CurrentView(int32_t width, int32_t height) const
{
    switch (FMode) {
    case TViewMode::Fitted:
        return FitMapToPoints(FDocument.State().FPoints, width, height);
    case TViewMode::Free:
        return FFreeView;
    case TViewMode::Pixels:
        break;
    }
    return TMapFit();
}

void TMapController::SetMode(TViewMode mode)
{
    FMode = mode;
    FFittedByMap = false;
    FCommands.FitMap.setChecked(mode == TViewMode::Fitted);
}

void TMapController::SetReplaced()
{
    const auto extent = Extent(FDocument.State().FPoints);
    if (extent == FExtent)
        return;
    FExtent = extent;
    FReplaced.Due = true;
    // Steps of the history (drawing, deleting, undoing) are made through
    // the document's Push; what comes from outside is a set of its own.
    FReplaced.FromOutside = FReplaced.FromOutside || !FDocument.ApplyingStep();
    if (FMapForm && FPrepared && ShowWholeSet(FMapForm->Image321->width(), FMapForm->Image321->height()))
        Draw();
}

bool TMapController::ShowWholeSet(int32_t width, int32_t height)
{
    const bool fromOutside = FReplaced.FromOutside;
    FReplaced = {};
    const TViewMode before = FMode;
    if (fromOutside) {
        FPixelsChosen = false;
        if (FMode == TViewMode::Free || (FMode == TViewMode::Fitted && FFittedByMap)) {
            SetMode(TViewMode::Pixels);
            if (!FLiveRoute)
                ShowNote({}, {});
        }
    }
    if (FMode == TViewMode::Pixels && !FPixelsChosen && !PointsLieOnMap(FDocument.State().FPoints, width, height)) {
        SetMode(TViewMode::Fitted);
        FFittedByMap = true;
        ShowNote(QStringLiteral("Dopasowano mapę do zbioru"),
                 QStringLiteral("Zbiór nie mieścił się na mapie, więc mapa pokazuje go w całości "
                                "(\"Dopasuj mapę do okna\"); Ctrl+0 wraca do skali 1:1."));
    }
    return FMode != before;
}

void TMapController::ShowNote(const QString& note, const QString& toolTip)
{
    FNote = note;
    FStatusBar.SetPanelNote(FStatusBar.PanelCount() - 1, note, toolTip);
}

void TMapController::ShowRoute(std::optional<TSpecimen> route)
{
    FShownRoute = std::move(route);
    DrawMap();
}

void TMapController::ShowLiveRoute(const TSpecimen& route, const QString& note)
{
    if (!FDocument.State().FSearching)
        return;
    FLiveRoute = route;
    ShowNote(note, QStringLiteral("Długość najlepszej dotąd drogi i czas szukania, w którym ją znaleziono"));
    // A hidden map costs the search nothing; shown, it draws the route.
    if (FMapForm && FMapForm->isVisible())
        Draw();
}

const TPointArray& TMapController::RouteAsLinks(const TSpecimen& route)
{
    FShownPoints = FDocument.State().FPoints;
    for (TMapPoint& point : FShownPoints)
        point.Next = -1;
    // A route of another set (points added since) shows only its legs
    // between points the set still has.
    TSpecimen kept;
    for (const int32_t point : route)
        if (point >= 0 && static_cast<size_t>(point) < FShownPoints.size())
            kept.push_back(point);
    ApplyBestRoute(FShownPoints, kept);
    return FShownPoints;
}

QPoint TMapController::PointAtMapPixel(int32_t x, int32_t y) const
{
    return {FMapFit.PointX(x), FMapFit.PointY(y)};
}

int32_t TMapController::PointAtMapSquare(int32_t x, int32_t y) const
{
    if (!FDrewPixels)
        return MarkAt(FPicture, x + 0.5, y + 0.5, GrabPx);
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

QString TMapController::ToolTipAt(int32_t x, int32_t y) const
{
    const int32_t hit = PointAtMapSquare(x, y);
    const TPointArray& points = FDocument.State().FPoints;
    if (hit < 0 || static_cast<size_t>(hit) >= points.size()) {
        if (FDrewPixels)
            return {};
        return QStringLiteral(
            "Zielone kółko: początek drogi, niebieski romb: jej koniec.\n"
            "Kółko myszy powiększa i pomniejsza, środkowy przycisk (albo lewy ze spacją) przesuwa mapę;\n"
            "Ctrl+0: skala 1:1.");
    }
    const TMapPoint& point = points[static_cast<size_t>(hit)];
    QString text = QStringLiteral("Punkt %1: %2; %3").arg(hit).arg(point.X).arg(point.Y);
    const bool reached = std::any_of(points.begin(), points.end(), [hit](const TMapPoint& p) { return p.Next == hit; });
    const bool linked = point.Next >= 0 && static_cast<size_t>(point.Next) < points.size();
    if (linked && !reached)
        text += QStringLiteral(", początek drogi");
    else if (reached && !linked)
        text += QStringLiteral(", koniec drogi");
    return text;
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
    FPixelsChosen = true;
    SetMode(TViewMode::Pixels);
    if (!FLiveRoute)
        ShowNote({}, {});
    Draw();
}

void TMapController::ZoomAbout(double factor, int32_t x, int32_t y)
{
    if (FDrag.Point >= 0 || !FMapForm)
        return;
    FFreeView = ZoomedAbout(FMapFit, factor, x, y);
    SetMode(TViewMode::Free);
    if (!FLiveRoute)
        ShowNote({}, {});
    Draw();
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
    if (FCommands.DragPoints.isChecked() && button == Qt::LeftButton && !FDocument.State().FSearching) {
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
        FFreeView = Panned(FMapFit, x - FPan.Last.x(), y - FPan.Last.y());
        FPan.Last = QPoint(x, y);
        SetMode(TViewMode::Free);
        if (!FLiveRoute)
            ShowNote({}, {});
        Draw();
        return;
    }
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
