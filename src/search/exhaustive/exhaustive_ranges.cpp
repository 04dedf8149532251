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

template <bool Framed>
struct TRangeWorker {
    TRangeWorker(const TDistanceMatrix& distances, const TRouteFrame& frame, const std::atomic<bool>& stop,
                 std::atomic<double>& shared, TPublishedBest* published)
        : Route(frame.Count), Stepper(Done, stop), Scan(distances, frame, Stepper, Route)
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
    TExhaustiveScan<TRangeStepper, Framed> Scan;
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

namespace {

// The ranges shared among worker threads: handed out in order, the
// shortest length found so far for every worker to see, and the count of
// finished workers that the calling thread waits on while it steps the bar
// and lets events run. Framed: whether the frame fixes any point.
template <bool Framed>
class TRangeSearch {
public:
    TRangeSearch(const TDistanceMatrix& distances, const TRouteFrame& frame, TStepPacer& pacer)
        : FDistances(distances),
          FFrame(frame),
          FDepth(ExhaustiveRangeDepth(frame.FreeCount())),
          FRanges(ExhaustiveRangeCount(frame.FreeCount())),
          FPacer(pacer)
    {
    }

    // The steps decided, or -1 when no worker could start.
    int64_t Run(int32_t threads, TSpecimen& bestRoute)
    {
        TCandidate best = StartingBest(bestRoute);
        FShared.store(best.Length);
        FPublished.Route = bestRoute;
        FPublished.Length = best.Length;
        TPublishedBest* const watched = FPacer.WatchesRoutes() ? &FPublished : nullptr;
        const int32_t count = static_cast<int32_t>(std::min<int64_t>(threads, FRanges));
        for (int32_t w = 0; w < count; ++w)
            FWorkers.push_back(std::make_unique<TRangeWorker<Framed>>(FDistances, FFrame, FStop, FShared, watched));
        if (!RunWorkers())
            return -1;
        for (const auto& worker : FWorkers) {
            if (!worker->Scan.HasBest())
                continue;
            const TCandidate candidate{worker->Scan.Best(), FFrame.Position(worker->Route)};
            if (Before(candidate, best)) {
                best = candidate;
                bestRoute = worker->Route;
            }
        }
        return Decided();
    }

private:
    // Two routes are evaluated before the workers start: the first of the
    // counting order, as with one thread, and a quick guess at the
    // shortest. Without the guess every range but the first would start
    // from a poor best and look at far more than one thread does.
    TCandidate StartingBest(TSpecimen& bestRoute) const
    {
        FFrame.Decode(0, bestRoute);
        TCandidate best{FFrame.Length(FDistances, bestRoute), 0};
        const TSpecimen guess = GuessShortRoute(FDistances, FFrame);
        const TCandidate guessed{FFrame.Length(FDistances, guess), FFrame.Position(guess)};
        if (Before(guessed, best)) {
            best = guessed;
            bestRoute = guess;
        }
        return best;
    }

    void Work(TRangeWorker<Framed>& worker)
    {
        for (int64_t range = FNextRange.fetch_add(1); range < FRanges; range = FNextRange.fetch_add(1))
            if (!worker.Scan.RunRange(range, FDepth))
                break;
        std::lock_guard<std::mutex> lock(FMutex);
        ++FFinished;
        FFinishedChanged.notify_one();
    }

    int64_t Decided() const
    {
        int64_t steps = 0;
        for (const auto& worker : FWorkers)
            steps += worker->Done.load(std::memory_order_relaxed);
        return steps;
    }

    // Starts the workers and watches them until they are done; false when
    // none would start.
    bool RunWorkers()
    {
        std::vector<std::jthread> threadsRunning;
        // Declared after the threads, so it ends first: whatever leaves this
        // block, the workers are told to stop before they are joined.
        struct TStopOnExit {
            std::atomic<bool>& Stop;
            ~TStopOnExit() { Stop.store(true); }
        } stopOnExit{FStop};
        int32_t started = 0;
        for (auto& worker : FWorkers) {
            try {
                threadsRunning.emplace_back([this, &worker] { Work(*worker); });
            } catch (const std::system_error&) {
                break;
            }
            ++started;
        }
        if (started == 0)
            return false;

        TSpecimen offered;
        FPacer.SetRouteOffer([&] {
            {
                const std::lock_guard<std::mutex> guard(FPublished.Mutex);
                offered = FPublished.Route;
            }
            FPacer.OfferRoute(offered, FFrame.Length(FDistances, offered));
        });
        FPacer.Improved();
        const int64_t reported = Watch(started);
        threadsRunning.clear();
        FPacer.Count(Decided() - reported);
        FPacer.SetRouteOffer({});
        return true;
    }

    // Every millisecond until the workers are done: the bar stepped by the
    // routes decided, a new best route marked for the watcher, and the stop
    // passed on. Returns the steps reported.
    int64_t Watch(int32_t started)
    {
        int64_t reported = 0;
        const bool watched = FPacer.WatchesRoutes();
        std::unique_lock<std::mutex> lock(FMutex);
        // At least one report, so that however fast the workers are, events
        // get their turn and a watcher sees the route they started from.
        do {
            FFinishedChanged.wait_for(lock, WatchInterval, [&] { return FFinished == started; });
            lock.unlock();
            const int64_t steps = Decided();
            if (watched) {
                const std::lock_guard<std::mutex> guard(FPublished.Mutex);
                if (std::exchange(FPublished.Changed, false))
                    FPacer.Improved();
            }
            if (!FStop.load(std::memory_order_relaxed)) {
                if (!FPacer.StepBy(steps - reported))
                    FStop.store(true, std::memory_order_relaxed);
                reported = steps;
            }
            lock.lock();
        } while (FFinished < started);
        return reported;
    }

    const TDistanceMatrix& FDistances;
    const TRouteFrame& FFrame;
    const int32_t FDepth;
    const int64_t FRanges;
    TStepPacer& FPacer;
    std::atomic<double> FShared{0.0};
    std::atomic<bool> FStop{false};
    std::atomic<int64_t> FNextRange{0};
    std::mutex FMutex;
    std::condition_variable FFinishedChanged;
    int32_t FFinished = 0;
    TPublishedBest FPublished;
    std::vector<std::unique_ptr<TRangeWorker<Framed>>> FWorkers;
};

}  // namespace

int64_t SearchExhaustiveRanges(const TDistanceMatrix& distances, const TRouteFrame& frame, int32_t threads,
                               TStepPacer& pacer, TSpecimen& bestRoute)
{
    if (ExhaustiveRangeCount(frame.FreeCount()) == 0 || threads < 1)
        return -1;
    if (frame.FixesPoints())
        return TRangeSearch<true>(distances, frame, pacer).Run(threads, bestRoute);
    return TRangeSearch<false>(distances, frame, pacer).Run(threads, bestRoute);
}
