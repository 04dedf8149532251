#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "cli/progress_line.h"
#include "core/point_set.h"
#include "core/progress.h"
#include "search/run/run_control.h"

// Long work as the tool shows it: the status text and the bar feed the
// progress line on standard error, and the event pass turns Ctrl+C into the
// stop command. There is no list, table or map to refresh.
class TCliProgress : public TProgress {
public:
    explicit TCliProgress(TPointSetState& state) : FState(state) {}

    void ShowStatus(const std::string& text, int32_t panel) override;
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override;
    bool GoOn() const override { return FState.FSearching; }
    TNumberFormat NumberFormat() const override;
    bool WatchesRoutes() const override { return static_cast<bool>(FRouteWatcher); }
    void OfferRoute(const TRouteOffer& offer) override;

    // Searches offer their best route to watcher while one is set (a trace
    // of the improvements was asked for); none costs them nothing.
    void WatchRoutes(std::function<void(const TRouteOffer&)> watcher) { FRouteWatcher = std::move(watcher); }
    // The work is stopped as by Ctrl+C once this much time has passed since
    // BeginSearch; 0 for no limit. For methods without a limit of their own.
    void SetTimeLimit(double seconds) { FTimeLimitSeconds = seconds; }
    // Whether the time limit stopped the last search.
    bool TimeLimitReached() const { return FTimeLimitReached; }

    // What the progress line counts during the next search; total 0 when
    // it is not known beforehand, TotalFromBar when the work sets the bar's
    // maximum to its number of steps.
    static constexpr int64_t TotalFromBar = -1;
    void SetProgressPlan(const std::string& unitWord, int64_t total);
    // Starts the progress line; only the search's own steps count.
    void BeginSearch();
    // Wipes the progress line; the results follow it.
    void EndProgress() { FProgress.Clear(); }

private:
    TPointSetState& FState;
    TProgressBar FBar;
    TProgressLine FProgress;
    std::string FStatus;
    std::string FUnitWord;
    int64_t FTotal = 0;
    int64_t FStepsBefore = 0;
    std::function<void(const TRouteOffer&)> FRouteWatcher;
    double FTimeLimitSeconds = 0.0;
    bool FTimeLimitReached = false;
    std::chrono::steady_clock::time_point FSearchStart;
};

// What the progress line counts for a search by method over pointCount
// points.
void PlanSearchProgress(TCliProgress& progress, TSearchMethod method, const TSearchSettings& settings,
                        int32_t pointCount);
