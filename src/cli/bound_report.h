#pragma once

#include "cli/cli_progress.h"
#include "core/point_set.h"
#include "search/bound/bound_texts.h"
#include "search/bound/lower_bound.h"

// The lower bound as the tool computes and reports it, for "bound" and for
// "solve --bound".

// Computes the bound for routes of the kind over the set under its measure,
// with the progress line on a terminal. Ctrl+C stops it like the stop
// command stops a search: the best certified value so far is kept.
TLowerBound RunLowerBound(TPointSetState& state, TCliProgress& progress, const TRouteKind& kind);

// Where the best bound a command knows comes from.
enum class TBoundSource {
    // Computed for the set (ComputeLowerBound).
    Computed,
    // The length of a route a method proved shortest.
    ProvedRoute,
    // What a stopped exact run had proved, above the bound computed.
    StoppedProof,
};

// The bound's line (BoundLine), saying where a bound from a method's proof
// comes from.
std::string KnownBoundLine(const TLowerBound& bound, TBoundSource source, const TNumberFormat& format);
