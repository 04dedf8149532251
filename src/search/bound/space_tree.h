#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/bound/penalty_tree.h"
#include "search/neighbours/leg_meter.h"

// A minimum spanning tree under penalties over all pairs of a large set,
// without looking at every pair: Borůvka's rounds, in which every part of
// the forest takes its lightest edge out, each part's edge found through a
// k-d tree over the points' places in the measure's space (TLegMeter's
// SpaceX, SpaceY and on the Earth SpaceZ). A box of the tree is passed over
// when even its nearest corner's least leg (LegFloor) and its lightest
// penalty can't beat the part's lightest edge so far, or when all of its
// points lie in the part already. Edge (a, b), a < b, weighs
// (leg + penalty[a]) + penalty[b], the lighter of equally heavy edges being
// the one with the lower ends, so that every round joins parts into a
// forest; the tree found weighs exactly the least for these weights.
class TSpaceTree {
public:
    // Over every point of legs but excluded (-1: none). legs must outlive
    // the tree.
    TSpaceTree(const TLegMeter& legs, int32_t excluded);

    // Calls goOn, when given, after every 256 points looked from and gives
    // up, returning false, once it answers false.
    bool SpanningTree(const std::vector<double>& penalties, TPenaltyTree& tree, const std::function<bool()>& goOn = {});

private:
    struct TNode {
        // The node's points are places First .. Last - 1 of the tree order.
        int32_t First = 0;
        int32_t Last = 0;
        int32_t Left = -1;
        int32_t Right = -1;
        double Low[3] = {0.0, 0.0, 0.0};
        double High[3] = {0.0, 0.0, 0.0};
    };

    int32_t Build(int32_t first, int32_t last);
    // The lightest edge from place at to a place of another part, lighter
    // than the part's best so far (kept in FBestWeight and FBestEdge).
    void LookFrom(int32_t at);
    double BoxDistance(const TNode& node, int32_t at) const;
    double Weight(int32_t a, int32_t b) const;
    bool Lighter(double weight, int32_t a, int32_t b, int32_t part) const;

    const TLegMeter& FLegs;
    int32_t FDimensions = 2;
    // The points in tree order, and their coordinates in that order.
    std::vector<int32_t> FIds;
    std::vector<double> FCoordinates[3];
    std::vector<TNode> FNodes;

    // The round's state, by place in tree order and by node.
    const std::vector<double>* FPenalties = nullptr;
    std::vector<double> FPlacePenalty;
    std::vector<int32_t> FPart;
    std::vector<int32_t> FNodePart;
    std::vector<double> FNodePenalty;
    std::vector<double> FBestWeight;
    std::vector<int32_t> FBestFrom;
    std::vector<int32_t> FBestTo;
};
