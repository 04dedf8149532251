#include "search/local/part_rounds.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "search/local/kick_walk.h"
#include "search/local/random_stream.h"
#include "search/local/route_merge.h"
#include "search/local/route_parts.h"

namespace {

using TClock = std::chrono::steady_clock;

// Kicks per point of a walk of the whole route in a round, under the count
// rule or where the cheaper moves settle kicks (see FChainSettling). At 1 000
// points in 2 s, rounds of 1, 5, 20 and 100 kicks a point came out 0.96 %,
// 0.72 %, 0.76 % and 0.71 % above the bound: a round must leave room for
// the walk's restarts.
constexpr int64_t WalkKicksPerPoint = 5;
// Rounds a run of the time rule is cut into, so that the cuts move often
// enough for every stretch to be worked on away from an end of its part.
constexpr double RoundsPerRun = 10.0;
constexpr double MinRoundSeconds = 0.05;
constexpr double MaxRoundSeconds = 10.0;
// Polls of a part's walk between readings of the clock or the stop.
constexpr int32_t PollsPerLook = 64;

// Of a count of kicks, the share of the part that ends at place last of a
// route of n places, less the share of the parts before.
int64_t ShareOf(int64_t kicks, int64_t first, int64_t last, int64_t n)
{
    return kicks * last / n - kicks * first / n;
}

class TRounds {
public:
    TRounds(const TRouteProblem& problem, const TLegMeter& legs, const TRoundsPlan& plan, TStepPacer& pacer)
        : FProblem(problem),
          FLegs(legs),
          FPlan(plan),
          FPacer(pacer),
          FChainSettling(problem.Count() >= ChainSettlingMinPoints)
    {
    }

    TSpecimen Run(TSpecimen route, int64_t& kicks)
    {
        const int32_t n = static_cast<int32_t>(route.size());
        const int32_t threads = std::max(1, FPlan.Threads);
        const int32_t partCount = std::max(threads, (n + MaxPartPoints - 1) / MaxPartPoints);
        const bool byCount = FPlan.Tries >= 0;
        const double roundSeconds = std::clamp(FPlan.Seconds / RoundsPerRun, MinRoundSeconds, MaxRoundSeconds);
        // Under the count rule a round of parts makes about a fortieth of
        // the kicks, and at least one for every point; a round of walks of
        // the whole route as many for every point as WalkKicksPerPoint, on
        // every thread, unless the walks are timed (see FChainSettling).
        const int64_t partKicks = byCount ? std::max<int64_t>(n, FPlan.Tries / 40) : 0;
        const int64_t walkKicks = WalkKicksPerPoint * n * threads;
        bool construct = FPlan.Construct;
        double length = FProblem.Length(route);
        FPacer.SetRouteOffer([&] { FPacer.OfferRoute(route, length); });
        for (int32_t round = 0; !FStop.load(); ++round) {
            const int64_t left = FPlan.Tries - FKicks.load();
            if (byCount && left <= 0 && !construct)
                break;
            const int32_t size = (n + partCount - 1) / partCount;
            // The golden share moves the cuts far from all cuts before.
            const int32_t offset = static_cast<int32_t>(static_cast<int64_t>(round) * size * 618 / 1000 % size);
            FWhole = FPlan.WholeWalks && FPlan.Lists != nullptr && !construct;
            FParts = FWhole ? std::vector<TRoutePart>(static_cast<size_t>(threads), TRoutePart{route})
                            : CutRoute(route, FProblem.Kind, partCount, offset);
            const int64_t roundKicks = FWhole ? walkKicks : partKicks;
            const int64_t thisRound = byCount ? std::min(left, roundKicks) : roundKicks;
            FWork.assign(FParts.size(), {});
            int64_t place = 0;
            for (size_t k = 0; k < FParts.size(); ++k) {
                const int64_t m = static_cast<int64_t>(FParts[k].Points.size());
                TPartWork& work = FWork[k];
                work.Construct = construct;
                work.Candidates = FPlan.Lists;
                work.Penalties = FPlan.Penalties;
                work.Seed = StreamSeed(FPlan.Seed, static_cast<uint64_t>(round) << 20 | k);
                if (byCount || FWhole) {
                    const int64_t share = FWhole ? ShareOf(thisRound, static_cast<int64_t>(k), k + 1, threads)
                                                 : ShareOf(thisRound, place, place + m, n);
                    work.Next = [this, share](int64_t done) { return done < share && !FStop.load(); };
                }
                place += m;
            }
            // Under the time rule each part gets its share of the round's
            // time from when it starts; a part that builds its route gets
            // its time after that.
            FSliceSeconds = roundSeconds * threads / static_cast<double>(FParts.size());
            RunParts(threads);
            route = FWhole ? MergeWalks() : JoinParts(FParts);
            TurnToStart(route, FProblem.Kind);
            const double newLength = FProblem.Length(route);
            if (newLength < length) {
                length = newLength;
                FPacer.Improved();
            }
            construct = false;
            if (FPacer.PastDeadline())
                break;
        }
        FPacer.SetRouteOffer({});
        kicks = FKicks.load();
        if (byCount)
            FPacer.Count(kicks - FCounted);
        return route;
    }

private:
    // The ring of a route: an open route's with the gap, numbered n.
    std::vector<int32_t> RingOf(const TSpecimen& route) const
    {
        std::vector<int32_t> ring;
        if (!FProblem.Kind.RoundTrip)
            ring.push_back(static_cast<int32_t>(route.size()));
        ring.insert(ring.end(), route.begin(), route.end());
        return ring;
    }

    // The shortest walk, with the others merged into it part by part.
    TSpecimen MergeWalks()
    {
        std::vector<std::pair<double, size_t>> byLength;
        for (size_t k = 0; k < FParts.size(); ++k)
            byLength.emplace_back(FProblem.Length(FParts[k].Points), k);
        std::sort(byLength.begin(), byLength.end());
        const int32_t n = FLegs.Count();
        const TLegLength legOf = [this, n](int32_t a, int32_t b) { return a == n || b == n ? 0.0 : FLegs.Leg(a, b); };
        std::vector<int32_t> base = RingOf(FParts[byLength[0].second].Points);
        for (size_t k = 1; k < byLength.size(); ++k) {
            const TMergedRing merged =
                MergeRings(base, RingOf(FParts[byLength[k].second].Points), legOf, FLegs.Epsilon());
            if (!merged.Order.empty())
                base = merged.Order;
        }
        if (!FRing)
            FRing = std::make_unique<TLocalRing>(FLegs, *FPlan.Lists, FProblem.Kind);
        return FRing->RouteOf(base);
    }

    void RunParts(int32_t threads)
    {
        FNextPart = 0;
        FPartsDone = 0;
        std::vector<std::thread> workers;
        std::exception_ptr failure;
        const int32_t helpers = std::min<int32_t>(threads - 1, static_cast<int32_t>(FParts.size()) - 1);
        std::vector<std::exception_ptr> failures(static_cast<size_t>(std::max(helpers, 0)));
        for (int32_t t = 0; t < helpers; ++t) {
            workers.emplace_back([this, t, &failures] {
                try {
                    TakeParts(false);
                } catch (...) {
                    failures[static_cast<size_t>(t)] = std::current_exception();
                    FStop = true;
                }
            });
        }
        try {
            TakeParts(true);
        } catch (...) {
            failure = std::current_exception();
            FStop = true;
        }
        // The host's events run while the other threads finish; the pacer
        // learns the new pace of its calls, and the old one after.
        FPacer.Recalibrate();
        while (FPartsDone.load() < static_cast<int32_t>(FParts.size()) && !workers.empty()) {
            if (!PollHere())
                FStop = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        FPacer.Recalibrate();
        for (std::thread& worker : workers)
            worker.join();
        for (const std::exception_ptr& other : failures)
            if (other && !failure)
                failure = other;
        if (failure)
            std::rethrow_exception(failure);
    }

    // The calling thread's look at the host: the kicks made on every
    // thread go onto the bar, and the events run.
    bool PollHere()
    {
        const int64_t made = FKicks.load();
        if (FPlan.Tries >= 0 && made > FCounted) {
            FPacer.Count(made - FCounted);
            FCounted = made;
        }
        return FPacer.Poll();
    }

    void TakeParts(bool here)
    {
        int32_t countdown = PollsPerLook;
        const TLocalPoll poll = [&] {
            if (FStop.load(std::memory_order_relaxed))
                return false;
            if (here) {
                if (PollHere())
                    return true;
                FStop = true;
                return false;
            }
            if (--countdown > 0)
                return true;
            countdown = PollsPerLook;
            return !FPacer.PastDeadline();
        };
        for (;;) {
            const int32_t k = FNextPart.fetch_add(1);
            if (k >= static_cast<int32_t>(FParts.size()))
                return;
            // After a stop or the deadline the parts not begun stay as they are.
            if (FStop.load() || FPacer.PastDeadline()) {
                ++FPartsDone;
                continue;
            }
            TPartWork work = FWork[static_cast<size_t>(k)];
            const bool byTime = FPlan.Tries < 0 && (!FWhole || FChainSettling);
            TClock::time_point until;
            bool timed = false;
            int64_t counted = 0;
            const std::function<bool(int64_t)> byCount = work.Next;
            work.Next = [&](int64_t done) {
                FKicks += done - counted;
                counted = done;
                if (!poll())
                    return false;
                if (!byTime)
                    return byCount(done);
                // The part's time runs from its first kick.
                if (!timed) {
                    timed = true;
                    until = TClock::now() +
                            std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(FSliceSeconds));
                }
                return TClock::now() < until && !FPacer.PastDeadline();
            };
            int64_t made = 0;
            FParts[static_cast<size_t>(k)].Points =
                FWhole ? WalkWhole(FParts[static_cast<size_t>(k)].Points, work, poll, made)
                       : WalkPart(FLegs, FParts[static_cast<size_t>(k)], work, poll, made);
            FKicks += made - counted;
            ++FPartsDone;
        }
    }

    // A walk of kicks over the whole route, from route.
    TSpecimen WalkWhole(const TSpecimen& route, const TPartWork& work, const TLocalPoll& poll, int64_t& made) const
    {
        TLocalOptimiser optimiser(FLegs, *FPlan.Lists, FProblem.Kind, FPlan.Penalties);
        optimiser.SetChainsAlone(FChainSettling);
        optimiser.SetRoute(route);
        TRandomStream random(work.Seed);
        TKickWalk walk(optimiser, random);
        walk.SetChainSettling(FChainSettling);
        made = walk.Run(poll, work.Next, [] {});
        return optimiser.Route();
    }

    const TRouteProblem& FProblem;
    const TLegMeter& FLegs;
    const TRoundsPlan& FPlan;
    TStepPacer& FPacer;
    std::vector<TRoutePart> FParts;
    std::vector<TPartWork> FWork;
    double FSliceSeconds = 0.0;
    bool FWhole = false;
    // Whether chains settle the walks' kicks. Under the time rule such
    // walks of the whole route also have a round's time rather than its
    // kicks: they seldom restart within a run, and every round starts each
    // thread from the merged best, so threads gain from short rounds;
    // timed, no thread waits for another. With 10 s of processor time a
    // thread at 10 000 points (2 sets, 3 runs), 8 threads came out 0.94 %
    // above the bound in rounds of a tenth of the run, against 1.00 % in
    // one round (1 thread: 1.05 %); on 2 threads, level.
    const bool FChainSettling;
    std::unique_ptr<TLocalRing> FRing;
    std::atomic<int32_t> FNextPart{0};
    std::atomic<int32_t> FPartsDone{0};
    std::atomic<int64_t> FKicks{0};
    int64_t FCounted = 0;
    std::atomic<bool> FStop{false};
};

}  // namespace

TSpecimen RunPartRounds(const TRouteProblem& problem, const TLegMeter& legs, const TSpecimen& route,
                        const TRoundsPlan& plan, TStepPacer& pacer, int64_t& kicks)
{
    kicks = 0;
    TRounds rounds(problem, legs, plan, pacer);
    return rounds.Run(route, kicks);
}
