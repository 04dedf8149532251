#pragma once

#include "cli/cli_progress.h"
#include "core/point_set.h"
#include "search/bound/bound_texts.h"
#include "search/bound/lower_bound.h"

// The lower bound as the tool computes and reports it, for "bound" and for
// "solve --bound".

// Computes the bound over the set's points with the progress line on a
// terminal. Ctrl+C stops it like the stop command stops a search: the best
// certified value so far is kept.
TLowerBound RunLowerBound(TPointSetState& state, TCliProgress& progress);
