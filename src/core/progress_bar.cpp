#include "core/progress_bar.h"

#include <algorithm>

void TProgressBar::SetMax(int32_t value)
{
    FMax = value;
    if (FMin > FMax)
        FMin = FMax;
    FPosition = std::clamp(FPosition, FMin, FMax);
    Notify();
}

void TProgressBar::SetPosition(int32_t value)
{
    FPosition = std::clamp(value, FMin, FMax);
    Notify();
}

void TProgressBar::SetResolution(int32_t pictures)
{
    FResolution = std::max(1, pictures);
    Notify();
}

void TProgressBar::StepBy(int64_t steps)
{
    if (steps > 0 && FPosition + steps <= FMax) {
        FStepsTaken += steps;
        FPosition += static_cast<int32_t>(steps);
        if (FPosition >= FNextNotify)
            Notify();
        return;
    }
    for (int64_t i = 0; i < steps; ++i)
        StepIt();
}

void TProgressBar::StepShare(int64_t steps, int64_t done, int64_t total)
{
    FStepsTaken += steps;
    const long double share = total > 0 ? std::clamp<long double>(static_cast<long double>(done) / total, 0, 1) : 0;
    const int64_t range = static_cast<int64_t>(FMax) - FMin;
    FPosition = static_cast<int32_t>(FMin + static_cast<int64_t>(share * range));
    if (FPosition >= FNextNotify || FPosition < FLastNotified)
        Notify();
}

void TProgressBar::Notify()
{
    const int64_t range = static_cast<int64_t>(FMax) - FMin;
    const int64_t stride = std::max<int64_t>(1, range / FResolution);
    FLastNotified = FPosition;
    FNextNotify = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, FPosition + stride));
    if (OnChange)
        OnChange(*this);
}
