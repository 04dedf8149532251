#include "cli/cli_progress.h"

#include "cli/interrupt.h"
#include "cli/regional_settings.h"

void TCliProgress::ShowStatus(const std::string& text, int32_t panel)
{
    if (panel == 0)
        FStatus = text;
}

void TCliProgress::ProcessEvents()
{
    // What the stop command does, so Ctrl+C and the time limit end the run
    // like "Przerwij".
    const bool late =
        FState.FSearching && FTimeLimitSeconds > 0.0 &&
        std::chrono::steady_clock::now() - FSearchStart >= std::chrono::duration<double>(FTimeLimitSeconds);
    if (late)
        FTimeLimitReached = true;
    if (FState.FSearching && (late || InterruptRequested())) {
        FState.FSearching = false;
        FBar.SetPosition(0);
    }
    if (!FState.FSearching)
        return;
    if (FTotal == TotalFromBar)
        FProgress.SetTotal(FBar.Max());
    FProgress.Update(FBar.StepsTaken() - FStepsBefore, FStatus);
}

TNumberFormat TCliProgress::NumberFormat() const
{
    return SystemNumberFormat();
}

void TCliProgress::BeginSearch()
{
    // The distance matrix steps the same bar; only the search's steps count.
    FStepsBefore = FBar.StepsTaken();
    FSearchStart = std::chrono::steady_clock::now();
    FTimeLimitReached = false;
    FProgress.Start(FUnitWord, FTotal == TotalFromBar ? 0 : FTotal, SystemNumberFormat());
}

void TCliProgress::SetProgressPlan(const std::string& unitWord, int64_t total)
{
    FUnitWord = unitWord;
    FTotal = total;
}

void TCliProgress::OfferRoute(const TRouteOffer& offer)
{
    if (FRouteWatcher)
        FRouteWatcher(offer);
}

void PlanSearchProgress(TCliProgress& progress, TSearchMethod method, const TSearchSettings& settings,
                        int32_t pointCount)
{
    switch (method) {
    case smExhaustive:
        // The refusals keep n at 20 or below, where n! is exact.
        progress.SetProgressPlan("dróg", Factorial(pointCount));
        break;
    case smRandom:
        progress.SetProgressPlan("dróg", settings.RandomCount);
        break;
    case smGenetic:
        progress.SetProgressPlan("pokoleń", settings.Genetic.StopByCount ? settings.Genetic.GenerationCount : 0);
        break;
    case smExact:
        progress.SetProgressPlan(ExactUsesTable(pointCount) ? "bloków" : "podproblemów", 0);
        break;
    case smLocal:
        progress.SetProgressPlan("prób", settings.Local.StopByTime ? 0 : settings.Local.Tries);
        break;
    }
}
