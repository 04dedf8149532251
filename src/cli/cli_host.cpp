#include "cli/cli_host.h"

#include "cli/console.h"
#include "cli/interrupt.h"
#include "cli/regional_settings.h"

void TCliHost::ShowStatus(const std::string& text, int32_t panel)
{
    if (panel == 0)
        FStatus = text;
}

void TCliHost::ProcessEvents()
{
    // What the stop command does, so Ctrl+C ends the run like "Przerwij".
    if (InterruptRequested() && FState.FSearching) {
        FState.FSearching = false;
        FBar.SetPosition(0);
    }
    if (FState.FSearching)
        FProgress.Update(FBar.StepsTaken() - FStepsBefore, FStatus);
}

TNumberFormat TCliHost::NumberFormat() const
{
    return SystemNumberFormat();
}

void TCliHost::ShowError(const std::string& caption, const std::string& text)
{
    ErrorLine(FErrorPlace + caption + ": " + text);
}

void TCliHost::BeginSearchView()
{
    FResults.clear();
    // The distance matrix steps the same bar; only the search's steps count.
    FStepsBefore = FBar.StepsTaken();
    FProgress.Start(FUnitWord, FTotal, SystemNumberFormat());
}

std::string TCliHost::LongTimeFormat() const
{
    return SystemLongTimeFormat();
}

void TCliHost::SetProgressPlan(const std::string& unitWord, int64_t total)
{
    FUnitWord = unitWord;
    FTotal = total;
}
