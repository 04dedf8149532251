#include "ui/search_runner.h"

void TSearchRunner::Begin(const TRouteKind& kind)
{
    FStopRequested = false;
    FKind = kind;
    SetSearching(true);
}

void TSearchRunner::Stop()
{
    FStopRequested = FStopRequested || FSearching;
    SetSearching(false);
}

void TSearchRunner::End()
{
    SetSearching(false);
}

void TSearchRunner::SetSearching(bool searching)
{
    if (FSearching == searching)
        return;
    FSearching = searching;
    emit SearchingChanged(searching);
}
