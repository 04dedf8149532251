#pragma once

#include <cstdint>
#include <string>

#include "core/progress.h"

// Long work's progress object where nobody watches: it shows nothing and
// goes on, or gives up once events have had StopAfterPasses turns.
class TQuietHost : public TProgress {
public:
    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override { ++Passes; }
    bool GoOn() const override { return StopAfterPasses < 0 || Passes < StopAfterPasses; }

    int64_t Passes = 0;
    int64_t StopAfterPasses = -1;

private:
    TProgressBar FBar;
};
