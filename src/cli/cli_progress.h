#pragma once

#include <string>

#include "cli/progress_line.h"
#include "core/point_set.h"
#include "core/progress.h"

// Long work as the tool shows it: the status text and the bar feed the
// progress line on standard error, and the event pass turns Ctrl+C into the
// stop command. There is no list, table or map to refresh.
class TCliProgress : public TProgress {
public:
    explicit TCliProgress(TPointSetState& state) : FState(state) {}

    void ShowStatus(const std::string& text, int32_t panel) override;
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override;
    bool GoOn() const override { return FState.FSearching; }
    TNumberFormat NumberFormat() const override;

    // What the progress line counts during the next search; total 0 when
    // it is not known beforehand, TotalFromBar when the work sets the bar's
    // maximum to its number of steps.
    static constexpr int64_t TotalFromBar = -1;
    void SetProgressPlan(const std::string& unitWord, int64_t total);
    // Starts the progress line; only the search's own steps count.
    void BeginSearch();
    // Wipes the progress line; the results follow it.
    void EndProgress() { FProgress.Clear(); }

private:
    TPointSetState& FState;
    TProgressBar FBar;
    TProgressLine FProgress;
    std::string FStatus;
    std::string FUnitWord;
    int64_t FTotal = 0;
    int64_t FStepsBefore = 0;
};
