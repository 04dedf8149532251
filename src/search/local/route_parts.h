#pragma once

#include <cstdint>
#include <vector>

#include "core/point_types.h"
#include "core/route_kind.h"
#include "search/local/local_optimiser.h"
#include "search/neighbours/leg_meter.h"

// A stretch of a route's consecutive points, worked on as an open route of
// its own: its ends stay where they are, tied to the rest of the route,
// unless the whole route's end there is free. Parts of one route share no
// point, so they can be worked on side by side and put back in place.
struct TRoutePart {
    // The points in route order.
    std::vector<int32_t> Points;
    bool StartFixed = true;
    bool EndFixed = true;
};

// The route of the kind cut into about count parts of equal size, the first
// cut offset places on (0 <= offset): an open route from its first point
// on (the stretch before the first cut a part too), a round trip round its
// ring from the cut.
std::vector<TRoutePart> CutRoute(const TSpecimen& route, const TRouteKind& kind, int32_t count, int32_t offset);

// The parts' points one after another: the route again, for a round trip
// read from its first cut.
TSpecimen JoinParts(const std::vector<TRoutePart>& parts);

// A round trip read from its fixed start, or from point 0.
void TurnToStart(TSpecimen& route, const TRouteKind& kind);

// The route of a kind along a curve through the plane (see CurveOrder): a
// fixed start first, a fixed end last. Takes no time to speak of, and its
// parts are compact.
TSpecimen CurveRoute(const TLegMeter& legs, const TRouteKind& kind);

// What a part's walk is asked.
struct TPartWork {
    // Build the part's route from its nearest points and settle it, with
    // chain moves, before any kick; otherwise it starts from the part's
    // order as it stands.
    bool Construct = false;
    // Kicks are made while this allows (kicks done so far).
    std::function<bool(int64_t)> Next;
    uint32_t Seed = 0;
    // The whole route's candidate neighbours: a part tries those in the
    // part, and its own nearest points where they are fewer; without them
    // its own nearest points.
    const TNeighbourLists* Candidates = nullptr;
    // The whole route's point penalties that came with Candidates, if
    // any: the part's walk weighs its legs with them (see TLocalRing).
    const std::vector<double>* Penalties = nullptr;
};

// The part's route after the work, and the kicks made. poll is asked
// between small units of work; false ends the work early with a whole
// part, no longer than it was.
std::vector<int32_t> WalkPart(const TLegMeter& whole, const TRoutePart& part, const TPartWork& work,
                              const TLocalPoll& poll, int64_t& kicks);
