#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/length_words.h"
#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/exact/exact_search.h"
#include "search/genetic/genetic_search.h"
#include "search/local/local_search.h"
#include "search/pace/search_outcome.h"

// The methods, in the order of the method list.
enum TSearchMethod : int {
    smExhaustive = 0,
    smRandom = 1,
    smGenetic = 2,
    smExact = 3,
    smLocal = 4,
};

// Whether a method reads the distance matrix; the others work from the
// coordinates, so the command-line tool need not build n * n cells.
bool MethodReadsMatrix(TSearchMethod method);

// The search tab's settings, read when a search starts.
struct TSearchSettings {
    int32_t RandomCount = 1000;
    TGeneticParams Genetic;
    TExactParams Exact;
    TLocalParams Local;
    // The exhaustive search's threads: 0 one per core, 1 the counting order
    // in this thread alone.
    int32_t ExhaustiveThreads = 0;
    // The kind of route asked for; the caller makes the problem with it.
    TRouteKind Kind;
};

// What the run control asks of whoever shows the run. The caller has
// cleared the links and raised its running flag before the run begins.
struct TRunView {
    // With the bar at 0, before the method starts: the result list emptied,
    // the enabling rules of the stop and search commands run again, the
    // hourglass shown.
    std::function<void()> SearchBegins;
    // The user's long time pattern (H, HH, h, hh, m, mm, s, ss, AP, ap, t).
    std::string LongTimeFormat = "HH:mm:ss";
    // Tests ask for a pass of events after every step to stop at an exact
    // step; the window and the tool let the methods pace them.
    bool PumpEveryStep = false;
};

struct TRunResult {
    // Why the run was refused; empty when it ran. A refused run changes
    // nothing; the window shows the text in a box captioned "Szukaj drogi".
    std::string Refusal;
    // Why a run that had begun found nothing (memory the method could not
    // get); the links are cleared as for any run, and no length is given.
    std::string Failure;
    // The route found is Outcome.Route (when Outcome.Evaluated).
    TSearchOutcome Outcome;
    // The length of Outcome.Route under the problem's kind, when a route
    // was evaluated.
    double Length = 0.0;
    int64_t ElapsedMs = 0;
    // The result lines, in order: the search time, then (when a route was
    // evaluated) the best length, and for a route the method did not prove
    // the shortest but bounded, how much longer than the shortest it can
    // be. The caller appends them to its result list and turns the route
    // into links.
    std::vector<std::string> Lines;
};

// The result line of the best route's length: "Długość najkrótszej drogi:"
// for every method, but for a route of the exact method that it did not
// prove the shortest and for the local search's.
std::string LengthLine(TSearchMethod method, bool proved, double length, const TNumberFormat& format);
// The same for a route of any kind under any measure: a round trip's line
// says "drogi zamkniętej", a length on the Earth ends in " km"; an open
// route on the plane gets the line above word for word.
std::string LengthLine(TSearchMethod method, bool proved, double length, const TNumberFormat& format,
                       const TLengthWords& words);

// Empty when the method can search this many points, otherwise the text
// that says why not.
std::string SearchRefusal(TSearchMethod method, int32_t pointCount);

// Empty when the method can search this problem (its size and its kind of
// route), otherwise the text that says why not.
std::string SearchRefusal(TSearchMethod method, const TRouteProblem& problem);

// "Szukaj drogi" once the links are cleared: runs the method on the problem,
// measures the best route and writes the result lines. The caller keeps the
// route (Outcome.Route) as it sees fit.
TRunResult RunSearch(const TRouteProblem& problem, TProgress& progress, TSearchMethod method,
                     const TSearchSettings& settings, const TRunView& view);
