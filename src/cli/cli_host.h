#pragma once

#include <string>
#include <vector>

#include "cli/progress_line.h"
#include "core/point_set.h"
#include "core/progress_bar.h"
#include "search/run_control.h"

// The window's part in a run, without a window: failures become one line
// on standard error, result lines are collected for the command to print,
// the event pass draws the progress line and turns Ctrl+C into the stop
// command. There is no list, table or map to refresh.
class TCliHost : public TRunHost {
public:
    explicit TCliHost(TPointSetState& state) : FState(state) {}

    void ShowStatus(const std::string& text, int32_t panel) override;
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override;
    bool GoOn() const override { return FState.FSearching; }
    TNumberFormat NumberFormat() const override;

    void FillDistanceGrid() override {}
    void RefreshPointList() override {}
    bool IsShowing() const override { return false; }
    void ShowError(const std::string& caption, const std::string& text) override;
    // What the error lines start with (FilePlace), so they name the file.
    void SetErrorPlace(const std::string& place) { FErrorPlace = place; }

    void BeginSearchView() override;
    void AppendResult(const std::string& line) override { FResults.push_back(line); }
    std::string LongTimeFormat() const override;

    // What the progress line counts during the next search; total 0 when
    // it is not known beforehand.
    void SetProgressPlan(const std::string& unitWord, int64_t total);
    // Wipes the progress line; the results follow it.
    void EndProgress() { FProgress.Clear(); }

    const std::vector<std::string>& Results() const { return FResults; }

private:
    TPointSetState& FState;
    TProgressBar FBar;
    TProgressLine FProgress;
    std::string FStatus;
    std::string FErrorPlace;
    std::string FUnitWord;
    int64_t FTotal = 0;
    int64_t FStepsBefore = 0;
    std::vector<std::string> FResults;
};
