#pragma once

#include <cstdint>
#include <string>

#include "core/progress.h"

// What the point-set operations need of the window on top of that: the
// views that show the set, and the place failures are reported.
class TCoreHost : public TProgress {
public:
    virtual void FillDistanceGrid() = 0;
    virtual void RefreshPointList() = 0;
    // Whether the main window is on screen yet (a start-up load is not).
    virtual bool IsShowing() const = 0;
    // A modal error box: caption and the system's text of the failure.
    virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};
