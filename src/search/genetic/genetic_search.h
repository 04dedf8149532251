#pragma once

#include <cstdint>

#include "core/point_set.h"
#include "core/progress.h"
#include "core/route_problem.h"
#include "search/pace/search_outcome.h"

// The cut points are two different positions below N - 2 and a mutation
// needs two different positions.
inline constexpr int32_t MinGeneticPoints = 4;
// The population control's minimum; fewer specimens break the spread.
inline constexpr int32_t MinPopulation = 10;

// The search tab's parameters as the window read them when the search
// started (the rates already parsed from their edits).
struct TGeneticParams {
    int32_t Population = 100;
    double CrossoverRate = 0.5;
    double MutationRate = 0.05;
    // Stop after GenerationCount generations; otherwise once the spread of
    // the lengths falls to Treshold / 1000.
    bool StopByCount = true;
    int32_t GenerationCount = 2000;
    int32_t Treshold = 2;
    // Put the best route back into a random slot every generation.
    bool SecureBad = false;
};

// "Algorytm genetyczny": selection by fitness, order crossover of
// neighbouring pairs and swap mutation, keeping the shortest route ever
// evaluated in Route. Steps counts generations. Routes of other kinds keep
// their fixed points in place (free_stretch.h): the first population, the
// crossover and the mutation order only the free stretch, and a round
// trip's length counts the way back. A stretch of fewer than four points
// has no two cut points, and is only mutated.
TSearchOutcome SearchGenetic(const TRouteProblem& problem, TProgress& progress, const TGeneticParams& params,
                             bool pumpEveryStep = false);
