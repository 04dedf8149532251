#pragma once

#include <optional>
#include <string>

#include "cli/cli_progress.h"
#include "core/number_text.h"
#include "core/point_set.h"
#include "search/bound/lower_bound.h"

// The lower bound as the tool computes and reports it, for "bound" and for
// "solve --bound".

// Computes the bound over the set's points with the progress line on a
// terminal. Ctrl+C stops it like the stop command stops a search: the best
// certified value so far is kept.
TLowerBound RunLowerBound(TPointSetState& state, TCliProgress& progress);

// "Dolne ograniczenie długości drogi: 1 234,56", or that no value was
// certified before a stop.
std::string BoundLine(const TLowerBound& bound, const TNumberFormat& format);

// How much longer than the bound a route of this length is, (L - B) / B:
// also the most it can be longer than the shortest route. 0 for a route of
// length 0; nothing when the bound is 0 (or uncertified) and the route is
// not, because then no ratio holds.
std::optional<double> GapFraction(double length, const TLowerBound& bound);

// "Długość drogi: 1 274,00, najwyżej 3,2% więcej niż najkrótsza", the
// percentage rounded up to a tenth so that "najwyżej" stays true. Empty
// when GapFraction gives nothing.
std::string GapLine(double length, const TLowerBound& bound, const TNumberFormat& format);
