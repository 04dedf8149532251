#include "search/genetic/genetic_search.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/point_set.h"
#include "core/random_source.h"
#include "search/genetic/genetic_breeding.h"
#include "search/random/random_search.h"
#include "search/run/step_pacer.h"

namespace {

// Both children of equal parents equal the parent, which is the usual case:
// selection then doubles every specimen.
bool SameRoute(const int32_t* a, const int32_t* b, int32_t n)
{
    return std::equal(a, a + n, b);
}

}  // namespace

TSearchOutcome SearchGenetic(TPointSetState& state, TProgress& progress, const TGeneticParams& params,
                             bool pumpEveryStep)
{
    const int32_t population = std::max(params.Population, MinPopulation);
    const int32_t n = static_cast<int32_t>(state.FPoints.size());
    TSearchOutcome outcome;
    progress.ShowStatus("Przeszukiwanie genetyczne...", 0);
    if (n < MinGeneticPoints) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    const size_t width = static_cast<size_t>(n);
    std::vector<int32_t> current(width * population);
    std::vector<int32_t> next(width * population);
    std::vector<double> fitness(population);
    std::vector<int32_t> childA(width);
    std::vector<int32_t> childB(width);
    TSegmentMarker marker(n);
    bool crossPasses[10];
    bool mutationPasses[10];
    for (int32_t r = 0; r < 10; ++r) {
        crossPasses[r] = RatePasses(r, params.CrossoverRate);
        mutationPasses[r] = RatePasses(r, params.MutationRate);
    }

    double best = -1.0;
    const double threshold = static_cast<double>(static_cast<long double>(params.Treshold) / 1000.0L);
    state.FBestRoute.resize(width);

    TStepPacer pacer(progress, pumpEveryStep);
    pacer.SetRouteOffer([&] { pacer.OfferRoute(state.FBestRoute, best); });
    TSpecimen slot(width);
    for (int32_t i = 0; i < population; ++i) {
        RandomRoute(slot);
        std::copy(slot.begin(), slot.end(), current.begin() + i * width);
        pacer.Poll();
    }
    pacer.Recalibrate();

    TProgressBar& bar = progress.PrBar();
    // A count below 1 stops after the first generation, as a maximum of 0
    // does; a negative maximum would drag the bar's minimum down with it.
    bar.SetMax(params.StopByCount ? std::max(params.GenerationCount, 0) : 0);
    int64_t counter = 0;
    double spread = 0.0;
    bool statusDue = false;
    // Under the spread rule the count and spread are shown when the window
    // can show them, not once per generation.
    pacer.SetBeforePump([&] {
        if (!statusDue)
            return;
        statusDue = false;
        std::string text = "(";
        text += std::to_string(counter);
        text += ") ";
        text += FormatNumber(spread, 2, progress.NumberFormat());
        progress.ShowStatus(text, 0);
    });

    for (;;) {
        const TDistanceMatrix& distances = state.FDistances;
        for (int32_t i = 0; i < population; ++i) {
            const int32_t* route = current.data() + i * width;
            const double length = RouteLength(distances, route, width);
            fitness[i] = length;
            if (length < best || best == -1.0) {
                best = length;
                std::copy_n(route, width, state.FBestRoute.begin());
                outcome.Evaluated = true;
                pacer.Improved();
            }
        }
        const long double sum = LengthSum(fitness.data(), population);
        spread = LengthSpread(fitness.data(), population);
        LengthsToFitness(fitness.data(), population, sum);
        SelectByFitness(current.data(), fitness.data(), population, n, next.data());

        for (int32_t pos = 0; pos + 1 <= population - 1; pos += 2) {
            if (!crossPasses[RandomBelow(10)])
                continue;
            int32_t a;
            int32_t b;
            do {
                a = RandomBelow(n - 2);
                b = RandomBelow(n - 2);
            } while (a == b);
            int32_t* parentA = next.data() + pos * width;
            int32_t* parentB = parentA + width;
            if (SameRoute(parentA, parentB, n))
                continue;
            OrderCrossover(parentA, parentB, n, std::min(a, b), std::max(a, b), childA.data(), childB.data(), marker);
            std::copy(childA.begin(), childA.end(), parentA);
            std::copy(childB.begin(), childB.end(), parentB);
        }

        for (int32_t i = 0; i < population; ++i) {
            if (!mutationPasses[RandomBelow(10)])
                continue;
            int32_t a;
            int32_t b;
            do {
                a = RandomBelow(n);
                b = RandomBelow(n);
            } while (a == b);
            int32_t* route = next.data() + i * width;
            SwapValues(route[a], route[b]);
        }

        // Selection writes every slot of next, so next can take the old
        // population's storage.
        current.swap(next);
        if (params.SecureBad) {
            const int32_t u = RandomBelow(population);
            std::copy(state.FBestRoute.begin(), state.FBestRoute.end(), current.begin() + u * width);
        }

        ++outcome.Steps;
        if (!params.StopByCount) {
            ++counter;
            statusDue = true;
        }
        const bool goOn = pacer.Step();
        pacer.Flush();
        // The count rule reads the bar, which a point added on the map
        // meanwhile has set back to 0 with a new maximum.
        const bool done = params.StopByCount ? bar.Position() == bar.Max() : spread <= threshold;
        if (!goOn || done)
            break;
    }
    pacer.SetBeforePump({});
    progress.ShowStatus("", 0);
    return outcome;
}
