#pragma once

#include <cstdint>
#include <vector>

#include "core/point_types.h"
#include "core/route_problem.h"
#include "search/neighbours/leg_meter.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/pace/step_pacer.h"

// The most parts of one round go to its threads at once: beyond, a part's
// ring costs too much to turn.
inline constexpr int32_t MaxPartPoints = 50000;

// How rounds of kicks on parts of a route are run.
struct TRoundsPlan {
    // Threads that take parts side by side; the calling thread is one.
    int32_t Threads = 1;
    // The first round builds each part's route from its nearest points and
    // settles it (for sets too large for one ring); otherwise the route
    // given is settled already.
    bool Construct = false;
    // Count rule: this many kicks in all; time rule (Tries < 0): kicks
    // until the pacer's deadline.
    int64_t Tries = -1;
    double Seconds = 0.0;
    uint32_t Seed = 0;
    // The whole route's candidate neighbours, when it has them: the parts'
    // walks try those that lie in their part.
    const TNeighbourLists* Lists = nullptr;
    // Rounds after the first have every thread walk the whole route (with
    // Lists), and the walks are merged.
    bool WholeWalks = false;
    // The penalties of the ascent Lists came from, if any: the walks weigh
    // their legs with them (see TLocalRing).
    const std::vector<double>* Penalties = nullptr;
};

// Rounds in which the route is cut into parts (see CutRoute), the cuts a
// little further on every round, and each part walks on its own (see
// WalkPart); or, given the whole route's nearest points, every thread walks
// the whole route from the best so far, and the walks are merged part by
// part into the shortest (see MergeRings): on one ring, walks side by side
// lose less to the parts' fixed ends. Every walk has a random stream of its
// own drawn from the plan's seed: the same seed, count of kicks and threads
// give the same route. The
// calling thread takes parts too and runs the host's events through the
// pacer, which counts the kicks on its bar under the count rule; a stop
// or the deadline ends every part's walk. Returns the route, of the
// problem's kind, and counts the kicks made in kicks.
TSpecimen RunPartRounds(const TRouteProblem& problem, const TLegMeter& legs, const TSpecimen& route,
                        const TRoundsPlan& plan, TStepPacer& pacer, int64_t& kicks);
