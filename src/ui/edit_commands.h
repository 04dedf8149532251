#pragma once

#include <QObject>

#include <cstdint>

class QWidget;
class TDistanceGridModel;
class TDocument;
class TPointList;
class TSearchTab;
class TWindowProgress;
struct TMapViewState;

// Changing the set by hand, each change a step of the document's history:
// undo and redo, random points, links cleared or set one by one, points
// deleted or given new coordinates; and "Oblicz długość drogi".
class TEditCommands : public QObject {
    Q_OBJECT

public:
    // map gives the map's size, where random points land; distances the
    // matrix "Oblicz długość drogi" reads.
    TEditCommands(TDocument& document, TWindowProgress& progress, TPointList& list, TSearchTab& searchTab,
                  const TMapViewState& map, const TDistanceGridModel& distances, QWidget& parent);

    void actUndoExecute();
    void actRedoExecute();
    void RandomizePoints(int32_t Count);
    void actRandomArrayExecute();
    void actZeroArrayExecute();
    void actSetNextExecute();
    // "Usuń zaznaczone punkty": a route closes over them, the rest is
    // renumbered; one step of the history.
    void actDeletePointsExecute();
    // "Zmień współrzędne...": "X; Y", asked again while it does not read.
    void actEditPointExecute();
    // Sums every link, cycles included.
    void actCountWayExecute();

    // The first selected row, -1 when none.
    int32_t FirstSelectedRow() const;

signals:
    // The map is to be drawn again, the set unchanged.
    void MapDue();

private:
    TDocument& FDocument;
    TWindowProgress& FProgress;
    TPointList& FList;
    TSearchTab& FSearchTab;
    const TMapViewState& FMap;
    const TDistanceGridModel& FDistances;
    QWidget& FParent;
};
