#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/pace/search_outcome.h"

// Any set with a point has a route; kicks begin at three points.
inline constexpr int32_t MinLocalPoints = 1;

// The parameter controls' ranges.
inline constexpr double MinLocalSeconds = 1.0;
inline constexpr double MaxLocalSeconds = 3600.0;
inline constexpr int32_t MinLocalTries = 1;
inline constexpr int32_t MaxLocalTries = 10000000;

struct TLocalParams {
    // Stop after TimeLimitSeconds; otherwise after Tries perturbations.
    bool StopByTime = true;
    double TimeLimitSeconds = 5.0;
    int32_t Tries = 1000;
};

// A good route fast, for any engine that wants one: the nearest-neighbour
// route of the problem's kind (see KindNearestRoute), then 2-opt, Or-opt
// and Or-3opt until no move helps. Works from the measure alone and draws
// no random numbers: the same problem gives the same route.
TSpecimen QuickRoute(const TRouteProblem& problem);

// QuickRoute's route improved further by kicks rounds of kicks and settling
// (see SearchLocal), with the random source seeded with seed. The source's
// state is given back afterwards, so the route depends on the problem,
// kicks and seed alone, and no other user of the source notices.
TSpecimen KickedRoute(const TRouteProblem& problem, int64_t kicks, uint32_t seed);

// The same over whole-number map points on the plane, for an open route
// with free ends or (startPoint >= 0) from a fixed first point.
TSpecimen QuickRoute(const TPointArray& points, int32_t startPoint);
TSpecimen KickedRoute(const TPointArray& points, int32_t startPoint, int64_t kicks, uint32_t seed);

// "Optymalizacja lokalna (2-opt, Or-opt)": QuickRoute's route, then rounds
// of a small random kick (two short neighbouring stretches trade places)
// followed by 2-opt, Or-opt and Or-3opt around it, keeping the route when it
// came out no longer. Every route is of the problem's kind, and legs are
// compared under its measure. The random source is reseeded from the clock
// once, at the start, so the same clock reading and Tries give the same
// route. Reads the measure only, never the table. The bar counts tries, or
// milliseconds of the time limit. Steps counts the kicks done; Route holds
// a whole route when it returns, after a stop too.
TSearchOutcome SearchLocal(const TRouteProblem& problem, TProgress& progress, const TLocalParams& params,
                           bool pumpEveryStep = false);
