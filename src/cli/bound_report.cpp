#include "cli/bound_report.h"

#include <algorithm>
#include <cmath>

#include "cli/interrupt.h"

namespace {

const char* const BoundCaption = "Dolne ograniczenie długości drogi: ";

}  // namespace

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

std::string BoundLine(const TLowerBound& bound, const TNumberFormat& format)
{
    if (!bound.Certified)
        return std::string(BoundCaption) + "nieznane (przerwano przed pierwszym pewnym oszacowaniem)";
    return BoundCaption + FormatNumber(bound.Value, 2, format);
}

std::optional<double> GapFraction(double length, const TLowerBound& bound)
{
    if (length == 0.0)
        return 0.0;
    if (!bound.Certified || bound.Value <= 0.0)
        return std::nullopt;
    return (length - bound.Value) / bound.Value;
}

std::string GapLine(double length, const TLowerBound& bound, const TNumberFormat& format)
{
    const std::optional<double> gap = GapFraction(length, bound);
    if (!gap)
        return {};
    // A hair below a tenth, so that a gap of exactly 3.2 % computed as
    // 3.2000000001 % is not shown as 3.3 %.
    const double tenths = std::max(0.0, std::ceil(*gap * 1000.0 - 1e-6));
    return "Długość drogi: " + FormatNumber(length, 2, format) + ", najwyżej " +
           FormatNumber(tenths / 10.0, 1, format) + "% więcej niż najkrótsza";
}
