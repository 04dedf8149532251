#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/point_set.h"
#include "search/run_control.h"

// A host for the searches and the run control that records what they asked
// of the window and plays the user: it can clear the stop flag once the bar
// has been stepped a given number of times, or run any script while events
// are processed. By default events run after every step, so a stop lands
// on an exact step.
class TScriptedHost : public TRunHost {
public:
    explicit TScriptedHost(TPointSetState& state) : State(state) {}

    void ShowStatus(const std::string& text, int32_t panel) override
    {
        StatusTexts.push_back(text);
        Log.push_back("status:" + text);
        LastPanel = panel;
    }
    TProgressBar& PrBar() override { return Bar; }
    void ProcessEvents() override
    {
        ++EventPasses;
        if (StopAfterSteps >= 0 && Bar.StepsTaken() - FStepsAtArm >= StopAfterSteps) {
            if (State.FSearching)
                StepsAtStop = Bar.StepsTaken() - FStepsAtArm;
            State.FSearching = false;
        }
        if (OnEvents)
            OnEvents();
    }
    bool GoOn() const override { return State.FSearching; }
    TNumberFormat NumberFormat() const override { return Format; }

    void FillDistanceGrid() override { ++GridFills; }
    void RefreshPointList() override
    {
        ++ListRefreshes;
        Log.push_back(State.FSearching ? "list:searching" : "list");
    }
    bool IsShowing() const override { return true; }
    void ShowError(const std::string& caption, const std::string& text) override
    {
        ErrorTexts.push_back(caption + ": " + text);
    }

    void BeginSearchView() override
    {
        Results.clear();
        ++SearchViews;
        Log.push_back(State.FSearching ? "view:searching" : "view");
        Arm();
    }
    void AppendResult(const std::string& line) override
    {
        Results.push_back(line);
        Log.push_back("result:" + line);
    }
    std::string LongTimeFormat() const override { return TimeFormat; }
    bool PumpEveryStep() const override { return EveryStep; }

    // Counts steps for StopAfterSteps from here on. A run arms itself when
    // it begins its view; a test that calls a method directly arms here.
    void Arm() { FStepsAtArm = Bar.StepsTaken(); }

    TPointSetState& State;
    TProgressBar Bar;
    TNumberFormat Format;
    std::string TimeFormat = "HH:mm:ss";
    bool EveryStep = true;
    int64_t StopAfterSteps = -1;
    int64_t StepsAtStop = -1;
    std::function<void()> OnEvents;

    std::vector<std::string> StatusTexts;
    std::vector<std::string> Results;
    std::vector<std::string> ErrorTexts;
    std::vector<std::string> Log;
    int32_t LastPanel = -1;
    int64_t EventPasses = 0;
    int GridFills = 0;
    int ListRefreshes = 0;
    int SearchViews = 0;

private:
    int64_t FStepsAtArm = 0;
};
