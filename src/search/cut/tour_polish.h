#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "search/cut/cut_graph.h"

// Makes a tour of the graph's nodes shorter by the graph's own costs: 2-opt
// and Or-opt moves along candidate edges until none helps, then rounds of a
// kick (two neighbouring stretches of the tour trade places) and settling,
// keeping the tour whenever it came out no longer. The kept edges stay and
// no move adds an edge the graph does not allow. Draws its random numbers
// from its own source, so the same tour, candidates and seed give the same
// result.
class TTourPolish {
public:
    // candidates: for each node the nodes worth joining it to, nearer first.
    TTourPolish(const TCutGraph& graph, std::vector<std::vector<int32_t>> candidates, uint32_t seed);

    // Settles the tour, then kicks it kicks times; goOn runs now and then
    // and ends the kicks once it says stop. The tour must keep the graph's
    // kept edges and use allowed edges only.
    std::vector<int32_t> Improve(const std::vector<int32_t>& tour, int64_t kicks, const std::function<bool()>& goOn);

private:
    int32_t Next(int32_t node) const
    {
        return FTour[static_cast<size_t>((FPos[static_cast<size_t>(node)] + 1) % FCount)];
    }
    int32_t Prev(int32_t node) const
    {
        return FTour[static_cast<size_t>((FPos[static_cast<size_t>(node)] + FCount - 1) % FCount)];
    }
    double Cost(int32_t a, int32_t b) const { return FGraph.Cost(a, b); }
    bool Free(int32_t a, int32_t b) const { return !FGraph.Kept(a, b); }

    void Settle();
    bool TryTwoOpt(int32_t a);
    bool TryOrOpt(int32_t a);
    // Reverses the stretch of the tour from node `from` forward to node `to`.
    void Reverse(int32_t from, int32_t to);
    // Moves the stretch first..last (forward, at most three nodes) between c
    // and its successor, turned round when reversed.
    void MoveSegment(int32_t first, int32_t last, int32_t c, bool reversed);
    bool Kick();
    void Wake(int32_t node);

    const TCutGraph& FGraph;
    std::vector<std::vector<int32_t>> FCandidates;
    std::mt19937 FRandom;
    int32_t FCount = 0;
    std::vector<int32_t> FTour;
    std::vector<int32_t> FPos;
    std::vector<int32_t> FQueue;
    std::vector<uint8_t> FQueued;
    size_t FQueueHead = 0;
    // Gains below this share of a typical cost are taken for rounding.
    double FEpsilon = 0;
};
