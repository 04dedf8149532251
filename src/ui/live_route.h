#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

#include "core/point_set.h"
#include "core/progress.h"

class QAction;
class TSearchRunner;
class TWindowProgress;

// The pace of the best route of a running search on the map while
// "Pokazuj drogę podczas szukania" is on: it watches the routes the
// searches offer and asks for the newest to be drawn (Due) at most every
// MinIntervalMs, and never more often than keeps the drawing's share of the
// run near 5 %, with the words for the status bar: the route's length and
// the time it was found. Whoever draws it listens to Due.
class TLiveRoute : public QObject {
    Q_OBJECT

public:
    TLiveRoute(TWindowProgress& progress, const TSearchRunner& runner, const QAction& setting, QObject* parent);

    // About ten drawings a second; tests draw every offer.
    void SetMinIntervalMs(int64_t interval) { FMinIntervalMs = interval; }
    // Drawings of this search so far.
    int64_t Drawings() const { return FDrawings; }

signals:
    // The route to draw now, with its words; drawn during the call, which
    // is timed.
    void Due(const TSpecimen& route, const QString& note);

private:
    void Offered(const TRouteOffer& offer);
    void DrawWaiting();

    const TSearchRunner& FRunner;
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
