#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>

#include "core/point_set.h"
#include "raster/map_fit.h"
#include "raster/map_view_picture.h"

class QAction;
class TDocument;
class TLiveRoute;
class TMapForm;
class TPointList;
class TSetViews;
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

// The map as the window works with it: the drawing surface prepared at the
// first showing, the whole picture drawn from the set, points added by
// presses and dragged to a new place, and the view: the pixel picture, the
// set fitted to the window, or a view the user zoomed and moved. It owns
// the view of the last drawing and the point being dragged; the map window
// only shows the surface and reports sizes, presses, the wheel and Space.
class TMapController : public QObject {
    Q_OBJECT

public:
    TMapController(TDocument& document, TSetViews& views, TWindowProgress& progress, TStatusBar& statusBar,
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

    // A route drawn instead of the links until it is taken away (nothing):
    // a run of the past being looked at. The set and its links stay as they
    // are.
    void ShowRoute(std::optional<TSpecimen> route);
    bool ShowsRoute() const { return FShownRoute.has_value(); }
    // The best route of the running search, drawn instead of the links
    // while it runs, with its words in the status bar; the first drawing
    // after the search shows the links again.
    void ShowLiveRoute(const TSpecimen& route, const QString& note);
    bool ShowsLiveRoute() const { return FLiveRoute.has_value(); }
    TLiveRoute& LiveRoute() { return *FLive; }

    // A step of the history may take the held point away.
    void CancelDrag() { FDrag = {}; }
    // The view of the last drawing, for pictures of the same map.
    const TMapFit& Fit() const { return FMapFit; }
    // Whether the last drawing was the pixel picture.
    bool DrawsPixels() const { return FDrewPixels; }
    // What the tooltip says over map pixel (x, y).
    QString ToolTipAt(int32_t x, int32_t y) const;

private:
    // How the view is chosen at each drawing.
    enum class TViewMode {
        Pixels,  // the pixel picture
        Fitted,  // the set fitted to the window, "Dopasuj mapę do okna"
        Free,    // zoomed or moved by the user
    };

    // The drawing without the status texts (the live route draws during a
    // search, whose text stays).
    void Draw();
    // The view the next drawing uses.
    TMapFit CurrentView(int32_t width, int32_t height) const;
    void SetMode(TViewMode mode);
    // The set was replaced: whether it is seen whole is looked at with the
    // next drawing. newSet: it came from outside the history (opened, new).
    void SetReplaced();
    // Returns whether the view changed.
    bool ShowWholeSet(int32_t width, int32_t height);
    void ShowNote(const QString& note, const QString& toolTip);
    // The set's points with route as their links.
    const TPointArray& RouteAsLinks(const TSpecimen& route);
    // While a run's route is looked at, the map is read-only: a press that
    // would change the set is refused with a word in the status bar.
    bool RefusesEdits();
    // Where a dragged point would land were it dropped at map pixel (x, y).
    QPoint DragTarget(int32_t x, int32_t y) const;

    TDocument& FDocument;
    TSetViews& FViews;
    TWindowProgress& FProgress;
    TStatusBar& FStatusBar;
    const TPointList& FList;
    TMapCommands FCommands;
    TLiveRoute* FLive = nullptr;
    TMapForm* FMapForm = nullptr;
    bool FPrepared = false;

    TViewMode FMode = TViewMode::Pixels;
    // The view of the user's zoom and moves.
    TMapFit FFreeView;
    // The view of the last drawing, so a press maps back to the points.
    // It holds still while a point is dragged.
    TMapFit FMapFit;
    bool FDrewPixels = true;
    // The marks of the last drawing when it was not the pixel picture.
    TMapViewPicture FPicture;
    // A replaced set waits to be looked at; fromOutside: opened or new.
    struct TReplaced {
        bool Due = false;
        bool FromOutside = false;
    };
    TReplaced FReplaced;
    // The extent of the set last looked at: a search's start replaces the
    // set with the same points.
    std::optional<std::pair<QPoint, QPoint>> FExtent;
    // Ctrl+0 asked for the pixel picture: steps of the history keep it.
    bool FPixelsChosen = false;
    // The map fitted the set itself, not the user: the next set that lies
    // on the map is shown at its own coordinates again.
    bool FFittedByMap = false;
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
    std::optional<TSpecimen> FLiveRoute;
    TPointArray FShownPoints;
};
