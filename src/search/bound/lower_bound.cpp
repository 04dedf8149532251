#include "search/bound/lower_bound.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <memory>

#include "core/route_kind.h"
#include "search/bound/one_tree.h"
#include "search/bound/penalty_tree.h"
#include "search/bound/space_tree.h"
#include "search/local/local_search.h"
#include "search/neighbours/candidate_graph.h"
#include "search/neighbours/curve_order.h"
#include "search/neighbours/leg_meter.h"
#include "search/pace/step_pacer.h"

namespace {

// Up to this many points every tree spans all pairs: quadratic trees are
// cheap there, and every step's value is certified at once.
constexpr int32_t CompleteGraphMaxPoints = 128;
constexpr int32_t NeighbourCount = 8;
constexpr double Epsilon = 0x1p-53;
constexpr long double ExtendedEpsilon = 0x1p-64L;

// The ascent's length: the first period of steps, halved with the step
// size after every period. Large sets take fewer steps: a step costs a tree
// on the candidate graph, about half a microsecond a point beyond a hundred
// thousand points, and the count keeps the ascent of a million points to
// about a minute. A count and not a clock, so that a set gets the same
// bound on every machine.
constexpr int64_t AscentWork = 75'000'000;

int32_t InitialPeriod(int32_t n)
{
    if (n <= CompleteGraphMaxPoints)
        return 1000;
    return static_cast<int32_t>(std::clamp<int64_t>(AscentWork / (5 * static_cast<int64_t>(n)), 10, 250));
}

int32_t MaxIterations(int32_t n)
{
    const int32_t period = InitialPeriod(n);
    return 4 * period + std::min(100, 2 * period);
}

// After the ascent a second one refines its penalties on trees over all
// pairs, with steps aimed at a route's length (Polyak's rule) that halve
// after Patience steps without a better bound, until they vanish, or after
// RefineIterations steps: on clustered sets the
// first ascent stops far below the bound, and long ascents pay there, up
// to about ten seconds at 2 000 points. Beyond, trees over all pairs cost
// too much.
constexpr int32_t RefineMaxPoints = 2000;
constexpr long double MinStepFactor = 1e-4L;
// The refining aims its steps at a good route's length, which on clustered
// sets lies far above the bound, and then, with what steps remain, a little
// above the best value so far: on uniform sets the first aim ends within a
// few hundred steps some hundredths of a per cent below the bound, which
// the close aim closes.
constexpr long double RouteAim = 1.0L;
constexpr long double CloseAim = 0.02L;

int32_t Patience(int32_t n)
{
    return std::clamp(n / 4, 30, 100);
}

int32_t RefineIterations(int32_t n)
{
    if (n > RefineMaxPoints)
        return 0;
    // A step costs a tree over all pairs, a few nanoseconds for each pair:
    // the count keeps the refining of a clustered set that needs it all to
    // about eight seconds at 1 300 and at 2 000 points on a desktop machine
    // (sets that settle sooner stop sooner). A count and not a clock, so that
    // a set gets the same bound on every machine and at every load.
    const int64_t affordable = 3'600'000'000 / (static_cast<int64_t>(n) * n);
    return static_cast<int32_t>(std::min<int64_t>(std::clamp(20 * n, 2000, 20000), affordable));
}

// Up to this many points a tree over all pairs looks at every pair
// (Prim's algorithm); beyond, Borůvka's rounds over a k-d tree look at near
// pairs only.
constexpr int32_t PrimMaxPoints = 2048;

// A tree over all pairs costs about as much as this many steps on the
// candidate graph.
int32_t CompleteTreeSteps(int32_t n)
{
    if (n <= CompleteGraphMaxPoints)
        return 0;
    return n <= PrimMaxPoints ? std::max(1, n / 250) : 10;
}

// Trees over all pairs that confirm the candidate graph's best penalties
// during the ascent, so that a stop keeps a recent value; one more comes at
// the start and one at the end. Beyond a hundred thousand points fewer,
// each being dear.
int32_t MaxInterimCertificates(int32_t n)
{
    return std::clamp(600'000 / std::max(n, 1), 1, 6);
}

class TBoundAscent {
public:
    TBoundAscent(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep)
        : FProblem(problem),
          FLegs(problem.Measure),
          FCount(problem.Count()),
          FShape(ShapeOfKind(problem.Kind, problem.Count())),
          FProgress(progress),
          FPacer(progress, pumpEveryStep)
    {
        // The bound does not depend on how the points are numbered; numbered
        // along a curve, a large set's trees find their data near in memory.
        if (FCount > PrimMaxPoints)
            Renumber();
        FPenalties.assign(FCount, 0.0);
        FComplete = FCount <= CompleteGraphMaxPoints;
    }

    TLowerBound Run()
    {
        TLowerBound result;
        if (FCount <= 1) {
            result.Certified = true;
            result.Completed = true;
            return result;
        }
        FProgress.PrBar().SetMax(MaxIterations(FCount) + RefineIterations(FCount) +
                                 (MaxInterimCertificates(FCount) + 2) * CompleteTreeSteps(FCount));

        result.Completed = Ascend(result);
        result.Certified = FBestCertified >= 0;
        result.Value = result.Certified ? FBestCertified : 0.0;
        FPacer.Flush();
        // The ascent may end before its last step; the work is done.
        if (result.Completed)
            FProgress.PrBar().SetPosition(FProgress.PrBar().Max());
        return result;
    }

private:
    bool Sparse() const { return !FComplete; }

    void Renumber()
    {
        const std::vector<int32_t> order = CurveOrder(FLegs.PlaneX(), FLegs.PlaneY());
        FLegs = FLegs.Subset(order);
        std::vector<int32_t> place(order.size());
        for (size_t k = 0; k < order.size(); ++k)
            place[static_cast<size_t>(order[k])] = static_cast<int32_t>(k);
        for (int32_t* point : {&FShape.Special, &FShape.Start, &FShape.End})
            if (*point >= 0)
                *point = place[static_cast<size_t>(*point)];
    }

    // The round trip's joining edges under the penalties: over all points
    // for a tree over all pairs, otherwise over the candidate graph.
    TSpecialEdges SpecialEdges(const std::vector<double>& penalties, bool overAll) const
    {
        if (FShape.Special < 0)
            return {};
        return overAll ? LightestEdgesOverAll(FLegs, penalties, FShape.Special)
                       : LightestEdgesOfGraph(FGraph, penalties, FShape.Special);
    }

    // The certified value of a 1-tree over all pairs under the penalties.
    void Certify(const TOneTree& oneTree, const std::vector<double>& penalties)
    {
        long double largestPenalty = 0;
        for (const double penalty : penalties)
            largestPenalty = std::max<long double>(largestPenalty, std::fabs(penalty));
        const long double n = FCount;
        const long double value = oneTree.Value;
        // Each of the n + 1 edges' computed weights lies within the meter's
        // error of the measure's leg and 4.1 units in the last place of its
        // leg and penalties, and no true minimum tree can weigh less than
        // the computed one by more than its edges' errors; the extended sums
        // add their own error; and a route's length may come out below its
        // true length by its legs' and sums' rounding, except where every
        // leg is a whole number (the sums are exact) and the bound may be
        // rounded up too. Every factor carries some room.
        const long double edges = n + 1;
        long double margin = edges * (FLegs.LegError() + 4.5L * Epsilon * (FLegs.LongestLeg() + 2 * largestPenalty)) +
                             2.2L * (2 * n + 2) * ExtendedEpsilon * oneTree.Magnitude;
        if (!FLegs.WholeLegs())
            margin += 1.1L * (n + 8) * Epsilon * std::fabs(value);
        double certified = static_cast<double>(std::max(0.0L, value - margin));
        if (FLegs.WholeLegs())
            certified = std::ceil(certified);
        FBestCertified = std::max(FBestCertified, certified);
    }

    // A tree over all pairs, with the host's events in between, stepping
    // the bar CompleteTreeSteps times in all. False after a stop.
    bool CompleteTree(const std::vector<double>& penalties, TPenaltyTree& tree)
    {
        // A point joining costs far less than a step of the ascent; the
        // pacer learns each pace afresh.
        FPacer.Recalibrate();
        const int32_t steps = CompleteTreeSteps(FCount);
        bool done = false;
        if (FCount <= PrimMaxPoints) {
            int32_t joined = 0;
            int32_t stepped = 0;
            done = CompletePenaltyTree(FLegs, penalties, FShape.Special, tree, [&] {
                ++joined;
                const int32_t due = static_cast<int32_t>(static_cast<int64_t>(joined) * steps / FCount);
                const bool goOn = due > stepped ? FPacer.StepBy(due - stepped) : FPacer.Poll();
                stepped = due;
                return goOn;
            });
        } else {
            if (!FSpaceTree)
                FSpaceTree = std::make_unique<TSpaceTree>(FLegs, FShape.Special);
            done = FSpaceTree->SpanningTree(penalties, tree, [this] { return FPacer.Poll(); }) && FPacer.StepBy(steps);
        }
        FPacer.Recalibrate();
        return done;
    }

    // One 1-tree under the current penalties.
    bool Evaluate(TOneTree& oneTree)
    {
        if (Sparse()) {
            // A tree of ten thousand points takes milliseconds; the host gets
            // its events inside it too.
            if (!SparsePenaltyTree(FGraph, FPenalties, FShape.Special, FTree, [this] { return FPacer.Poll(); }))
                return false;
        } else {
            CompletePenaltyTree(FLegs, FPenalties, FShape.Special, FTree, {});
        }
        oneTree = OneTreeOf(FTree, FPenalties, FShape, SpecialEdges(FPenalties, !Sparse()));
        if (!Sparse())
            Certify(oneTree, FPenalties);
        return FPacer.Step();
    }

    bool Ascend(TLowerBound& result)
    {
        TOneTree current;
        if (!FirstTree(current))
            return false;
        TAscentBest best{current.Value, FPenalties};
        if (!StepPeriods(result, current, best))
            return false;
        if (best.Uncertified && !CertifyBest(best))
            return false;
        const int32_t budgetEnd = result.Iterations + RefineIterations(FCount);
        std::vector<double> refined = best.Penalties;
        return Refine(result, refined, budgetEnd, RouteAim) && Refine(result, refined, budgetEnd, CloseAim);
    }

    // At zero penalties the tree is the plain minimum spanning tree: a first
    // certified value, and the edges that keep the candidate graph in one
    // piece.
    bool FirstTree(TOneTree& current)
    {
        if (!CompleteTree(FPenalties, FTree))
            return false;
        current = OneTreeOf(FTree, FPenalties, FShape, SpecialEdges(FPenalties, true));
        Certify(current, FPenalties);
        if (!Sparse())
            return true;
        std::vector<std::pair<int32_t, int32_t>> treeEdges;
        for (int32_t i = 0; i < FCount; ++i)
            if (FTree.Parents[i] >= 0)
                treeEdges.emplace_back(i, FTree.Parents[i]);
        if (!BuildCandidateGraph(FLegs, NeighbourCount, treeEdges, FGraph, [this] { return FPacer.Poll(); }))
            return false;
        // Sorting the edges takes milliseconds: the pacer reads its clock
        // after it.
        FPacer.Recalibrate();
        if (!FPacer.Poll() ||
            !SparsePenaltyTree(FGraph, FPenalties, FShape.Special, FTree, [this] { return FPacer.Poll(); }))
            return false;
        current = OneTreeOf(FTree, FPenalties, FShape, SpecialEdges(FPenalties, false));
        return true;
    }

    // The best value the ascent reached and its penalties; on the candidate
    // graph not yet confirmed by a tree over all pairs.
    struct TAscentBest {
        long double Value;
        std::vector<double> Penalties;
        bool Uncertified = false;
        int32_t InterimCertificates = 0;
    };

    // Subgradient steps in periods that halve with the step size; steps
    // start small against the mean edge and double while they pay.
    bool StepPeriods(TLowerBound& result, TOneTree& current, TAscentBest& best)
    {
        std::vector<int32_t> lastSlopes = current.Slopes;
        const int32_t initialPeriod = InitialPeriod(FCount);
        const int32_t maxIterations = MaxIterations(FCount);
        const long double meanEdge = std::max(current.Value, 0.0L) / FCount;
        long double stepSize = 1e-3L * meanEdge;
        const long double minStepSize = 1e-9L * meanEdge;
        bool initialPhase = true;
        for (int32_t period = initialPeriod; period > 0 && stepSize > minStepSize && current.SquaredNorm != 0;
             period /= 2, stepSize /= 2) {
            for (int32_t p = 1; p <= period && current.SquaredNorm != 0; ++p) {
                if (result.Iterations >= maxIterations)
                    break;
                for (int32_t i = 0; i < FCount; ++i) {
                    if (current.Slopes[i] != 0)
                        FPenalties[i] +=
                            static_cast<double>(stepSize * (0.7L * current.Slopes[i] + 0.3L * lastSlopes[i]));
                    lastSlopes[i] = current.Slopes[i];
                }
                ++result.Iterations;
                if (!Evaluate(current))
                    return false;
                if (current.Value > best.Value) {
                    best.Value = current.Value;
                    best.Penalties = FPenalties;
                    best.Uncertified = Sparse();
                    if (initialPhase)
                        stepSize *= 2;
                    if (p == period)
                        period = std::min(2 * period, initialPeriod);
                } else if (initialPhase && p > period / 2) {
                    initialPhase = false;
                    p = 0;
                    stepSize *= 0.75L;
                }
            }
            if (result.Iterations >= maxIterations)
                break;
            // The candidate graph's trees may be heavier than the true ones,
            // so its best penalties count only once a full tree confirms.
            if (best.Uncertified && best.InterimCertificates < MaxInterimCertificates(FCount)) {
                if (!CertifyBest(best))
                    return false;
                ++best.InterimCertificates;
            }
        }
        return true;
    }

    bool CertifyBest(TAscentBest& best)
    {
        if (!CompleteTree(best.Penalties, FTree))
            return false;
        Certify(OneTreeOf(FTree, best.Penalties, FShape, SpecialEdges(best.Penalties, true)), best.Penalties);
        best.Uncertified = false;
        return true;
    }

    // A good route's length, the mark the refining steps aim at: the bound
    // can't pass the shortest route, and this one is a few per cent above.
    long double RouteTarget() const { return KindRouteLength(FProblem.Measure, QuickRoute(FProblem), FProblem.Kind); }

    // Refines penalties, aiming each step's size at the route's length, or
    // with aim below 1 at that share of the way from the best value to it,
    // until the steps vanish or the iterations reach budgetEnd. Leaves the
    // best penalties in penalties.
    bool Refine(TLowerBound& result, std::vector<double>& penalties, int32_t budgetEnd, long double aim)
    {
        if (RefineIterations(FCount) == 0 || FCount <= 2 || result.Iterations >= budgetEnd)
            return true;
        FComplete = true;
        FPenalties = penalties;
        TOneTree current;
        const int32_t maxIterations = budgetEnd;
        ++result.Iterations;
        if (!Evaluate(current))
            return false;
        long double bestValue = current.Value;
        const long double startValue = bestValue;
        std::vector<double> bestPenalties = FPenalties;
        std::vector<int32_t> lastSlopes = current.Slopes;
        if (FTarget == 0)
            FTarget = std::max<long double>(RouteTarget(), current.Value);
        const long double target = std::max<long double>(FTarget, current.Value);
        const int32_t patience = Patience(FCount);
        long double factor = 2.0L;
        int32_t sinceBest = 0;
        long double valueAtHalving = bestValue;
        while (current.SquaredNorm != 0 && factor > MinStepFactor && result.Iterations < maxIterations) {
            const long double aimed = bestValue + aim * (target - bestValue);
            const long double gap = std::max(aimed - current.Value, 1e-9L * std::fabs(target));
            const long double stepSize = factor * gap / static_cast<long double>(current.SquaredNorm);
            for (int32_t i = 0; i < FCount; ++i) {
                if (current.Slopes[i] != 0 || lastSlopes[i] != 0)
                    FPenalties[i] += static_cast<double>(stepSize * (0.7L * current.Slopes[i] + 0.3L * lastSlopes[i]));
                lastSlopes[i] = current.Slopes[i];
            }
            ++result.Iterations;
            if (!Evaluate(current))
                return false;
            if (current.Value > bestValue) {
                // Gains below a billionth do not count as progress.
                if (current.Value > bestValue + 1e-9L * std::fabs(bestValue))
                    sinceBest = 0;
                bestValue = current.Value;
                bestPenalties = FPenalties;
            }
            if (++sinceBest < patience)
                continue;
            sinceBest = 0;
            factor /= 2;
            // Once a stretch between halvings with steps of a fitting size
            // gains less than this share, the rest would not show in the
            // gap's tenth of a per cent.
            // Where the first ascent already reached the bound (uniform
            // sets), two stretches without any gain end the refining.
            const bool stalled = (factor < 0.2L && bestValue - valueAtHalving < 1e-5L * std::fabs(bestValue)) ||
                                 (factor < 1.0L && bestValue <= startValue);
            if (stalled || result.Iterations >= maxIterations)
                break;
            valueAtHalving = bestValue;
            // The best penalties so far are a better start than wherever
            // the last steps wandered.
            FPenalties = bestPenalties;
            ++result.Iterations;
            if (!Evaluate(current))
                return false;
        }
        penalties = bestPenalties;
        return true;
    }

    // The caller's problem, which outlives the ascent.
    const TRouteProblem& FProblem;
    TLegMeter FLegs;
    int32_t FCount;
    TOneTreeShape FShape;
    TProgress& FProgress;
    TStepPacer FPacer;
    std::vector<double> FPenalties;
    TCandidateGraph FGraph;
    std::unique_ptr<TSpaceTree> FSpaceTree;
    // The refining's route length, found once.
    long double FTarget = 0;
    TPenaltyTree FTree;
    double FBestCertified = -1.0;
    // Whether trees span all pairs (every value certified at once) rather
    // than the candidate graph.
    bool FComplete = true;
};

}  // namespace

TLowerBound ComputeLowerBound(const TRouteProblem& problem, TProgress& progress, bool pumpEveryStep)
{
    progress.ShowStatus("Szacowanie dolnego ograniczenia...", 0);
    TLowerBound result;
    {
        TBoundAscent ascent(problem, progress, pumpEveryStep);
        result = ascent.Run();
    }
    progress.ShowStatus("", 0);
    return result;
}

TLowerBound ComputeLowerBound(const TPointArray& points, TProgress& progress, bool pumpEveryStep)
{
    return ComputeLowerBound(MakeRouteProblem(TMeasure::OfPoints(points), {}, false), progress, pumpEveryStep);
}
