#include "cli/bound_report.h"

#include "cli/interrupt.h"

TLowerBound RunLowerBound(TPointSetState& state, TCliProgress& progress, const TRouteKind& kind)
{
    InstallInterruptHandler();
    progress.SetProgressPlan("kroków", TCliProgress::TotalFromBar);
    // The progress's stop rule reads the search flag; the bound is long work
    // of the same kind.
    state.FSearching = true;
    progress.PrBar().SetPosition(0);
    progress.BeginSearch();
    const TLowerBound bound = ComputeLowerBound(ProblemOfState(state, kind, false), progress);
    state.FSearching = false;
    progress.PrBar().SetPosition(0);
    progress.EndProgress();
    QuitOnInterrupt();
    return bound;
}

std::string KnownBoundLine(const TLowerBound& bound, TBoundSource source, const TNumberFormat& format)
{
    switch (source) {
    case TBoundSource::ProvedRoute:
        return BoundLine(bound, format) + " (długość drogi udowodnionej jako najkrótsza)";
    case TBoundSource::StoppedProof: {
        // What the exact method had proved is whole, though its run was not.
        TLowerBound proved = bound;
        proved.Completed = true;
        return BoundLine(proved, format) + " (tyle udowodniła przerwana metoda exact)";
    }
    case TBoundSource::Computed:
        break;
    }
    return BoundLine(bound, format);
}
