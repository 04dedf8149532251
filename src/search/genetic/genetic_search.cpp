#include "search/genetic/genetic_search.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/point_set.h"
#include "core/random_source.h"
#include "search/genetic/genetic_breeding.h"
#include "search/pace/step_pacer.h"
#include "search/random/free_stretch.h"
#include "search/random/random_search.h"

namespace {

// Both children of equal parents equal the parent, which is the usual case:
// selection then doubles every specimen.
bool SameRoute(const int32_t* a, const int32_t* b, int32_t n)
{
    return std::equal(a, a + n, b);
}

// One run of the genetic search: the populations, the best route, and a
// method per phase of a generation. The phases draw from the random source
// in a fixed order (crossover pairs, then mutations, then the slot for the
// kept best), which the results depend on. Every slot holds a whole route
// of the problem's kind; crossover and mutation act on its free stretch
// only, so the kind's fixed points never move.
class TGeneticRun {
public:
    TGeneticRun(const TRouteProblem& problem, TProgress& progress, const TGeneticParams& params, bool pumpEveryStep)
        : FProblem(problem),
          FProgress(progress),
          FParams(params),
          FPopulation(std::max(params.Population, MinPopulation)),
          FCount(problem.Count()),
          FWidth(static_cast<size_t>(FCount)),
          FStretch(FreeStretch(problem.Kind, FCount)),
          FRoundTrip(problem.Kind.RoundTrip && FCount > 1),
          FCurrent(FWidth * FPopulation),
          FNext(FWidth * FPopulation),
          FFitness(FPopulation),
          FChildA(FWidth),
          FChildB(FWidth),
          FMarker(FCount),
          FPacer(progress, pumpEveryStep)
    {
        for (int32_t r = 0; r < 10; ++r) {
            FCrossPasses[r] = RatePasses(r, params.CrossoverRate);
            FMutationPasses[r] = RatePasses(r, params.MutationRate);
        }
        FOutcome.Route.resize(FWidth);
        FPacer.SetRouteOffer([this] { FPacer.OfferRoute(FOutcome.Route, FBest); });
    }

    TSearchOutcome Run()
    {
        FillFirstPopulation();
        TProgressBar& bar = FProgress.PrBar();
        // A count below 1 stops after the first generation, as a maximum of
        // 0 does; a negative maximum would drag the bar's minimum down with it.
        bar.SetMax(FParams.StopByCount ? std::max(FParams.GenerationCount, 0) : 0);
        // Under the spread rule the count and spread are shown when the
        // window can show them, not once per generation.
        FPacer.SetBeforePump([this] { ShowCountAndSpread(); });
        const double threshold = static_cast<double>(static_cast<long double>(FParams.Treshold) / 1000.0L);
        for (;;) {
            Evaluate();
            Breed();
            ++FOutcome.Steps;
            if (!FParams.StopByCount) {
                ++FCounter;
                FStatusDue = true;
            }
            const bool goOn = FPacer.Step();
            FPacer.Flush();
            // The count rule reads the bar, which a point added on the map
            // meanwhile has set back to 0 with a new maximum.
            const bool done = FParams.StopByCount ? bar.Position() == bar.Max() : FSpread <= threshold;
            if (!goOn || done)
                break;
        }
        FPacer.SetBeforePump({});
        return FOutcome;
    }

private:
    void FillFirstPopulation()
    {
        TSpecimen slot(FWidth);
        for (int32_t i = 0; i < FPopulation; ++i) {
            RandomStretchRoute(FStretch, slot);
            std::copy(slot.begin(), slot.end(), Slot(FCurrent, i));
            FPacer.Poll();
        }
        FPacer.Recalibrate();
    }

    // The lengths of the population, the best route among them, and the
    // fitness that selection reads.
    void Evaluate()
    {
        for (int32_t i = 0; i < FPopulation; ++i) {
            const int32_t* route = Slot(FCurrent, i);
            const double length = SlotLength(route);
            FFitness[i] = length;
            if (length < FBest || FBest == -1.0) {
                FBest = length;
                std::copy_n(route, FWidth, FOutcome.Route.begin());
                FOutcome.Evaluated = true;
                FPacer.Improved();
            }
        }
        const long double sum = LengthSum(FFitness.data(), FPopulation);
        FSpread = LengthSpread(FFitness.data(), FPopulation);
        LengthsToFitness(FFitness.data(), FPopulation, sum);
    }

    // Selection into the next population, crossover of neighbouring pairs,
    // mutation, and the best route put back when asked for.
    void Breed()
    {
        SelectByFitness(FCurrent.data(), FFitness.data(), FPopulation, FCount, FNext.data());
        CrossPairs();
        Mutate();
        // Selection writes every slot of next, so next can take the old
        // population's storage.
        FCurrent.swap(FNext);
        if (FParams.SecureBad) {
            const int32_t u = RandomBelow(FPopulation);
            std::copy(FOutcome.Route.begin(), FOutcome.Route.end(), Slot(FCurrent, u));
        }
    }

    void CrossPairs()
    {
        const int32_t n = FStretch.Count;
        // Two different cut points below n - 2 need four free points.
        if (n < 4)
            return;
        for (int32_t pos = 0; pos + 1 <= FPopulation - 1; pos += 2) {
            if (!FCrossPasses[RandomBelow(10)])
                continue;
            int32_t a;
            int32_t b;
            do {
                a = RandomBelow(n - 2);
                b = RandomBelow(n - 2);
            } while (a == b);
            int32_t* parentA = Slot(FNext, pos) + FStretch.First;
            int32_t* parentB = parentA + FWidth;
            if (SameRoute(parentA, parentB, n))
                continue;
            OrderCrossover(parentA, parentB, n, std::min(a, b), std::max(a, b), FChildA.data(), FChildB.data(),
                           FMarker);
            std::copy_n(FChildA.begin(), n, parentA);
            std::copy_n(FChildB.begin(), n, parentB);
        }
    }

    void Mutate()
    {
        const int32_t n = FStretch.Count;
        // An exchange needs two free points.
        if (n < 2)
            return;
        for (int32_t i = 0; i < FPopulation; ++i) {
            if (!FMutationPasses[RandomBelow(10)])
                continue;
            int32_t a;
            int32_t b;
            do {
                a = RandomBelow(n);
                b = RandomBelow(n);
            } while (a == b);
            int32_t* route = Slot(FNext, i) + FStretch.First;
            SwapValues(route[a], route[b]);
        }
    }

    void ShowCountAndSpread()
    {
        if (!FStatusDue)
            return;
        FStatusDue = false;
        std::string text = "(";
        text += std::to_string(FCounter);
        text += ") ";
        text += FormatNumber(FSpread, 2, FProgress.NumberFormat());
        FProgress.ShowStatus(text, 0);
    }

    int32_t* Slot(std::vector<int32_t>& population, int32_t i) { return population.data() + i * FWidth; }

    // The problem's length of a slot, from the table when the problem has
    // one: RouteLength, and a round trip's way back added last.
    double SlotLength(const int32_t* route) const
    {
        double sum = 0.0;
        if (FProblem.HasTable())
            sum = RouteLength(FProblem.Distances, route, FWidth);
        else
            for (size_t i = 0; i + 1 < FWidth; ++i)
                sum = AddLeg(sum, FProblem.Measure.Leg(route[i], route[i + 1]));
        if (FRoundTrip)
            sum = AddLeg(sum, FProblem.Leg(route[FWidth - 1], route[0]));
        return sum;
    }

    const TRouteProblem& FProblem;
    TProgress& FProgress;
    const TGeneticParams& FParams;
    const int32_t FPopulation;
    const int32_t FCount;
    const size_t FWidth;
    const TFreeStretch FStretch;
    const bool FRoundTrip;
    std::vector<int32_t> FCurrent;
    std::vector<int32_t> FNext;
    std::vector<double> FFitness;
    std::vector<int32_t> FChildA;
    std::vector<int32_t> FChildB;
    TSegmentMarker FMarker;
    bool FCrossPasses[10];
    bool FMutationPasses[10];
    TStepPacer FPacer;
    TSearchOutcome FOutcome;
    double FBest = -1.0;
    double FSpread = 0.0;
    int64_t FCounter = 0;
    bool FStatusDue = false;
};

}  // namespace

TSearchOutcome SearchGenetic(const TRouteProblem& problem, TProgress& progress, const TGeneticParams& params,
                             bool pumpEveryStep)
{
    progress.ShowStatus("Przeszukiwanie genetyczne...", 0);
    if (problem.Count() < MinGeneticPoints) {
        progress.ShowStatus("", 0);
        return {};
    }
    const TSearchOutcome outcome = TGeneticRun(problem, progress, params, pumpEveryStep).Run();
    progress.ShowStatus("", 0);
    return outcome;
}
