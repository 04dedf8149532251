#pragma once

#include <string>
#include <vector>

#include "core/host.h"

// A host for the point-set operations that records what they asked of the
// window: status texts, table fills, list refreshes and error boxes.
class TRecordingCoreHost : public TCoreHost {
public:
    void ShowStatus(const std::string& text, int32_t panel) override
    {
        StatusTexts.push_back(text);
        LastPanel = panel;
    }
    TProgressBar& PrBar() override { return Bar; }
    void ProcessEvents() override { ++EventPasses; }
    bool GoOn() const override { return SearchingFlag; }
    void FillDistanceGrid() override { ++GridFills; }
    void RefreshPointList() override { ++ListRefreshes; }
    bool IsShowing() const override { return Showing; }
    void ShowError(const std::string& caption, const std::string& text) override
    {
        ErrorCaptions.push_back(caption);
        ErrorTexts.push_back(text);
    }

    TProgressBar Bar;
    std::vector<std::string> StatusTexts;
    std::vector<std::string> ErrorCaptions;
    std::vector<std::string> ErrorTexts;
    int32_t LastPanel = -1;
    int EventPasses = 0;
    int GridFills = 0;
    int ListRefreshes = 0;
    bool Showing = true;
    bool SearchingFlag = false;
};
