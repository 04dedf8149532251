#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/bound_report.h"
#include "core/number_text.h"
#include "core/route_kind.h"
#include "core/set_places.h"
#include "search/bound/lower_bound.h"
#include "search/run/run_control.h"

// What "compare" found: one row per method asked for, in the order given,
// and the tables it prints of them.

struct TComparedMethod {
    TSearchMethod Method = smExhaustive;
    // Why the method did not run (too many points, Ctrl+C came first);
    // empty when it ran.
    std::string Skipped;
    TRunResult Result;
    // Ended by the time limit or by Ctrl+C rather than by its own rule.
    bool Stopped = false;
};

// The best lower bound the comparison knows: the bound computed for the
// set, raised to the length of a route a method proved shortest, or to
// what a stopped exact run proved. Uncertified when none is known.
TLowerBound BestKnownBound(const std::optional<TLowerBound>& computed, const std::vector<TComparedMethod>& rows);

// The shortest length of the rows that found a route.
std::optional<double> BestLength(const std::vector<TComparedMethod>& rows);

TBoundSource KnownBoundSource(const TLowerBound& bound, const std::optional<TLowerBound>& computed,
                              const std::vector<TComparedMethod>& rows);

// The table for a person, in the given number format: method, length, time,
// gap to the bound and ratio to the best length, columns aligned, then the
// bound's line (saying so when a proof raised it above the one computed).
std::vector<std::string> CompareTableLines(const std::vector<TComparedMethod>& rows, const TLowerBound& bound,
                                           TBoundSource source, const TNumberFormat& format);

// The same as one JSON object: {"points": N, "bound": B, "methods": [...]}.
std::string CompareJson(const std::vector<TComparedMethod>& rows, const TLowerBound& bound, int32_t pointCount,
                        const TSetPlaces& places, const TRouteKind& kind);
