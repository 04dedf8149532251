#include "cli/bound_report.h"

#include "cli/interrupt.h"

TLowerBound RunLowerBound(TPointSetState& state, TCliProgress& progress)
{
    InstallInterruptHandler();
    progress.SetProgressPlan("kroków", TCliProgress::TotalFromBar);
    // The progress's stop rule reads the search flag; the bound is long work
    // of the same kind.
    state.FSearching = true;
    progress.PrBar().SetPosition(0);
    progress.BeginSearch();
    const TLowerBound bound = ComputeLowerBound(state.FPoints, progress);
    state.FSearching = false;
    progress.PrBar().SetPosition(0);
    progress.EndProgress();
    QuitOnInterrupt();
    return bound;
}
