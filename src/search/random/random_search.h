#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/pace/search_outcome.h"

// The points needed for the neighbour exchanges of the random search.
inline constexpr int32_t MinRandomPoints = 3;

// Fills route, in place and at its own length, with a random permutation of
// its indices. Reseeds the random source from the clock at every call, so
// two calls within one clock tick give the same route.
void RandomRoute(TSpecimen& route);

// "Przeszukiwanie losowe": a walk of neighbour exchanges from one random
// route, tries routes long, keeping the shortest seen in Route. Routes of
// other kinds keep their fixed points in place (free_stretch.h) and the
// walk exchanges neighbours among the rest; a round trip's length counts
// the way back.
TSearchOutcome SearchRandom(const TRouteProblem& problem, TProgress& progress, int32_t tries,
                            bool pumpEveryStep = false);
