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
inline constexpr int32_t MaxLocalThreads = 256;

// Up to this many points one ring holds the whole route; beyond, turning a
// stretch of the ring round costs too much, and the route is worked on in
// parts (see RunPartRounds), on every thread asked for.
inline constexpr int32_t OneRingMaxPoints = 100000;
// Each thread gets at least this many points: on 1 000 points two walks
// side by side came out well ahead of one.
inline constexpr int32_t MinPointsPerThread = 500;
// With fewer points a thread walks the whole route, and the walks are
// merged; with more each thread walks a part of the route of its own, whose
// smaller ring makes a kick cheaper: at 1 000 points parts came out far
// behind whole walks, at 100 000 far ahead; with kicks settled by chains,
// at 10 000 points on two threads whole walks came out well ahead.
inline constexpr int32_t MinPartPoints = 10000;
// The candidates from this many points on: the legs that raise the 1-tree
// least (see AlphaCandidates). Five came out ahead of the ten nearest
// points and of six on uniform sets of 1 000 and 10 000 points, on one
// thread as on two.
inline constexpr int32_t AlphaNeighbourCount = 5;
inline constexpr int32_t AlphaMinPoints = 2 * MinPointsPerThread;

struct TLocalParams {
    // Stop after TimeLimitSeconds; otherwise after Tries perturbations.
    bool StopByTime = true;
    double TimeLimitSeconds = 5.0;
    int32_t Tries = 1000;
    // Threads that share the kicks: 0 one per core, 1 this thread alone.
    int32_t Threads = 0;
};

// The threads SearchLocal uses for n points when asked for threads: one
// with pumpEveryStep, and no more than give each MinPointsPerThread points.
int32_t LocalThreadCount(int32_t n, bool pumpEveryStep, int32_t threads);

// A good route fast, for any engine that wants one: the nearest-neighbour
// route of the problem's kind (see KindNearestRoute), then 2-opt, Or-opt
// and Or-3opt until no move helps. Works from the measure alone and draws
// no random numbers: the same problem gives the same route.
TSpecimen QuickRoute(const TRouteProblem& problem);

// QuickRoute's route improved further by kicks rounds of kicks and settling
// (see SearchLocal) on one ring, drawing from a random stream seeded with
// seed: the route depends on the problem, kicks and seed alone, and the
// program's random source is not touched.
TSpecimen KickedRoute(const TRouteProblem& problem, int64_t kicks, uint32_t seed);

// The same over whole-number map points on the plane, for an open route
// with free ends or (startPoint >= 0) from a fixed first point.
TSpecimen QuickRoute(const TPointArray& points, int32_t startPoint);
TSpecimen KickedRoute(const TPointArray& points, int32_t startPoint, int64_t kicks, uint32_t seed);

// "Optymalizacja lokalna (2-opt, Or-opt)": QuickRoute's route, then rounds
// of a small random kick (two short neighbouring stretches trade places)
// followed by 2-opt, Or-opt and Or-3opt around it, keeping the route when it
// came out no longer. Every route is of the problem's kind, and legs are
// compared under its measure. With more than one thread, or beyond
// OneRingMaxPoints points, the kicks are made on parts of the route side by
// side (see RunPartRounds); sets beyond OneRingMaxPoints build their route
// in parts too, from the order of a curve through the plane. The random
// source is reseeded from the clock once, at the start, and every random
// number comes from that seed, so the same clock reading, Tries and threads
// give the same route. Reads the measure only, never the table. The bar
// counts tries, or milliseconds of the time limit, which the pacer keeps
// (see SetDeadline). Steps counts the kicks done; Route holds a whole route
// when it returns, after a stop too.
TSearchOutcome SearchLocal(const TRouteProblem& problem, TProgress& progress, const TLocalParams& params,
                           bool pumpEveryStep = false);
