#include "search/bound/lower_bound.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "search/bound/penalty_tree.h"
#include "search/local/local_search.h"
#include "search/neighbours/candidate_graph.h"
#include "search/pace/step_pacer.h"

namespace {

// Up to this many points every tree spans all pairs: quadratic trees are
// cheap there, and every step's value is certified at once.
constexpr int32_t CompleteGraphMaxPoints = 128;
constexpr int32_t NeighbourCount = 8;
constexpr double Epsilon = 0x1p-53;
constexpr long double ExtendedEpsilon = 0x1p-64L;

// The ascent's length: the first period of steps, halved with the step
// size after every period.
int32_t InitialPeriod(int32_t n)
{
    return n <= CompleteGraphMaxPoints ? 1000 : 250;
}

int32_t MaxIterations(int32_t n)
{
    return 4 * InitialPeriod(n) + 100;
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

// A tree over all pairs costs about as much as this many steps on the
// candidate graph.
int32_t CompleteTreeSteps(int32_t n)
{
    return n <= CompleteGraphMaxPoints ? 0 : std::max(1, n / 250);
}

// Trees over all pairs that confirm the candidate graph's best penalties
// during the ascent, so that a stop keeps a recent value; one more comes at
// the start and one at the end.
constexpr int32_t MaxInterimCertificates = 6;

// The value of the 1-tree a spanning tree and the two cheapest dummy edges
// make, under the penalties, and the degrees the next step follows.
struct TOneTree {
    long double Value = 0;
    long double Magnitude = 0;
    std::vector<int32_t> Slopes;
    int64_t SquaredNorm = 0;
};

TOneTree OneTreeOf(const TPenaltyTree& tree, const std::vector<double>& penalties)
{
    const int32_t n = static_cast<int32_t>(penalties.size());
    TOneTree oneTree;
    oneTree.Slopes.assign(n, -2);
    // The dummy point's two edges cost their far ends' penalties.
    int32_t first = -1;
    int32_t second = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (first < 0 || penalties[i] < penalties[first]) {
            second = first;
            first = i;
        } else if (second < 0 || penalties[i] < penalties[second]) {
            second = i;
        }
    }
    long double value = tree.Weight;
    long double magnitude = tree.Magnitude;
    for (const int32_t end : {first, second}) {
        if (end < 0)
            continue;
        value += penalties[end];
        magnitude += std::fabs(penalties[end]);
        ++oneTree.Slopes[end];
    }
    for (int32_t i = 0; i < n; ++i) {
        value -= 2.0L * penalties[i];
        magnitude += 2.0L * std::fabs(penalties[i]);
        if (tree.Parents[i] >= 0) {
            ++oneTree.Slopes[i];
            ++oneTree.Slopes[tree.Parents[i]];
        }
    }
    for (const int32_t slope : oneTree.Slopes)
        oneTree.SquaredNorm += static_cast<int64_t>(slope) * slope;
    oneTree.Value = value;
    oneTree.Magnitude = magnitude;
    return oneTree;
}

class TBoundAscent {
public:
    TBoundAscent(const TPointArray& points, TProgress& progress, bool pumpEveryStep)
        : FPoints(points),
          FCount(static_cast<int32_t>(points.size())),
          FProgress(progress),
          FPacer(progress, pumpEveryStep)
    {
        int64_t minX = 0;
        int64_t maxX = 0;
        int64_t minY = 0;
        int64_t maxY = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            FX.push_back(points[i].X);
            FY.push_back(points[i].Y);
            minX = i == 0 ? points[i].X : std::min<int64_t>(minX, points[i].X);
            maxX = i == 0 ? points[i].X : std::max<int64_t>(maxX, points[i].X);
            minY = i == 0 ? points[i].Y : std::min<int64_t>(minY, points[i].Y);
            maxY = i == 0 ? points[i].Y : std::max<int64_t>(maxY, points[i].Y);
        }
        // No two points lie further apart than the corners of their box.
        const long double width = static_cast<long double>(maxX - minX);
        const long double height = static_cast<long double>(maxY - minY);
        FDiameter = std::sqrt(width * width + height * height) * (1.0L + 1e-15L);
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
                                 (MaxInterimCertificates + 2) * CompleteTreeSteps(FCount));

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

    // The certified value of a 1-tree over all pairs under the penalties.
    void Certify(const TOneTree& oneTree, const std::vector<double>& penalties)
    {
        long double largestPenalty = 0;
        for (const double penalty : penalties)
            largestPenalty = std::max<long double>(largestPenalty, std::fabs(penalty));
        const long double n = FCount;
        const long double value = oneTree.Value;
        // Each computed edge weight lies within 4.1 units in the last place
        // of its length and penalties, and no true minimum tree can weigh
        // less than the computed one by more than its edges' errors; the
        // extended sums add their own error; and RouteLength itself may
        // come out below a route's true length by its legs' and sums'
        // rounding. Every factor carries some room.
        const long double margin = 4.5L * Epsilon * (n - 1) * (FDiameter + 2 * largestPenalty) +
                                   2.2L * (2 * n + 2) * ExtendedEpsilon * oneTree.Magnitude +
                                   1.1L * (n + 8) * Epsilon * std::fabs(value);
        const double certified = static_cast<double>(std::max(0.0L, value - margin));
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
        int32_t joined = 0;
        int32_t stepped = 0;
        const bool done = CompletePenaltyTree(FX, FY, penalties, tree, [&] {
            ++joined;
            const int32_t due = static_cast<int32_t>(static_cast<int64_t>(joined) * steps / FCount);
            const bool goOn = due > stepped ? FPacer.StepBy(due - stepped) : FPacer.Poll();
            stepped = due;
            return goOn;
        });
        FPacer.Recalibrate();
        return done;
    }

    // One 1-tree under the current penalties.
    bool Evaluate(TOneTree& oneTree)
    {
        if (Sparse()) {
            // A tree of ten thousand points takes milliseconds; the host gets
            // its events inside it too.
            if (!SparsePenaltyTree(FGraph, FPenalties, FTree, [this] { return FPacer.Poll(); }))
                return false;
        } else {
            CompletePenaltyTree(FX, FY, FPenalties, FTree, {});
        }
        oneTree = OneTreeOf(FTree, FPenalties);
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
        return Refine(result, best.Penalties);
    }

    // At zero penalties the tree is the plain minimum spanning tree: a first
    // certified value, and the edges that keep the candidate graph in one
    // piece.
    bool FirstTree(TOneTree& current)
    {
        if (!CompleteTree(FPenalties, FTree))
            return false;
        current = OneTreeOf(FTree, FPenalties);
        Certify(current, FPenalties);
        if (!Sparse())
            return true;
        std::vector<std::pair<int32_t, int32_t>> treeEdges;
        for (int32_t i = 0; i < FCount; ++i)
            if (FTree.Parents[i] >= 0)
                treeEdges.emplace_back(i, FTree.Parents[i]);
        if (!BuildCandidateGraph(FPoints, NeighbourCount, treeEdges, FGraph, [this] { return FPacer.Poll(); }))
            return false;
        // Sorting the edges takes milliseconds: the pacer reads its clock
        // after it.
        FPacer.Recalibrate();
        if (!FPacer.Poll() || !SparsePenaltyTree(FGraph, FPenalties, FTree, [this] { return FPacer.Poll(); }))
            return false;
        current = OneTreeOf(FTree, FPenalties);
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
            if (best.Uncertified && best.InterimCertificates < MaxInterimCertificates) {
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
        Certify(OneTreeOf(FTree, best.Penalties), best.Penalties);
        best.Uncertified = false;
        return true;
    }

    // A good route's length, the mark the refining steps aim at: the bound
    // can't pass the shortest route, and this one is a few per cent above.
    long double RouteTarget() const { return RouteLengthOfPoints(FPoints, QuickRoute(FPoints, -1)); }

    bool Refine(TLowerBound& result, const std::vector<double>& startPenalties)
    {
        const int32_t iterations = RefineIterations(FCount);
        if (iterations == 0 || FCount <= 2)
            return true;
        FComplete = true;
        FPenalties = startPenalties;
        TOneTree current;
        const int32_t maxIterations = result.Iterations + iterations;
        ++result.Iterations;
        if (!Evaluate(current))
            return false;
        long double bestValue = current.Value;
        const long double startValue = bestValue;
        std::vector<double> bestPenalties = FPenalties;
        std::vector<int32_t> lastSlopes = current.Slopes;
        const long double target = std::max<long double>(RouteTarget(), current.Value);
        const int32_t patience = Patience(FCount);
        long double factor = 2.0L;
        int32_t sinceBest = 0;
        long double valueAtHalving = bestValue;
        while (current.SquaredNorm != 0 && factor > MinStepFactor && result.Iterations < maxIterations) {
            const long double gap = std::max(target - current.Value, 1e-9L * std::fabs(target));
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
        return true;
    }

    // The caller's points, which outlive the ascent.
    const TPointArray& FPoints;
    int32_t FCount;
    TProgress& FProgress;
    TStepPacer FPacer;
    std::vector<double> FX;
    std::vector<double> FY;
    std::vector<double> FPenalties;
    long double FDiameter = 0;
    TCandidateGraph FGraph;
    TPenaltyTree FTree;
    double FBestCertified = -1.0;
    // Whether trees span all pairs (every value certified at once) rather
    // than the candidate graph.
    bool FComplete = true;
};

}  // namespace

TLowerBound ComputeLowerBound(const TPointArray& points, TProgress& progress, bool pumpEveryStep)
{
    progress.ShowStatus("Szacowanie dolnego ograniczenia...", 0);
    TLowerBound result;
    {
        TBoundAscent ascent(points, progress, pumpEveryStep);
        result = ascent.Run();
    }
    progress.ShowStatus("", 0);
    return result;
}
