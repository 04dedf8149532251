// What watching a search's best route costs the search: the exhaustive
// search over sets of twelve points and the local search over 1 000 points
// (a fixed number of tries), each run quiet and watched in turn, with the
// routes compared and the watched time as a ratio of the quiet one
// (target: at most 1.05).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/distances.h"
#include "core/progress.h"
#include "core/random_points.h"
#include "core/random_source.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/local/local_search.h"

namespace {

using TClock = std::chrono::steady_clock;

// A receiver that keeps a copy of every offer, as a window drawing the
// route would keep the latest one.
class TBenchProgress : public TProgress {
public:
    explicit TBenchProgress(TPointSetState& state, bool watching) : FState(state), FWatching(watching) {}
    void ShowStatus(const std::string&, int32_t) override {}
    TProgressBar& PrBar() override { return FBar; }
    void ProcessEvents() override {}
    bool GoOn() const override { return FState.FSearching; }
    bool WatchesRoutes() const override { return FWatching; }
    void OfferRoute(const TRouteOffer& offer) override
    {
        Kept = offer.Route;
        ++Offers;
    }

    TSpecimen Kept;
    int64_t Offers = 0;

private:
    TPointSetState& FState;
    bool FWatching;
    TProgressBar FBar;
};

std::vector<TPointSetState> Sets(int32_t count, int32_t n, uint32_t seed)
{
    std::vector<TPointSetState> sets(count);
    for (int32_t i = 0; i < count; ++i) {
        SetReseedClock([seed, i] { return seed + static_cast<uint32_t>(i); });
        DrawRandomPoints(sets[i].FPoints, n, 1000, 1000);
        TBenchProgress quiet(sets[i], false);
        ComputeDistances(sets[i].FPoints, sets[i].FDistances, quiet, 0);
    }
    SetReseedClock({});
    return sets;
}

// Seconds of one pass over the sets, and the routes found.
template <class TSearch>
double Pass(std::vector<TPointSetState>& sets, bool watching, std::vector<TSpecimen>& routes, int64_t& offers,
            const TSearch& search)
{
    routes.clear();
    const TClock::time_point start = TClock::now();
    for (TPointSetState& state : sets) {
        TBenchProgress progress(state, watching);
        state.FSearching = true;
        search(state, progress);
        state.FSearching = false;
        routes.push_back(state.FBestRoute);
        offers += progress.Offers;
    }
    return std::chrono::duration<double>(TClock::now() - start).count();
}

template <class TSearch>
void Compare(const char* name, std::vector<TPointSetState>& sets, int repeats, const TSearch& search)
{
    std::vector<double> quietTimes;
    std::vector<double> watchedTimes;
    std::vector<TSpecimen> quietRoutes;
    std::vector<TSpecimen> watchedRoutes;
    int64_t quietOffers = 0;
    int64_t watchedOffers = 0;
    for (int r = 0; r < repeats; ++r) {
        quietTimes.push_back(Pass(sets, false, quietRoutes, quietOffers, search));
        watchedTimes.push_back(Pass(sets, true, watchedRoutes, watchedOffers, search));
    }
    std::sort(quietTimes.begin(), quietTimes.end());
    std::sort(watchedTimes.begin(), watchedTimes.end());
    const double quiet = quietTimes[quietTimes.size() / 2];
    const double watched = watchedTimes[watchedTimes.size() / 2];
    std::printf(
        "%s: quiet %.3f s, watched %.3f s (median of %d), %lld offers; same routes: %s; "
        "ratio watched/quiet %.3f (target <= 1.05: %.2f of it)\n",
        name, quiet, watched, repeats, static_cast<long long>(watchedOffers / repeats),
        quietRoutes == watchedRoutes ? "yes" : "NO", watched / quiet, watched / quiet / 1.05);
}

}  // namespace

int main()
{
    std::vector<TPointSetState> twelve = Sets(40, 12, 1200);
    Compare("exhaustive, 40 sets of 12 points", twelve, 7, [](TPointSetState& state, TProgress& progress) {
        state.FBestRoute = SearchExhaustive(ProblemOfState(state, {}), progress, false, 1).Route;
    });

    std::vector<TPointSetState> thousand = Sets(1, 1000, 4100);
    TLocalParams params;
    params.StopByTime = false;
    params.Tries = 20000;
    Compare("local search, 1 000 points, 20 000 tries", thousand, 5, [&](TPointSetState& state, TProgress& progress) {
        SetReseedClock([] { return 77u; });
        state.FBestRoute = SearchLocal(ProblemOfState(state, {}), progress, params).Route;
        SetReseedClock({});
    });
    return 0;
}
