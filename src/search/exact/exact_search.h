#pragma once

#include <cstdint>
#include <string>

#include "core/point_set.h"
#include "core/progress.h"
#include "search/run/search_outcome.h"

// Beyond this many points the table of the exact method outgrows a desktop
// machine (25 points already take 3.4 GB).
inline constexpr int32_t MaxExactPoints = 25;

struct TExactParams {
    // -1: the route may start at any point; otherwise it starts at this
    // point. A value outside the set counts as a free start.
    int32_t StartPoint = -1;
};

// The machine's physical memory in bytes, 0 when the system does not say.
uint64_t PhysicalMemoryBytes();

// Bytes of the exact method's table for this many points: one double for
// every subset of the points and every point of it that can end a route,
// saturated at the largest 64-bit count.
uint64_t ExactTableBytes(int32_t pointCount);

// Empty when the exact method can take this many points on a machine with
// this much memory (the table may take half of it) and with room for the
// table in what this process can still get (see CurrentMemoryRoom),
// otherwise the text that says why not. Callers check before anything
// changes.
std::string ExactRefusal(int32_t pointCount, uint64_t physicalMemoryBytes, uint64_t processRoomBytes = UINT64_MAX);

// The question to ask before a run that needs more than a gigabyte ("...
// Kontynuować?"); empty when the run needs less.
std::string ExactMemoryQuestion(int32_t pointCount);

// "Metoda dokładna": the shortest open route by dynamic programming over
// subsets of the points. The shortest route is the one RouteLength finds
// shortest: the table adds legs with AddLeg, start to end. Before the table
// is filled FBestRoute holds a quick route, which stays there after a stop
// (Proved is false then). A table the system would not give is a Failure,
// with no route.
// Worker threads, one per core, fill the table; the calling thread alone
// talks to the host. Steps counts blocks of subsets, one step of the bar
// each. With pumpEveryStep the calling thread fills the table alone and the
// host's events run after every block, so that a test can stop at an exact
// block.
TSearchOutcome SearchExact(TPointSetState& state, TProgress& progress, const TExactParams& params,
                           bool pumpEveryStep = false);
