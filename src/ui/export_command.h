#pragma once

#include <QObject>

class QWidget;
class TDocument;
class TMapController;
class TPointList;

// "Eksportuj...": the route, the points or the map in the formats other
// programs read. The map's picture is the one the map window shows: its
// size, the list's selection and the map's scale.
class TExportCommand : public QObject {
    Q_OBJECT

public:
    TExportCommand(const TDocument& document, const TMapController& map, const TPointList& list, QWidget& parent);

    void actExportExecute();

private:
    const TDocument& FDocument;
    const TMapController& FMap;
    const TPointList& FList;
    QWidget& FParent;
};
