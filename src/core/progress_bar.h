#pragma once

#include <cstdint>
#include <functional>

// The status bar's progress bar as the program sees it: position and range
// live here, and the widget only shows them. Every step advances it by 1 as
// an inline add; the view is told only when the picture could have changed,
// because the distance matrix alone steps the bar n * n times.
class TProgressBar {
public:
    int32_t Min() const { return FMin; }
    int32_t Max() const { return FMax; }
    int32_t Position() const { return FPosition; }

    void SetMax(int32_t value);
    void SetPosition(int32_t value);

    // Past the maximum the bar starts over from its minimum, like the
    // platform's bar.
    void StepIt()
    {
        ++FStepsTaken;
        // In 64 bits: the exhaustive search's maximum is the largest int.
        const int64_t next = static_cast<int64_t>(FPosition) + 1;
        FPosition = next > FMax ? FMin : static_cast<int32_t>(next);
        if (FPosition >= FNextNotify || FPosition < FLastNotified)
            Notify();
    }

    void StepBy(int64_t steps);

    // Counts steps when there are more of them than the bar has positions:
    // the bar shows done / total of its range and never starts over.
    void StepShare(int64_t steps, int64_t done, int64_t total);

    // Steps taken since the bar was made; lets tests and benchmarks count
    // units of work without watching the picture.
    int64_t StepsTaken() const { return FStepsTaken; }

    // Called with the bar when its picture may have changed.
    std::function<void(const TProgressBar&)> OnChange;

    // How many distinct pictures the view can show; the view sets it from
    // its width so that a repaint happens at most once per pixel of fill.
    void SetResolution(int32_t pictures);

private:
    void Notify();

    int32_t FMin = 0;
    int32_t FMax = 100;
    int32_t FPosition = 0;
    int32_t FResolution = 200;
    int32_t FNextNotify = 0;
    int32_t FLastNotified = 0;
    int64_t FStepsTaken = 0;
};
