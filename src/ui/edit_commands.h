#pragma once

#include <QObject>

#include <cstdint>

class QWidget;
class TDocument;
class TMapController;
class TPointList;
class TSearchTab;
class TSetViews;
class TWindowProgress;

// Changing the set by hand, each change a step of the document's history:
// undo and redo, random points, links cleared or set one by one, points
// deleted or given new coordinates; and "Oblicz długość drogi".
class TEditCommands : public QObject {
    Q_OBJECT

public:
    TEditCommands(TDocument& document, TSetViews& views, TWindowProgress& progress, const TPointList& list,
                  TSearchTab& searchTab, TMapController& map, QWidget& parent);

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

private:
    TDocument& FDocument;
    TSetViews& FViews;
    TWindowProgress& FProgress;
    const TPointList& FList;
    TSearchTab& FSearchTab;
    TMapController& FMap;
    QWidget& FParent;
};
