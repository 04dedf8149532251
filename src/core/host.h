#pragma once

#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "core/progress_bar.h"

// What a search method needs of whoever runs it: the main window, the
// command-line tool or a test. The methods know nothing else of their host.
class TSearchHost {
public:
    virtual ~TSearchHost() = default;

    // Text of a status-bar panel, shown at once. The searches use panel 0.
    virtual void ShowStatus(const std::string& text, int32_t panel) = 0;
    virtual TProgressBar& PrBar() = 0;
    // Gives pending window events their turn (the stop command among them).
    virtual void ProcessEvents() = 0;
    // The run goes on while this is true; the stop command clears it.
    virtual bool Searching() const = 0;
    // Separators for numbers in status texts (the user's regional settings).
    virtual TNumberFormat NumberFormat() const { return {}; }
};

// What the point-set operations need of the window on top of that: the
// views that show the set, and the place failures are reported.
class TCoreHost : public TSearchHost {
public:
    virtual void FillDistanceGrid() = 0;
    virtual void RefreshPointList() = 0;
    // Whether the main window is on screen yet (a start-up load is not).
    virtual bool IsShowing() const = 0;
    // A modal error box: caption and the system's text of the failure.
    virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};
