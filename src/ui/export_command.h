#pragma once

#include <QObject>

#include <optional>

#include "raster/map_view_picture.h"
#include "ui/dialogs.h"

class QAction;
class QWidget;
class TDocument;
class TPointList;

// "Eksportuj...": the route, the points or the map in the formats other
// programs read. The map's picture shows the whole set at a size the user
// chooses (PNG, SVG) or on an A4 page (PDF), with the list's selection and,
// when "Numery punktów" is on, the points' numbers.
class TExportCommand : public QObject {
    Q_OBJECT

public:
    TExportCommand(const TDocument& document, const QAction& pointNumbers, const TPointList& list, QWidget& parent);

    void actExportExecute();

private:
    // Empty when the user cancels the size.
    std::optional<TMapViewPicture> MapPicture(TDialogs::TExportKind kind) const;

    const TDocument& FDocument;
    const QAction& FPointNumbers;
    const TPointList& FList;
    QWidget& FParent;
};
