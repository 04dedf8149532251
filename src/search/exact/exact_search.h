#pragma once

#include <cstdint>
#include <string>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/pace/search_outcome.h"

// Beyond this many points a proof may take hours even on easy sets: the
// exact method warns (ExactLongProofWarning); beyond AskProofPoints the
// window asks before it starts (ExactLongProofQuestion).
inline constexpr int32_t LongProofPoints = 100;
inline constexpr int32_t AskProofPoints = 200;

// From this many points the exact method proves by branch and cut
// (SearchByCuts), which is then the faster; below, by the table or the
// branch and bound on 1-trees, except for the routes and measures that
// only the branch and cut knows (ExactUsesCuts).
inline constexpr int32_t MinCutPoints = 76;

// Up to this many points the exact method fills a table of every subset
// (fast while it is small: 16 points take 4 MB); beyond, it proves the
// route shortest by branch and bound, in a few megabytes.
inline constexpr int32_t MaxTablePoints = 16;

struct TExactParams {
    // Seconds after which the search stops as if the stop command came;
    // 0 for none.
    double TimeLimitSeconds = 0.0;
};

// Whether the exact method fills the table for this many points rather than
// branching.
inline bool ExactUsesTable(int32_t pointCount)
{
    return pointCount <= MaxTablePoints;
}

// Whether the exact method proves the problem by branch and cut: from
// MinCutPoints points, and at any size for a round trip, a fixed end, a
// measure other than the plane, or places that are not whole numbers
// (the table and the branch and bound know open routes on the plane of
// whole-number points only).
bool ExactUsesCuts(const TRouteProblem& problem);

// "" up to LongProofPoints points; beyond, the warning that a proof may
// take very long.
std::string ExactLongProofWarning(int32_t pointCount);

// "" up to AskProofPoints points; beyond, the question the window asks
// before the exact method starts ("... Rozpocząć?").
std::string ExactLongProofQuestion(int32_t pointCount);

// The machine's physical memory in bytes, 0 when the system does not say.
uint64_t PhysicalMemoryBytes();

// Bytes of the exact method's table for this many points: one double for
// every subset of the points and every point of it that can end a route,
// saturated at the largest 64-bit count.
uint64_t ExactTableBytes(int32_t pointCount);

// Bytes the exact method takes for this many points: the table where it
// fills one, otherwise what the branch and bound holds at most (the legs,
// the edges' rules and their record, the penalties of one path of
// subproblems), and from MinCutPoints what the branch and cut holds at
// most (CutMemoryBytes).
uint64_t ExactMemoryBytes(int32_t pointCount);

// What the exact method needs beside ExactMemoryBytes in what the process
// can still get: the heap's own slack.
inline constexpr uint64_t ExactHeapSlackBytes = 1000000;

// Empty when the exact method can take this many points on a machine with
// this much memory (it may take half of it) and with room for it and the
// heap's slack in what this process can still get (see CurrentMemoryRoom),
// otherwise the text that says why not, naming the whole need. Callers
// check before anything changes.
std::string ExactRefusal(int32_t pointCount, uint64_t physicalMemoryBytes, uint64_t processRoomBytes = UINT64_MAX);

// The question to ask before a run that needs more than a gigabyte ("...
// Kontynuować?"); empty when the run needs less.
std::string ExactMemoryQuestion(int32_t pointCount);

// "Metoda dokładna": the shortest open route, the one RouteLength finds
// shortest. Up to MaxTablePoints by dynamic programming over subsets of the
// points: the table adds legs with AddLeg, start to end. Before the table is
// filled Route holds a quick route, which stays there after a stop
// (Proved is false then, and Bound holds the 1-tree bound of all the
// points). A table the system would not give is a Failure, with no route.
// Worker threads, one per core, fill the table; the calling thread alone
// talks to the host. Steps counts blocks of subsets, one step of the bar
// each. With pumpEveryStep the calling thread fills the table alone and the
// host's events run after every block, so that a test can stop at an exact
// block.
// Beyond, by branch and bound (TBranchAndBound) over the places of the
// points (TPointPlaces; points at one place take a run of the route, or
// several where a walk through them again comes out shorter, see
// TPlaceWalks), from the local search's route: the status text tells the
// best length, the bound and the open subproblems, the bar the share of
// routes ruled out, and Steps counts the subproblems. After a stop
// Route holds the best route so far and Bound the least bound of the
// open subproblems.
// Where ExactUsesCuts, by branch and cut (SearchByCuts) instead, with
// every kind of route and measure.
TSearchOutcome SearchExact(const TRouteProblem& problem, TProgress& progress, const TExactParams& params,
                           bool pumpEveryStep = false);
