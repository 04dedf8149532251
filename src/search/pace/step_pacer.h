#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "core/progress.h"

// The clock the pacer reads. Tests install one that moves on by a fixed
// amount at every reading; an empty function restores the steady clock.
using TPacerClock = std::function<std::chrono::steady_clock::time_point()>;
void SetPacerClock(TPacerClock clock);

// Keeps a search's promise to whoever waits for it after every step (step the bar, let
// pending events run, end once the stop command has cleared the flag)
// without paying a pass of the event loop and a repaint per route: steps
// are counted inline, the clock is read about once a millisecond of work,
// and once 16 ms have passed since events last ran the bar is brought up to
// date and events run again. The stop flag only changes while events run,
// so it is read only then.
class TStepPacer {
public:
    // With pumpEveryStep the events run after every single step, so
    // that a test can stop a search at an exact step.
    explicit TStepPacer(TProgress& progress, bool pumpEveryStep = false);

    // One step done. Returns whether the search goes on.
    bool Step() { return StepBy(1); }

    // steps steps done at once (a block of routes that needed no closer
    // look). With pumpEveryStep the events run after each of them.
    bool StepBy(int64_t steps)
    {
        FPending += steps;
        if (--FCountdown > 0) [[likely]]
            return true;
        return Checkpoint();
    }

    // A unit of work that does not step the bar (a specimen of the first
    // population); events get their chance all the same.
    bool Poll()
    {
        if (--FCountdown > 0) [[likely]]
            return true;
        return Checkpoint();
    }

    // Work between steps that costs about as much as units steps: it brings
    // the next reading of the clock nearer, so that a run of dear calls
    // after cheap ones can't hold the events back. It adds no pass of events
    // where every step has its own, and none before the first step, so a
    // stop still lands right after a step.
    bool Weigh(int64_t units)
    {
        FCountdown -= units;
        if (FCountdown > 0 || FPumpEveryStep || StepsDone() == 0) [[likely]]
            return true;
        return Checkpoint();
    }

    // steps done by other threads, counted without a checkpoint; the bar
    // gets them with the next pass of events or Flush.
    void Count(int64_t steps) { FPending += steps; }

    // The work per call is about to change (from filling a population to
    // breeding it): the clock is read at the next call and the countdown
    // learns the new pace from there.
    void Recalibrate()
    {
        FCountdown = 1;
        FCountdownStart = 1;
    }

    // Brings the bar up to date without running events, so that it is
    // exact when the method returns or reads it.
    void Flush();

    // A time limit, seconds after the pacer began: once it has passed,
    // every checkpoint (and, with pumpEveryStep, every pass of events)
    // answers that the work ends, as a stop does, and TimeUp says why. The
    // clock is the pacer's, read at the checkpoints, so a limit is kept
    // to about a millisecond of work.
    void SetDeadline(double seconds);
    bool TimeUp() const { return FTimeUp; }
    // Whether the limit has passed by now, reading the clock: for work on
    // other threads, which can't use the checkpoints.
    bool PastDeadline() const;

    // The work has more steps than the bar has positions: from now on the
    // bar shows the share of totalSteps done rather than starting over.
    void ShowShareOf(int64_t totalSteps) { FShareTotal = totalSteps; }

    // Runs just before each pass of the event loop; lets a method show a
    // status text only when it can be seen.
    void SetBeforePump(std::function<void()> beforePump) { FBeforePump = std::move(beforePump); }

    // Live routes, for a progress that watches them (nothing happens
    // otherwise). The search calls Improved whenever its best route gets
    // shorter; before the next pass of events the pacer runs the offer
    // given here, once for any number of improvements since the last one.
    // The offer reads the best route and hands it to OfferRoute; a search
    // whose best route is not whole whenever events may run sets none and
    // asks OfferDue at its own safe points instead.
    void SetRouteOffer(std::function<void()> offer);
    void Improved() { FImproved = true; }
    bool WatchesRoutes() const { return FWatchesRoutes; }
    // An improvement waits and events have run since the last offer.
    bool OfferDue() const { return FImproved && FWatchesRoutes && FPumps != FPumpsAtOffer; }
    // Hands the route to the progress with the time since the pacer began.
    void OfferRoute(const TSpecimen& route, double length);

    bool PumpEveryStep() const { return FPumpEveryStep; }
    int64_t StepsDone() const { return FStepsDone + FPending; }
    // Passes of the event loop so far; a method that holds pointers into
    // data the events may move fetches them again when this changes.
    int64_t Pumps() const { return FPumps; }

private:
    using TClock = std::chrono::steady_clock;

    bool Checkpoint();
    bool Pump();
    void ApplyToBar(int64_t steps);

    TProgress& FProgress;
    bool FPumpEveryStep;
    int64_t FCountdown = 1;
    int64_t FCountdownStart = 1;
    int64_t FPending = 0;
    int64_t FStepsDone = 0;
    int64_t FPumps = 0;
    int64_t FShareTotal = 0;
    TClock::time_point FBegin;
    TClock::time_point FLastRead;
    TClock::time_point FLastPump;
    std::function<void()> FBeforePump;
    bool FHasDeadline = false;
    TClock::time_point FDeadline;
    bool FTimeUp = false;
    bool FWatchesRoutes = false;
    bool FImproved = false;
    int64_t FPumpsAtOffer = -1;
    std::function<void()> FRouteOffer;
};
