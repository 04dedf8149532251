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
    // What the stop command does, so Ctrl+C ends the run like "Przerwij".
    if (InterruptRequested() && FState.FSearching) {
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
    FProgress.Start(FUnitWord, FTotal == TotalFromBar ? 0 : FTotal, SystemNumberFormat());
}

void TCliProgress::SetProgressPlan(const std::string& unitWord, int64_t total)
{
    FUnitWord = unitWord;
    FTotal = total;
}
