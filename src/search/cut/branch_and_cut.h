#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/point_types.h"
#include "search/cut/cut_graph.h"
#include "search/cut/tour_cut.h"

class TCutLp;
class TReducedCosts;

// The bytes the open subproblems of a graph of so many nodes may take
// before the deepest goes first rather than the least bound, so that they
// stop piling up: a tenth of a megabyte per node, between 4 and 64 MB.
uint64_t OpenSubproblemBytes(int32_t nodes);

// The exact method's branch and cut: the tours' linear programme (every
// node's two edges), tightened by subtour cuts, blossoms and combs whose
// teeth are paths, its edges taken in by their reduced costs, and branches
// that force or exclude an edge, the subproblem of the least bound first.
// Every bound that closes a subproblem or proves the best tour shortest is
// worked out from the programme's duals over all the edges (see
// TReducedCosts), so the proof holds whatever the solver's tolerances. A
// subproblem closes once no tour in it can be shorter than the best route
// by problem.Length: by whole units where every cost is whole, otherwise
// beyond what the lengths' roundings can take off. Real costs tie (lattices
// are full of tours of one cost), and tours within those roundings of the
// best are not told apart, which would take a branch for each: the best is
// proved shortest up to the roundings, and LowerBound stays below every
// such tour.
class TBranchAndCut {
public:
    // startTour: a tour of the graph's nodes that keeps its kept edges.
    TBranchAndCut(const TCutGraph& graph, const std::vector<int32_t>& startTour);
    ~TBranchAndCut();
    TBranchAndCut(const TBranchAndCut&) = delete;
    TBranchAndCut& operator=(const TBranchAndCut&) = delete;

    // Searches until every subproblem is closed (true) or goOn says stop
    // (false). goOn(1) comes after each subproblem, goOn(0) between smaller
    // pieces of work; improved runs whenever the best route gets shorter.
    bool Run(const std::function<bool(int64_t)>& goOn, const std::function<void()>& improved);

    // The best route of the problem's kind and its problem.Length.
    const TSpecimen& Best() const { return FBest; }
    double BestLength() const { return FBestLength; }
    // No route's problem.Length is below this: the least bound of the open
    // subproblems, after the lengths' roundings; BestLength once the search
    // is done. 0 before the first bound.
    double LowerBound() const;
    int64_t OpenSubproblems() const { return static_cast<int64_t>(FOpen.size()) + (FWorking ? 1 : 0); }
    int64_t Subproblems() const { return FSubproblems; }
    // The share of all tours ruled out, by the branches' sizes as if each
    // branch halved its tours.
    double ShareDone() const { return static_cast<double>(FShareDone); }
    // Cuts in the programme now, and edges taken in.
    int32_t Cuts() const;
    int32_t Edges() const;

private:
    struct TFix {
        int32_t A = 0;
        int32_t B = 0;
        uint8_t Value = 0;
    };
    struct TNode {
        std::vector<TFix> Fixes;
        long double Bound = 0;
        double Order = 0;
        long double Share = 1;
        int32_t Depth = 0;
        // The branch that made the node: the parent's objective and how far
        // the edge's value moved, to learn what such a branch gains.
        double ParentObjective = 0;
        double Moved = 0;
    };
    struct TPricing {
        long double Bound = 0;
        bool Added = false;
        // Edges outside the programme that no bound has ruled out, and the
        // least reduced cost among them (less its rounding).
        int64_t OpenOutside = 0;
        long double LeastOutside = 0;
    };
    // Values of the programme this close to 0 or 1 count as whole.
    static constexpr double WholeValue = 1e-6;

    // What branching on an edge gained so far, per unit its value moved.
    struct TGains {
        double Down = 0;
        double Up = 0;
        int32_t Downs = 0;
        int32_t Ups = 0;
    };

    // Whether tours none of which costs less than bound are ruled out;
    // ties kept at FTieFloor.
    bool Closes(long double bound);
    long double Lifted(long double bound, long double reduced, long double magnitude) const;
    bool GoOn(int64_t steps);
    void Offer(const std::vector<int32_t>& tour);
    int32_t LpEdge(int32_t a, int32_t b) const;
    int32_t TakeIn(int32_t a, int32_t b);
    bool Dead(int32_t a, int32_t b) const;
    bool Excluded(int32_t a, int32_t b) const;

    // The subproblem's work; false after a stop. children gets its branches
    // (none when it closed).
    bool Process(TNode& node, std::vector<TNode>& children);
    bool ApplyFixes(const TNode& node, bool& closed);
    bool CutAndPrice(TNode& node, TPricing& pricing);
    // The cuts the point breaks; with flowsOnly the subtour cuts alone, by
    // the flows that miss none.
    std::vector<TTourCut> FindCuts(const std::vector<double>& values, bool flowsOnly);
    TPricing Price(const TReducedCosts& costs, int32_t maxAdded);
    void FixByReducedCosts(const TReducedCosts& costs, long double bound);
    bool SingleTourLeft();
    // Whether every tour of the subproblem other than ring is ruled out
    // too: each uses an edge outside ring and leaves one of ring's.
    bool OthersRuledOut(const std::vector<int32_t>& ring, const TPricing& pricing);
    void LearnGain(const TNode& node);
    void TryLpTour(const std::vector<double>& values);
    bool Branch(TNode& node, long double bound, const std::vector<double>& values, std::vector<TNode>& children);
    void KillEdgesByRoot();
    void RetireSlackCuts(const std::vector<double>& values, const std::vector<double>& duals);

    const TCutGraph& FGraph;
    int32_t FNodes = 0;
    TSpecimen FBest;
    double FBestLength = 0;
    std::vector<int32_t> FBestTour;
    std::unique_ptr<TCutLp> FLp;
    std::unordered_map<int64_t, int32_t> FLpEdge;
    // Bounds as they stand for every edge of the programme; edges whose
    // bounds the current subproblem changed are listed to be put back.
    std::vector<int32_t> FChanged;
    // The current subproblem's fixed edges (kept edges included).
    std::unordered_map<int64_t, uint8_t> FFixed;
    // Edges no tour shorter than the best can use, by the root's duals:
    // once listed, every edge left out of FAlive is such an edge.
    bool FAliveListed = false;
    std::vector<std::pair<int32_t, int32_t>> FAlive;
    std::vector<long double> FAliveReduced;
    std::vector<long double> FAliveMagnitude;
    long double FRootBound = 0;
    std::unordered_set<int64_t> FAliveKeys;
    std::vector<TTourCut> FPool;
    std::unordered_map<int64_t, TGains> FGains;
    std::vector<std::vector<int32_t>> FCandidates;
    std::vector<TNode> FOpen;
    uint64_t FOpenBytes = 0;
    bool FWorking = false;
    long double FWorkingBound = 0;
    int64_t FSubproblems = 0;
    long double FShareDone = 0;
    // Tours ruled out as ties of the best cost no less than this.
    long double FTieFloor = std::numeric_limits<long double>::infinity();
    bool FStopped = false;
    bool FFinished = false;
    std::function<bool(int64_t)> FGoOn;
    std::function<void()> FImproved;
};
