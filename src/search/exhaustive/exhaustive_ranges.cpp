#include "search/exhaustive/exhaustive_ranges.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "search/exhaustive/exhaustive_scan.h"
#include "search/exhaustive/route_guess.h"

namespace {

using namespace std::chrono_literals;

// How often the calling thread looks at the workers' counts; the pacer
// decides from there when events run.
constexpr auto WatchInterval = 1ms;

// The shortest route any worker has found, kept for a progress that
// watches routes: workers write it when they improve (a few times a run),
// the calling thread reads it when the pacer offers a route.
struct TPublishedBest {
    std::mutex Mutex;
    TSpecimen Route;
    double Length = 0.0;
    bool Changed = false;
};

// What a worker steps: its own count, read by the calling thread, and the
// stop that the calling thread raises, looked at with every step and every
// floor: a worker never goes more than a fraction of a millisecond without.
class TRangeStepper {
public:
    TRangeStepper(std::atomic<int64_t>& done, const std::atomic<bool>& stop) : FDone(done), FStop(stop) {}

    // Runs on every improvement of the worker's best; empty unless someone
    // watches routes.
    std::function<void()> OnImproved;
    void Improved()
    {
        if (OnImproved)
            OnImproved();
    }

    bool Step() { return StepBy(1); }
    bool StepBy(int64_t steps)
    {
        FSteps += steps;
        FDone.store(FSteps, std::memory_order_relaxed);
        return !FStop.load(std::memory_order_relaxed);
    }
    bool Weigh(int64_t) { return !FStop.load(std::memory_order_relaxed); }

private:
    std::atomic<int64_t>& FDone;
    const std::atomic<bool>& FStop;
    int64_t FSteps = 0;
};

struct TRangeWorker {
    TRangeWorker(const TDistanceMatrix& distances, int32_t n, const std::atomic<bool>& stop,
                 std::atomic<double>& shared, TPublishedBest* published)
        : Route(n), Stepper(Done, stop), Scan(distances, n, Stepper, Route)
    {
        Scan.ShareBest(shared);
        if (published == nullptr)
            return;
        Stepper.OnImproved = [this, published] {
            const std::lock_guard<std::mutex> lock(published->Mutex);
            if (Scan.Best() < published->Length) {
                published->Route = Route;
                published->Length = Scan.Best();
                published->Changed = true;
            }
        };
    }

    // Its own cache line: the calling thread reads it while others write.
    alignas(64) std::atomic<int64_t> Done{0};
    TSpecimen Route;
    TRangeStepper Stepper;
    TExhaustiveScan<TRangeStepper> Scan;
};

struct TCandidate {
    double Length = 0.0;
    int64_t Position = 0;
};

bool Before(const TCandidate& a, const TCandidate& b)
{
    return a.Length < b.Length || (a.Length == b.Length && a.Position < b.Position);
}

}  // namespace

int32_t ExhaustiveRangeDepth(int32_t n)
{
    // The scan below a range needs five free positions; three fixed ones
    // give a few thousand ranges at twenty points, enough to even out
    // subtrees that the floors cut to very different sizes.
    return std::clamp(n - 5, 0, 3);
}

int64_t ExhaustiveRangeCount(int32_t n)
{
    const int32_t depth = ExhaustiveRangeDepth(n);
    return depth == 0 ? 0 : Factorial(n) / Factorial(n - depth);
}

int64_t SearchExhaustiveRanges(const TDistanceMatrix& distances, int32_t n, int32_t threads, TStepPacer& pacer,
                               TSpecimen& bestRoute)
{
    const int32_t depth = ExhaustiveRangeDepth(n);
    const int64_t ranges = ExhaustiveRangeCount(n);
    if (ranges == 0 || threads < 1)
        return -1;

    // Two routes are evaluated before the workers start: the first of the
    // counting order, as with one thread, and a quick guess at the
    // shortest. Without the guess every range but the first would start
    // from a poor best and look at far more than one thread does.
    bestRoute.resize(n);
    for (int32_t i = 0; i < n; ++i)
        bestRoute[i] = (i + 1) % n;
    TCandidate best{RouteLength(distances, bestRoute), 0};
    const TSpecimen guess = GuessShortRoute(distances, n);
    const TCandidate guessed{RouteLength(distances, guess), CountingPosition(guess)};
    if (Before(guessed, best)) {
        best = guessed;
        bestRoute = guess;
    }
    std::atomic<double> shared(best.Length);
    std::atomic<bool> stop(false);
    std::atomic<int64_t> nextRange(0);
    std::mutex mutex;
    std::condition_variable finishedChanged;
    int32_t finished = 0;

    TPublishedBest published;
    published.Route = bestRoute;
    published.Length = best.Length;
    TPublishedBest* const watched = pacer.WatchesRoutes() ? &published : nullptr;
    const int32_t count = static_cast<int32_t>(std::min<int64_t>(threads, ranges));
    std::vector<std::unique_ptr<TRangeWorker>> workers;
    for (int32_t w = 0; w < count; ++w)
        workers.push_back(std::make_unique<TRangeWorker>(distances, n, stop, shared, watched));

    auto work = [&](TRangeWorker& worker) {
        for (int64_t range = nextRange.fetch_add(1); range < ranges; range = nextRange.fetch_add(1))
            if (!worker.Scan.RunRange(range, depth))
                break;
        std::lock_guard<std::mutex> lock(mutex);
        ++finished;
        finishedChanged.notify_one();
    };
    auto decided = [&] {
        int64_t steps = 0;
        for (const auto& worker : workers)
            steps += worker->Done.load(std::memory_order_relaxed);
        return steps;
    };

    int32_t started = 0;
    {
        std::vector<std::jthread> threadsRunning;
        // Declared after the threads, so it ends first: whatever leaves this
        // block, the workers are told to stop before they are joined.
        struct TStopOnExit {
            std::atomic<bool>& Stop;
            ~TStopOnExit() { Stop.store(true); }
        } stopOnExit{stop};
        for (auto& worker : workers) {
            try {
                threadsRunning.emplace_back(work, std::ref(*worker));
            } catch (const std::system_error&) {
                break;
            }
            ++started;
        }
        if (started == 0)
            return -1;

        TSpecimen offered;
        pacer.SetRouteOffer([&] {
            {
                const std::lock_guard<std::mutex> guard(published.Mutex);
                offered = published.Route;
            }
            pacer.OfferRoute(offered, RouteLength(distances, offered));
        });
        pacer.Improved();

        int64_t reported = 0;
        std::unique_lock<std::mutex> lock(mutex);
        // At least one report, so that however fast the workers are, events
        // get their turn and a watcher sees the route they started from.
        do {
            finishedChanged.wait_for(lock, WatchInterval, [&] { return finished == started; });
            lock.unlock();
            const int64_t steps = decided();
            if (watched != nullptr) {
                const std::lock_guard<std::mutex> guard(watched->Mutex);
                if (std::exchange(watched->Changed, false))
                    pacer.Improved();
            }
            if (!stop.load(std::memory_order_relaxed)) {
                if (!pacer.StepBy(steps - reported))
                    stop.store(true, std::memory_order_relaxed);
                reported = steps;
            }
            lock.lock();
        } while (finished < started);
        lock.unlock();
        threadsRunning.clear();
        pacer.Count(decided() - reported);
        pacer.SetRouteOffer({});
    }

    for (const auto& worker : workers) {
        if (!worker->Scan.HasBest())
            continue;
        const TCandidate candidate{worker->Scan.Best(), CountingPosition(worker->Route)};
        if (Before(candidate, best)) {
            best = candidate;
            bestRoute = worker->Route;
        }
    }
    return decided();
}
