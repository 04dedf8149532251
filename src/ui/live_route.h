#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

#include "core/point_set.h"
#include "core/progress.h"

class QAction;
class TDocument;
class TMapController;
class TWindowProgress;

// The best route of a running search on the map while "Pokazuj drogę
// podczas szukania" is on: it watches the routes the searches offer and
// draws the newest at most every MinIntervalMs, and never more often than
// keeps the drawing's share of the run near 5 %, with the route's length
// and the time it was found in the status bar.
class TLiveRoute : public QObject {
    Q_OBJECT

public:
    TLiveRoute(TWindowProgress& progress, TMapController& map, const TDocument& document, const QAction& setting,
               QObject* parent);

    // About ten drawings a second; tests draw every offer.
    void SetMinIntervalMs(int64_t interval) { FMinIntervalMs = interval; }
    // Drawings of this search so far.
    int64_t Drawings() const { return FDrawings; }

private:
    void Offered(const TRouteOffer& offer);
    void DrawWaiting();

    TMapController& FMap;
    const TDocument& FDocument;
    const QAction& FSetting;
    int64_t FMinIntervalMs = 100;
    struct TWaiting {
        TSpecimen Route;
        double Length = 0.0;
        int64_t ElapsedMs = 0;
    };
    std::optional<TWaiting> FWaiting;
    QTimer FTimer;
    QElapsedTimer FClock;
    // When the last drawing ended, and how long the next one waits after it.
    int64_t FLastDrawnMs = 0;
    int64_t FPauseMs = 0;
    int64_t FDrawings = 0;
};

// "1 234,56 (3 s)", "1 234,56 (1:02)": a route's length in the user's
// number format and how far into the search it was found.
QString LiveRouteNote(double length, int64_t elapsedMs);
