#include "search/pace/step_pacer.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

using namespace std::chrono_literals;

constexpr auto ReadInterval = 1ms;
constexpr auto PumpInterval = 16ms;
constexpr int64_t MaxCountdown = int64_t{1} << 40;

TPacerClock& PacerClock()
{
    static TPacerClock clock;
    return clock;
}

std::chrono::steady_clock::time_point Now()
{
    const TPacerClock& clock = PacerClock();
    return clock ? clock() : std::chrono::steady_clock::now();
}

}  // namespace

void SetPacerClock(TPacerClock clock)
{
    PacerClock() = std::move(clock);
}

TStepPacer::TStepPacer(TProgress& progress, bool pumpEveryStep)
    : FProgress(progress), FPumpEveryStep(pumpEveryStep), FWatchesRoutes(progress.WatchesRoutes())
{
    FBegin = Now();
    FLastRead = FBegin;
    FLastPump = FLastRead;
}

void TStepPacer::SetRouteOffer(std::function<void()> offer)
{
    if (FWatchesRoutes)
        FRouteOffer = std::move(offer);
}

void TStepPacer::OfferRoute(const TSpecimen& route, double length)
{
    FImproved = false;
    FPumpsAtOffer = FPumps;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Now() - FBegin).count();
    FProgress.OfferRoute({route, length, static_cast<int64_t>(elapsed)});
}

void TStepPacer::SetDeadline(double seconds)
{
    FHasDeadline = true;
    FDeadline = FBegin + std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(seconds));
}

bool TStepPacer::PastDeadline() const
{
    return FHasDeadline && Now() >= FDeadline;
}

void TStepPacer::Flush()
{
    if (FPending == 0)
        return;
    const int64_t steps = FPending;
    FPending = 0;
    FStepsDone += steps;
    ApplyToBar(steps);
}

bool TStepPacer::Checkpoint()
{
    if (FPumpEveryStep) {
        FCountdown = 1;
        if (FPending == 0)
            return Pump();
        // Every step gets its own pass, and the search ends right after the
        // step that saw the flag cleared.
        while (FPending > 0) {
            --FPending;
            ++FStepsDone;
            ApplyToBar(1);
            if (!Pump()) {
                // The steps claimed beyond the stop count as not taken.
                FPending = 0;
                return false;
            }
        }
        return true;
    }

    const TClock::time_point now = Now();
    if (FHasDeadline && now >= FDeadline) {
        FTimeUp = true;
        FCountdown = 1;
        return false;
    }
    // Aim the next reading one millisecond of work ahead, growing at most
    // twofold so that a run of cheap steps can't push it far out.
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - FLastRead).count();
    const auto target = std::chrono::duration_cast<std::chrono::nanoseconds>(ReadInterval).count();
    int64_t next = FCountdownStart * 2;
    if (elapsed > 0)
        next = std::min<int64_t>(next, static_cast<int64_t>(static_cast<double>(FCountdownStart) * target / elapsed));
    FCountdownStart = std::clamp<int64_t>(next, 1, MaxCountdown);
    FCountdown = FCountdownStart;
    FLastRead = now;

    if (now - FLastPump < PumpInterval)
        return true;
    // The bar's picture costs a repaint, so it follows only when the window
    // gets its turn.
    Flush();
    const bool goOn = Pump();
    FLastPump = Now();
    FLastRead = FLastPump;
    return goOn;
}

bool TStepPacer::Pump()
{
    if (FImproved && FRouteOffer)
        FRouteOffer();
    if (FBeforePump)
        FBeforePump();
    ++FPumps;
    FProgress.ProcessEvents();
    if (FHasDeadline && Now() >= FDeadline)
        FTimeUp = true;
    return FProgress.GoOn() && !FTimeUp;
}

void TStepPacer::ApplyToBar(int64_t steps)
{
    TProgressBar& bar = FProgress.PrBar();
    if (FShareTotal > 0) {
        bar.StepShare(steps, FStepsDone, FShareTotal);
        return;
    }
    while (steps > 0) {
        const int64_t room = static_cast<int64_t>(bar.Max()) - bar.Position();
        if (steps <= room) {
            bar.StepBy(steps);
            return;
        }
        if (room > 0) {
            bar.StepBy(room);
            steps -= room;
        }
        // At the maximum the next step starts over from the minimum.
        bar.StepIt();
        --steps;
        const int64_t cycle = static_cast<int64_t>(bar.Max()) - bar.Min() + 1;
        steps %= cycle;
    }
}
