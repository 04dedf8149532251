#include "search/random/random_search.h"

#include <algorithm>
#include <vector>

#include "core/point_set.h"
#include "core/random_source.h"
#include "search/pace/step_pacer.h"
#include "search/random/free_stretch.h"

void RandomRoute(TSpecimen& route)
{
    const int32_t n = static_cast<int32_t>(route.size());
    for (int32_t& entry : route)
        entry = -1;
    ReseedFromClock();
    for (int32_t value = 0; value < n; ++value) {
        // The hunt for a free entry starts after the drawn one, not at it.
        int32_t j = RandomBelow(n);
        do {
            ++j;
            if (j > n - 1)
                j = 0;
        } while (route[j] != -1);
        route[j] = value;
    }
}

namespace {

// The length of the walk's route, measured again only from the first leg an
// exchange touched: the legs and the running sums before it stand, and
// adding the rest in the same order gives RouteLength's bits. A round
// trip's way back is added last, as the problem's length adds it.
class TWalkLength {
public:
    TWalkLength(const TRouteProblem& problem, const TSpecimen& route)
        : FProblem(problem),
          FRoute(route),
          FRoundTrip(problem.Kind.RoundTrip && route.size() > 1),
          FLegs(route.size() > 1 ? route.size() - 1 : 0),
          FSums(FLegs.size())
    {
        for (size_t i = 0; i < FLegs.size(); ++i)
            FLegs[i] = Leg(i);
    }

    // Entries p and p + 1 were exchanged.
    void Exchanged(size_t p)
    {
        const size_t from = p > 0 ? p - 1 : 0;
        for (size_t i = from; i <= p + 1 && i < FLegs.size(); ++i)
            FLegs[i] = Leg(i);
        if (from < FDirty)
            FDirty = from;
    }

    double Length()
    {
        double sum = FDirty > 0 ? FSums[FDirty - 1] : 0.0;
        for (size_t i = FDirty; i < FLegs.size(); ++i) {
            sum = AddLeg(sum, FLegs[i]);
            FSums[i] = sum;
        }
        FDirty = FLegs.size();
        if (FRoundTrip)
            return AddLeg(sum, FProblem.Leg(FRoute.back(), FRoute.front()));
        return sum;
    }

private:
    double Leg(size_t i) const { return FProblem.Leg(FRoute[i], FRoute[i + 1]); }

    const TRouteProblem& FProblem;
    const TSpecimen& FRoute;
    const bool FRoundTrip;
    std::vector<double> FLegs;
    std::vector<double> FSums;
    size_t FDirty = 0;
};

}  // namespace

TSearchOutcome SearchRandom(const TRouteProblem& problem, TProgress& progress, int32_t tries, bool pumpEveryStep)
{
    progress.ShowStatus("Przeszukiwanie losowe...", 0);
    const int32_t n = problem.Count();
    TSearchOutcome outcome;
    if (n < MinRandomPoints) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    // The walk exchanges neighbours inside the kind's free stretch only; for
    // the open route with free ends that is the whole route.
    const TFreeStretch stretch = FreeStretch(problem.Kind, n);
    const int32_t first = stretch.First;
    const int32_t free = stretch.Count;
    TSpecimen route(n);
    RandomStretchRoute(stretch, route);
    double best = -1.0;
    int32_t sweep = 0;
    // A count typed below the control's minimum runs no try; a negative
    // maximum would drag the bar's minimum down with it.
    progress.PrBar().SetMax(std::max(tries, 0));

    TStepPacer pacer(progress, pumpEveryStep);
    pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, best); });
    TWalkLength walk(problem, route);
    for (int32_t t = 0; t < tries; ++t) {
        const double length = walk.Length();
        outcome.Evaluated = true;
        ++outcome.Steps;
        if (length < best || best == -1.0) {
            best = length;
            outcome.Route = route;
            pacer.Improved();
            // The sweep wraps at N - 2, so after an improvement the last
            // pair is never exchanged (with two free points, the one pair is).
            ++sweep;
            if (sweep == free - 2 || sweep + 1 >= free)
                sweep = 0;
            if (free >= 2) {
                SwapValues(route[first + sweep], route[first + sweep + 1]);
                walk.Exchanged(first + sweep);
            }
        } else if (free >= 2) {
            const int32_t k = first + RandomBelow(free - 1);
            SwapValues(route[k], route[k + 1]);
            walk.Exchanged(k);
        }
        if (!pacer.Step())
            break;
    }
    pacer.Flush();
    outcome.WorkingRoute = route;
    progress.ShowStatus("", 0);
    return outcome;
}
