#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>

#include "core/point_set.h"
#include "raster/map_fit.h"
#include "ui/map_painter.h"
#include "ui/map_view_state.h"

class QAction;
class TDocument;
class TLiveRoute;
class TMapForm;
class TPointList;
class TSearchRunner;
class TStatusBar;
class TWindowProgress;

// The settings the map reads by their check marks. "Dopasuj mapę do okna"
// is also set by the map itself when a new set would not be seen whole.
struct TMapCommands {
    QAction& FitMap;
    const QAction& DragPoints;
    // "Pokazuj drogę podczas szukania".
    const QAction& LiveRoute;
    // "Numery punktów".
    const QAction& PointNumbers;
};

// The map's input and drawing: the surface prepared at the first showing,
// the whole picture drawn from the set with the view its TMapViewState
// chooses, points added by presses and dragged to a new place, the view
// zoomed and moved. It follows the point list (each rebuild of the list
// draws the map, with its selection), the document (a replaced set is
// looked at; any change of the points lets go of a dragged point) and the
// live route. The map window only shows the surface and reports sizes,
// presses, the wheel and Space.
class TMapController : public QObject {
    Q_OBJECT

public:
    TMapController(TDocument& document, const TSearchRunner& runner, TWindowProgress& progress, TStatusBar& statusBar,
                   const TPointList& list, const TMapCommands& commands, QObject* parent);

    // The map window, created after the main window; its size changes and
    // presses come here.
    void Attach(TMapForm* mapForm);
    TMapForm* MapForm() const { return FMapForm; }

    void PrepareMapSurface();
    void DrawMap();
    void AddPoint(int32_t X, int32_t Y);
    // The point coordinates a press on map pixel (x, y) stands for.
    QPoint PointAtMapPixel(int32_t x, int32_t y) const;
    // The point whose mark covers map pixel (x, y) as last drawn, the top
    // one (the highest index) where marks overlap; -1 when none.
    int32_t PointAtMapSquare(int32_t x, int32_t y) const;
    // Presses on the map add points; with "Przesuwanie punktów myszą" on, a
    // left press on a mark drags that point instead, and the release drops
    // it (one step of the history). The middle button, or the left one with
    // Space held, moves the view; a middle press that does not move adds its
    // point when it is released.
    void MapMouseDown(Qt::MouseButton button, int32_t x, int32_t y);
    void MapMouseMove(int32_t x, int32_t y);
    void MapMouseUp(Qt::MouseButton button, int32_t x, int32_t y);
    // The wheel zooms about the pixel under the pointer.
    void MapWheel(int32_t angleDelta, int32_t x, int32_t y);
    void SetSpaceHeld(bool held) { FSpaceHeld = held; }

    // Zoom about the map's middle, and back to the pixel picture.
    void ZoomIn();
    void ZoomOut();
    void ZoomToPixels();
    // Zooms by factor about map pixel (x, y).
    void ZoomAbout(double factor, int32_t x, int32_t y);

    // A route of a kind drawn instead of the links until it is taken away
    // (nothing): a run of the past being looked at. The set and its links
    // stay as they are.
    void ShowRoute(std::optional<TSpecimen> route, const TRouteKind& kind = {});
    bool ShowsRoute() const { return FShownRoute.has_value(); }
    // The best route of the running search (of the runner's kind), drawn
    // instead of the links while it runs, with its words in the status bar;
    // the first drawing after the search shows the links again.
    void ShowLiveRoute(const TSpecimen& route, const QString& note);
    bool ShowsLiveRoute() const { return FLiveRoute.has_value(); }
    TLiveRoute& LiveRoute() { return *FLive; }

    // The view: size, mode, zoom; Shown is the view of the last drawing,
    // for pictures of the same map.
    const TMapViewState& View() const { return FView; }
    const TMapFit& Fit() const { return FView.Shown; }
    // Whether the last drawing was the pixel picture.
    bool DrawsPixels() const { return FPainter.DrewPixels(); }
    // What the tooltip says over map pixel (x, y).
    QString ToolTipAt(int32_t x, int32_t y) const;

private:
    // The drawing without the status texts (the live route draws during a
    // search, whose text stays).
    void Draw();
    // What the drawing shows: the live route, a run's route or the set,
    // with a dragged point where the pointer holds it.
    const TPointArray& PointsToDraw();
    // The kind of route the drawing's links hold.
    TRouteKind KindToDraw() const;
    // The view changed by the user: the map's fit note goes (the live
    // route's words stay), the check mark follows, and the map is drawn.
    void ViewMoved();
    void SyncFitCheck();
    // The set was replaced: whether it is seen whole is looked at with the
    // next drawing, or now when the map is on screen.
    void SetReplaced();
    // Looks at a replaced set; returns whether the view changed.
    bool LookAtSet(int32_t width, int32_t height);
    void ShowNote(const QString& note, const QString& toolTip);
    // The set's points with route as their links.
    const TPointArray& RouteAsLinks(const TSpecimen& route);
    // While a run's route is looked at, the map is read-only: a press that
    // would change the set is refused with a word in the status bar.
    bool RefusesEdits();
    // Where a dragged point would land were it dropped at map pixel (x, y).
    QPoint DragTarget(int32_t x, int32_t y) const;

    TDocument& FDocument;
    const TSearchRunner& FRunner;
    TWindowProgress& FProgress;
    TStatusBar& FStatusBar;
    const TPointList& FList;
    TMapCommands FCommands;
    TLiveRoute* FLive = nullptr;
    TMapForm* FMapForm = nullptr;
    bool FPrepared = false;

    TMapViewState FView;
    TMapPainter FPainter;
    // What the map wrote in the status bar's last panel.
    QString FNote;

    // The point being dragged (-1: none), the pixel of the press and the
    // top-left pixel of its square then.
    struct TMapDrag {
        int32_t Point = -1;
        QPoint Press;
        QPoint Square;
    };
    TMapDrag FDrag;
    // Where the dragged point is drawn during the drawing that follows the
    // pointer; the set itself changes at the release.
    std::optional<QPoint> FDragAt;
    // The view being moved by a held button.
    struct TMapPan {
        Qt::MouseButton Button = Qt::NoButton;
        QPoint Press;
        QPoint Last;
        bool Moved = false;
    };
    TMapPan FPan;
    bool FSpaceHeld = false;

    std::optional<TSpecimen> FShownRoute;
    TRouteKind FShownKind;
    std::optional<TSpecimen> FLiveRoute;
    TPointArray FShownPoints;
};
