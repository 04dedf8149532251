#pragma once

#include <QObject>
#include <QPoint>

#include <cstdint>
#include <optional>

#include "core/point_set.h"
#include "raster/map_fit.h"

class QAction;
class TDocument;
class TMapForm;
class TPointList;
class TSetViews;
class TWindowProgress;

// The map as the window works with it: the drawing surface prepared at the
// first showing, the whole picture drawn from the set, points added by
// presses and dragged to a new place. It owns the scale of the last drawing
// and the point being dragged; the map window only shows the surface and
// reports sizes and presses.
class TMapController : public QObject {
    Q_OBJECT

public:
    // fitMap and dragPoints are the settings "Dopasuj mapę do okna" and
    // "Przesuwanie punktów myszą", read by their check marks.
    TMapController(TDocument& document, TSetViews& views, TWindowProgress& progress, const TPointList& list,
                   const QAction& fitMap, const QAction& dragPoints, QObject* parent);

    // The map window, created after the main window; its size changes and
    // presses come here.
    void Attach(TMapForm* mapForm);
    TMapForm* MapForm() const { return FMapForm; }

    void PrepareMapSurface();
    void DrawMap();
    void AddPoint(int32_t X, int32_t Y);
    // The point coordinates a press on map pixel (x, y) stands for.
    QPoint PointAtMapPixel(int32_t x, int32_t y) const;
    // The point whose square covers map pixel (x, y) as last drawn, the
    // top one (the highest index) where squares overlap; -1 when none.
    int32_t PointAtMapSquare(int32_t x, int32_t y) const;
    // Presses on the map add points; with "Przesuwanie punktów myszą" on, a
    // left press on a square drags that point instead, and the release
    // drops it (one step of the history).
    void MapMouseDown(Qt::MouseButton button, int32_t x, int32_t y);
    void MapMouseMove(int32_t x, int32_t y);
    void MapMouseUp(Qt::MouseButton button, int32_t x, int32_t y);
    // A route drawn instead of the links until it is taken away (nothing):
    // the best route of a running search, or a run of the past being looked
    // at. The set and its links stay as they are.
    void ShowRoute(std::optional<TSpecimen> route);
    bool ShowsRoute() const { return FShownRoute.has_value(); }
    // A step of the history may take the held point away.
    void CancelDrag() { FDrag = {}; }
    // The scale of the last drawing, for pictures of the same map.
    const TMapFit& Fit() const { return FMapFit; }

private:
    // The set's points with the shown route as their links.
    const TPointArray& RouteShownAsLinks();
    // Where a dragged point would land were it dropped at map pixel (x, y).
    QPoint DragTarget(int32_t x, int32_t y) const;

    TDocument& FDocument;
    TSetViews& FViews;
    TWindowProgress& FProgress;
    const TPointList& FList;
    const QAction& FFitMap;
    const QAction& FDragPoints;
    TMapForm* FMapForm = nullptr;
    // The scale of the last drawing, so a press maps back to the points.
    // It holds still while a point is dragged.
    TMapFit FMapFit;
    // The point being dragged (-1: none), the pixel of the press and the
    // top-left pixel of its square then.
    struct TMapDrag {
        int32_t Point = -1;
        QPoint Press;
        QPoint Square;
    };
    TMapDrag FDrag;
    std::optional<TSpecimen> FShownRoute;
    TPointArray FShownPoints;
};
