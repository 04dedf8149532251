#pragma once

#include <cstdint>
#include <string>

#include "core/host.h"
#include "core/point_set.h"
#include "search/genetic_search.h"
#include "search/search_outcome.h"

// The methods by their index in the method list.
enum TSearchMethod : int {
    smExhaustive = 0,
    smRandom = 1,
    smGenetic = 2,
};

// The search tab's settings, read when a search starts.
struct TSearchSettings {
    int32_t RandomCount = 1000;
    TGeneticParams Genetic;
};

// What a run needs of the main window beyond the point-set operations.
// GoOn() reports state.FSearching; the stop command clears it while
// events run.
class TRunHost : public TCoreHost {
public:
    // Empties the result list, re-runs the enabling rules of the stop and
    // search commands (so the parameters and results go grey) and shows the
    // hourglass.
    virtual void BeginSearchView() = 0;
    // One line at the end of the result list.
    virtual void AppendResult(const std::string& line) = 0;
    // The user's long time pattern (H, HH, h, hh, m, mm, s, ss, AP, ap, t).
    virtual std::string LongTimeFormat() const = 0;
    // Tests ask for a pass of events after every step to stop at an exact
    // step; the window and the tool let the methods pace them.
    virtual bool PumpEveryStep() const { return false; }
};

struct TRunResult {
    // Why the run was refused; empty when it ran. A refused run changes
    // nothing; the window shows the text in a box captioned "Szukaj drogi".
    std::string Refusal;
    TSearchOutcome Outcome;
    // RouteLength of FBestRoute, when a route was evaluated.
    double Length = 0.0;
    int64_t ElapsedMs = 0;
};

// Empty when the method can search this many points, otherwise the text
// that says why not.
std::string SearchRefusal(int method, int32_t pointCount);

// "Szukaj drogi": clears the links, runs the method, reports the time and
// the best length in the result list and turns the best route into links.
TRunResult RunSearch(TPointSetState& state, TRunHost& host, int method, const TSearchSettings& settings);
