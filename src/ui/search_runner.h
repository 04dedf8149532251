#pragma once

#include <QObject>

#include "core/route_kind.h"

// Whether long work runs (a search, or the estimate of a route's quality)
// and whether the user asked it to stop. The work polls Searching() after
// each pass of events; "Przerwij" lowers it. Whatever shows the window's
// state while work runs (the search tab, the map, the enabling rules)
// listens to SearchingChanged.
class TSearchRunner : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    bool Searching() const { return FSearching; }
    // "Przerwij" came while the work that runs (or last ran) was running.
    bool StopRequested() const { return FStopRequested; }

    // Work begins: the flag raised, no stop asked for yet; a search says
    // which kind of route it looks for (the routes it offers are of it).
    void Begin(const TRouteKind& kind = {});
    // The kind of route the work that runs (or last ran) looks for.
    const TRouteKind& Kind() const { return FKind; }
    // "Przerwij": the flag lowered; the work returns after its current step.
    void Stop();
    // The work has returned.
    void End();

signals:
    void SearchingChanged(bool searching);

private:
    void SetSearching(bool searching);

    bool FSearching = false;
    bool FStopRequested = false;
    TRouteKind FKind;
};
