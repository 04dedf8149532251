#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/distances.h"
#include "core/point_set.h"
#include "core/point_set_ops.h"
#include "core/progress.h"
#include "core/random_source.h"
#include "search/run/run_control.h"

// Long work's progress object for tests: it records what the work asked of
// the window and plays the user. It can clear the stop flag once the bar has
// been stepped a given number of times, or run any script while events are
// processed. By default events run after every step, so a stop lands on an
// exact step.
class TScriptedHost : public TProgress {
public:
    explicit TScriptedHost(TPointSetState& state) : State(state) {}

    void ShowStatus(const std::string& text, int32_t panel) override
    {
        StatusTexts.push_back(text);
        Log.push_back("status:" + text);
        LastPanel = panel;
    }
    TProgressBar& PrBar() override { return Bar; }
    void ProcessEvents() override
    {
        ++EventPasses;
        if (StopAfterSteps >= 0 && Bar.StepsTaken() - FStepsAtArm >= StopAfterSteps) {
            if (State.FSearching)
                StepsAtStop = Bar.StepsTaken() - FStepsAtArm;
            State.FSearching = false;
        }
        if (OnEvents)
            OnEvents();
    }
    bool GoOn() const override { return State.FSearching; }
    TNumberFormat NumberFormat() const override { return Format; }
    bool WatchesRoutes() const override { return Watching; }
    void OfferRoute(const TRouteOffer& offer) override { Offers.push_back({offer.Route, offer.Length}); }

    // Counts steps for StopAfterSteps from here on. A run arms itself when
    // the search begins; a test that calls a method directly arms here.
    void Arm() { FStepsAtArm = Bar.StepsTaken(); }

    // What the window does around a run, recorded: the search view. The
    // links cleared, the matrix and the list are the run's (RunSearch below).
    TRunView View()
    {
        TRunView view;
        view.SearchBegins = [this] {
            Results.clear();
            ++SearchViews;
            Log.push_back(State.FSearching ? "view:searching" : "view");
            Arm();
        };
        view.LongTimeFormat = TimeFormat;
        view.PumpEveryStep = EveryStep;
        return view;
    }

    TPointSetState& State;
    TProgressBar Bar;
    TNumberFormat Format;
    std::string TimeFormat = "HH:mm:ss";
    bool EveryStep = true;
    int64_t StopAfterSteps = -1;
    int64_t StepsAtStop = -1;
    std::function<void()> OnEvents;
    // Whether the host watches the routes a search offers, and the offers.
    bool Watching = false;
    struct TOffered {
        TSpecimen Route;
        double Length = 0.0;
    };
    std::vector<TOffered> Offers;

    std::vector<std::string> StatusTexts;
    std::vector<std::string> Results;
    std::vector<std::string> Log;
    int32_t LastPanel = -1;
    int64_t EventPasses = 0;
    int ListRefreshes = 0;
    int SearchViews = 0;

private:
    int64_t FStepsAtArm = 0;
};

// A run as the window makes it, recorded by host: every link cleared with
// the matrix and the list rebuilt, the flag raised, the method run, the
// result lines to host.Results and the log, the flag lowered, the route
// turned into links and the list refreshed.
inline TRunResult RunSearch(TPointSetState& state, TScriptedHost& host, TSearchMethod method,
                            const TSearchSettings& settings, const TRouteKind& kind = {})
{
    TRunResult refused;
    refused.Refusal = SearchRefusal(method, static_cast<int32_t>(state.FPoints.size()));
    if (refused.Refusal.empty())
        refused.Refusal = RouteKindRefusal(kind, static_cast<int32_t>(state.FPoints.size()));
    if (!refused.Refusal.empty())
        return refused;
    ClearRoute(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
    host.ShowStatus("", 0);
    ++host.ListRefreshes;
    host.Log.push_back(state.FSearching ? "list:searching" : "list");
    const size_t n = state.FPoints.size();
    state.FRoute.resize(n, 0);
    state.FBestRoute.resize(n, 0);
    state.FSearching = true;
    const TRunResult result = RunSearch(ProblemOfState(state, kind), host, method, settings, host.View());
    state.FSearching = false;
    if (result.Outcome.Evaluated) {
        state.FBestRoute = result.Outcome.Route;
        ApplyBestRoute(state.FPoints, state.FBestRoute);
    }
    if (!result.Outcome.WorkingRoute.empty())
        state.FRoute = result.Outcome.WorkingRoute;
    for (const std::string& line : result.Lines) {
        host.Results.push_back(line);
        host.Log.push_back("result:" + line);
    }
    ++host.ListRefreshes;
    host.Log.push_back(state.FSearching ? "list:searching" : "list");
    return result;
}

// The points of a set and their distance matrix.
inline void SetPoints(TPointSetState& state, const std::vector<TMapPoint>& points)
{
    state.FPoints = points;
    TScriptedHost host(state);
    ComputeDistances(state.FPoints, state.FDistances, host, 0);
}

// Every reseed of the random source reads value while this lives.
struct TClockScript {
    explicit TClockScript(uint32_t value)
    {
        SetReseedClock([value] { return value; });
    }
    ~TClockScript() { SetReseedClock({}); }
    TClockScript(const TClockScript&) = delete;
    TClockScript& operator=(const TClockScript&) = delete;
};
