#pragma once

#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "core/progress_bar.h"

// What long work (the distance matrix, every search method) needs of whoever
// waits for it: a status text, the progress bar, a turn for pending events
// and whether to go on. The window, the command-line tool and the tests each
// give one; the work knows nothing else of them.
class TProgress {
public:
    virtual ~TProgress() = default;

    // Text of a status-bar panel, shown at once. Long work uses panel 0.
    virtual void ShowStatus(const std::string& text, int32_t panel) = 0;
    virtual TProgressBar& PrBar() = 0;
    // Gives pending events their turn (the stop command among them).
    virtual void ProcessEvents() = 0;
    // The work goes on while this is true; the stop command clears it. It
    // changes only while events run.
    virtual bool GoOn() const = 0;
    // Separators for numbers in status texts (the user's regional settings).
    virtual TNumberFormat NumberFormat() const { return {}; }
};
