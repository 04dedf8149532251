#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/point_set.h"
#include "search/exact/edge_rules.h"
#include "search/exact/fixed_legs.h"
#include "search/exact/ruled_tree.h"

// How the branch and bound's caller counts a route's length, where its
// points stand for something else (see TPlaceWalks).
struct TRouteMeasure {
    // The length of a route of the branch and bound's points as the caller
    // counts it, exact where it is below cap (the best so far), any length
    // at or above cap otherwise. Empty: RouteLength.
    std::function<double(const TSpecimen& route, double cap)> Length;
    // What the caller's count can differ by from the sum of the route's
    // legs beyond RouteLength's own roundings, in roundings of a sum.
    int32_t ExtraRoundings = 0;
    // Whether a route of whole legs is as long as their sum, as
    // RouteLength has it.
    bool WholeLegsAddUp = true;
};

// The exact method beyond the table's sizes: branch and bound on Held–Karp
// 1-trees for open routes. A subproblem is the set of routes that use its
// forced edges and none of its excluded ones; its bound comes from a
// subgradient ascent on point penalties that starts from its parent's best
// penalties. A subproblem is closed once its bound shows that none of its
// routes is shorter than the best route so far, where shorter means what
// RouteLength says: the bound is exact in whole units below the legs, and
// RoundingShareOf covers what RouteLength's roundings can take off a route
// shorter than the best: nothing where every leg is a whole number, and
// nothing for its legs of zero (points at one place) nor for its first
// leg: where a route as short as the best has one leg above zero, a bound
// that reaches the best length closes. Edges that no short route
// can use are ruled out by how much they would raise the 1-tree; then
// branches, at a point of the 1-tree with more than two edges, either
// exclude one of its edges, or force it and exclude another, or force both.
// The search goes depth first, so it needs memory for one path of the tree.
class TBranchAndBound {
public:
    // incumbent: a route over all the points (starting at startPoint when
    // that is a point of the set), the best so far; measure: how a route's
    // length is counted.
    TBranchAndBound(const TPointArray& points, int32_t startPoint, const TSpecimen& incumbent,
                    TRouteMeasure measure = {});

    // Searches until every subproblem is closed (true) or goOn says stop
    // (false), or after maxSubproblems subproblems (false). goOn(1) comes
    // before each subproblem, goOn(0) between smaller pieces of work;
    // improved runs whenever the best route gets shorter.
    bool Run(const std::function<bool(int64_t)>& goOn, const std::function<void()>& improved,
             int64_t maxSubproblems = INT64_MAX);

    const TSpecimen& Best() const { return FBest; }
    double BestLength() const { return FBestLength; }
    // No route's length is below this: the least bound of the open
    // subproblems, after the roundings; BestLength once every one is
    // closed. 0 before the first bound.
    double LowerBound() const;
    int64_t OpenSubproblems() const;
    int64_t Subproblems() const { return FSubproblems; }
    // The share of all routes already ruled out, by the branches' sizes as
    // if every branch split its routes evenly.
    double ShareDone() const { return static_cast<double>(FShareDone); }

private:
    struct TOpen {
        int64_t Bound = 0;
        int32_t Pending = 0;
    };
    struct TChoice {
        int32_t A = 0;
        int32_t B = 0;
        bool Force = false;
    };

    bool Explore(std::vector<int64_t>& penalties, int64_t inherited, long double share);
    bool GoOn(int64_t steps);
    // The subproblem's bound; false when it holds no route.
    bool Ascend(std::vector<int64_t>& penalties, int32_t iterations, double step, int64_t& bound);
    // Rules out the edges the 1-tree's rises condemn; false when that leaves
    // no route. changed tells whether any rule was added.
    bool RuleOut(const std::vector<int64_t>& penalties, bool& changed);
    bool Closed(int64_t bound) const;
    void Offer(std::vector<int32_t> route);
    std::vector<int32_t> ForcedRoute() const;
    std::vector<std::vector<TChoice>> Branches(const std::vector<int64_t>& penalties) const;
    void SetBest(const TSpecimen& route, double length);
    double Measure(const TSpecimen& route, double cap) const;
    // How many sums of a route shorter than length can round.
    int32_t RoundingsBelow(double length) const;

    TPointArray FPoints;
    int32_t FCount;
    int32_t FStart;
    TRouteMeasure FMeasure;
    TFixedLegs FLegs;
    TEdgeRules FRules;
    TRuledTree FTree;
    TSpecimen FBest;
    double FBestLength = 0.0;
    int32_t FRoundings = 0;
    // Bounds at or above FCloseAt rule a subproblem out; where every leg
    // left is a whole number, FWholeCloseAt does.
    int64_t FCloseAt = 0;
    int64_t FWholeCloseAt = 0;
    std::vector<TOpen> FPath;
    std::vector<int64_t> FRise;
    int64_t FSubproblems = 0;
    int64_t FMaxSubproblems = 0;
    long double FShareDone = 0;
    bool FFinished = false;
    bool FStopped = false;
    std::function<bool(int64_t)> FGoOn;
    std::function<void()> FImproved;
};
