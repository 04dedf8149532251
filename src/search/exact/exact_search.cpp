#include "search/exact/exact_search.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/number_text.h"
#include "core/point_input.h"
#include "search/cut/cut_search.h"
#include "search/exact/branch_and_bound.h"
#include "search/exact/held_karp_table.h"
#include "search/exact/place_walks.h"
#include "search/exact/point_places.h"
#include "search/local/local_search.h"
#include "search/neighbours/plain_distance.h"
#include "search/pace/step_pacer.h"

namespace {

// A memory size for a refusal: one decimal and a decimal comma, in the
// largest unit that keeps the number below a thousand, megabytes at least.
std::string MemoryText(long double bytes)
{
    const char* const units[] = {"MB", "GB", "TB", "PB"};
    long double value = bytes / 1e6L;
    for (const char* unit : units) {
        if (value < 999.95L)
            return FormatNumber(static_cast<double>(value), 1, TNumberFormat{}) + " " + unit;
        value /= 1000.0L;
    }
    return "ponad 1000 PB";
}

long double TableBytesExtended(int32_t pointCount)
{
    return static_cast<long double>(pointCount) * std::ldexp(4.0L, pointCount);
}

// The threads that fill the table while the calling thread keeps the host
// going; none where the calling thread fills it alone.
int32_t WorkerCount(bool pumpEveryStep)
{
    const int32_t cores = static_cast<int32_t>(std::thread::hardware_concurrency());
    if (pumpEveryStep || cores < 2)
        return 0;
    return std::min(cores, 16);
}

// Fills the table layer by layer. Workers fill the blocks and watch the stop
// flag; the calling thread, every millisecond, steps the bar by the blocks
// finished and gives the host's events their turn, so the events keep their
// pace however long a block takes. Without workers the calling thread fills
// the blocks itself, with a step after each. Returns whether the table is
// complete.
bool FillTable(THeldKarpTable& table, TStepPacer& pacer, int32_t workers)
{
    const std::vector<uint32_t>& blocks = table.Blocks();
    size_t layerStart = 0;
    for (const size_t layerEnd : table.LayerEnds()) {
        std::atomic<size_t> next{layerStart};
        std::atomic<size_t> done{0};
        std::atomic<int32_t> working{0};
        std::atomic<bool> stop{false};
        size_t reported = 0;
        auto report = [&] {
            const size_t now = done.load();
            if (!pacer.StepBy(static_cast<int64_t>(now - reported)))
                stop = true;
            reported = now;
        };
        // Only the calling thread may report.
        auto fillBlocks = [&](bool reportEach) {
            while (!stop.load(std::memory_order_relaxed)) {
                const size_t k = next.fetch_add(1);
                if (k >= layerEnd)
                    break;
                table.FillBlock(blocks[k]);
                done.fetch_add(1);
                if (reportEach)
                    report();
            }
        };

        std::vector<std::thread> threads;
        const int32_t wanted = std::min<int32_t>(workers, static_cast<int32_t>(layerEnd - layerStart));
        for (int32_t w = 0; w < wanted; ++w) {
            ++working;
            try {
                threads.emplace_back([&] {
                    fillBlocks(false);
                    --working;
                });
            } catch (const std::exception&) {
                // A thread the system would not start: the others share its
                // blocks.
                --working;
                break;
            }
        }

        // Blocks and the waits below cost differently per call; the pacer
        // learns each pace afresh.
        pacer.Recalibrate();
        if (threads.empty())
            fillBlocks(true);
        while (working.load() > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!stop)
                report();
        }
        for (std::thread& thread : threads)
            thread.join();
        const bool layerDone = done.load() == layerEnd - layerStart;
        if (!stop && done.load() > reported)
            report();
        // A stop after the last block still leaves a complete table.
        if (!layerDone || (stop && layerEnd < blocks.size()))
            return false;
        layerStart = layerEnd;
    }
    return true;
}

// The host as the exact method sees it: the stop command, or the time
// limit once it has passed.
class TTimedProgress : public TProgress {
public:
    TTimedProgress(TProgress& host, double seconds) : FHost(host)
    {
        if (seconds > 0)
            FDeadline = TClock::now() + std::chrono::duration_cast<TClock::duration>(
                                            std::chrono::duration<double>(std::min(seconds, 1e9)));
    }

    void ShowStatus(const std::string& text, int32_t panel) override { FHost.ShowStatus(text, panel); }
    TProgressBar& PrBar() override { return FHost.PrBar(); }
    void ProcessEvents() override
    {
        FHost.ProcessEvents();
        if (FDeadline && TClock::now() >= *FDeadline)
            FTimeUp = true;
    }
    bool GoOn() const override { return !FTimeUp && FHost.GoOn(); }
    TNumberFormat NumberFormat() const override { return FHost.NumberFormat(); }
    bool WatchesRoutes() const override { return FHost.WatchesRoutes(); }
    void OfferRoute(const TRouteOffer& offer) override { FHost.OfferRoute(offer); }

private:
    using TClock = std::chrono::steady_clock;

    TProgress& FHost;
    std::optional<TClock::time_point> FDeadline;
    bool FTimeUp = false;
};

// Kicks of the local search that make the first route of the branch and
// bound: on sets of its sizes the route is then mostly the shortest
// already, in a few tens of milliseconds.
constexpr int64_t KicksPerPoint = 100;
constexpr uint32_t KickSeed = 20250101u;

TLowerBound CertifiedBound(double value, bool proved)
{
    TLowerBound bound;
    bound.Value = value;
    bound.Certified = true;
    bound.Completed = proved;
    return bound;
}

// The table's sizes: the table, or the 1-tree bound when it was stopped.
void SearchByTable(TStepPacer& pacer, TProgress& progress, const TPointArray& points, int32_t start, bool pumpEveryStep,
                   TSearchOutcome& outcome)
{
    const int32_t n = static_cast<int32_t>(points.size());
    THeldKarpTable table(points, start);
    progress.PrBar().SetMax(static_cast<int32_t>(table.Blocks().size()));
    if (table.Allocate()) {
        if (FillTable(table, pacer, WorkerCount(pumpEveryStep))) {
            outcome.Route = table.Route();
            outcome.Proved = true;
        }
        // After a stop the memory goes back all the same; it takes no more
        // than a fraction of a second.
        pacer.Recalibrate();
        table.Release([&] { pacer.Poll(); });
        if (!outcome.Proved) {
            // A root's bound at these sizes takes a millisecond.
            TBranchAndBound root(points, start, outcome.Route);
            root.Run({}, {}, 1);
            outcome.Bound = CertifiedBound(root.LowerBound(), false);
        }
    } else {
        // The quick route proves nothing; a route is not passed off as the
        // shortest when the table that would prove it could not be had.
        outcome.Evaluated = false;
        outcome.Failure = "Metoda dokładna nie dostała " + MemoryText(TableBytesExtended(n)) +
                          " pamięci potrzebnej na tablicę; nie znaleziono drogi.";
    }
}

std::string BranchingStatus(const TBranchAndBound& search, const TNumberFormat& format)
{
    return "Metoda dokładna: najlepsza droga " + FormatNumber(search.BestLength(), 2, format) +
           ", dolne ograniczenie " + FormatNumber(search.LowerBound(), 2, format) +
           ", otwarte podproblemy: " + FormatNumber(static_cast<double>(search.OpenSubproblems()), 0, format) + "...";
}

constexpr int32_t ShareSteps = 1000;

// The branch and bound goes over the places of the points (see
// TPointPlaces): a set without two points at one place is its own places.
void SearchByBranching(TStepPacer& pacer, TProgress& progress, const TPointArray& points, int32_t start,
                       TSearchOutcome& outcome)
{
    const TPointPlaces places(points, start);
    const TPointArray& sites = places.Places();
    // Few places are proved in a millisecond from any route; the kicks
    // would take ten.
    const TSpecimen first =
        ExactUsesTable(places.Count())
            ? QuickRoute(sites, places.StartPlace())
            : KickedRoute(sites, places.StartPlace(), KicksPerPoint * static_cast<int64_t>(sites.size()), KickSeed);
    const TPlaceWalks walks(places, RouteLengthOfPoints(sites, first));
    TBranchAndBound search(sites, places.StartPlace(), first, walks.Measure());
    // The route over the points: the best route's shortest walk, each visit
    // of a place a run of its points, as long as the walk.
    auto bestRoute = [&] {
        TSpecimen walk;
        walks.BestWalk(search.Best(), std::numeric_limits<double>::infinity(), walk);
        return places.Expand(walk);
    };
    outcome.Route = bestRoute();
    pacer.SetRouteOffer([&] { pacer.OfferRoute(bestRoute(), search.BestLength()); });
    pacer.Improved();
    progress.PrBar().SetMax(ShareSteps);
    const TNumberFormat format = progress.NumberFormat();
    // The bar shows the share of routes ruled out, whatever the steps did.
    pacer.SetBeforePump([&] {
        progress.PrBar().SetPosition(static_cast<int32_t>(search.ShareDone() * ShareSteps));
        progress.ShowStatus(BranchingStatus(search, format), 0);
    });
    outcome.Proved = search.Run([&](int64_t steps) { return pacer.StepBy(steps); },
                                [&] {
                                    outcome.Route = bestRoute();
                                    pacer.Improved();
                                });
    outcome.Route = bestRoute();
    outcome.Bound = CertifiedBound(search.LowerBound(), outcome.Proved);
    pacer.Flush();
    progress.PrBar().SetPosition(static_cast<int32_t>(search.ShareDone() * ShareSteps));
}

}  // namespace

uint64_t PhysicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

uint64_t ExactTableBytes(int32_t pointCount)
{
    if (pointCount <= 0)
        return 0;
    const long double bytes = TableBytesExtended(pointCount);
    if (bytes >= 18446744073709551615.0L)
        return std::numeric_limits<uint64_t>::max();
    return HeldKarpCellCount(pointCount) * sizeof(double);
}

bool ExactUsesCuts(const TRouteProblem& problem)
{
    if (problem.Kind.RoundTrip || problem.Kind.End >= 0 || problem.Measure.Metric() != TMetric::Plane)
        return true;
    for (const TPlace& place : problem.Measure.Places())
        if (place.X != std::nearbyint(place.X) || place.Y != std::nearbyint(place.Y) || std::fabs(place.X) >= 0x1p31 ||
            std::fabs(place.Y) >= 0x1p31)
            return true;
    // The branch and bound works on the points' places: many points on few
    // places are a small set to it.
    if (problem.Count() < MinCutPoints)
        return false;
    std::vector<std::pair<double, double>> places;
    places.reserve(problem.Measure.Places().size());
    for (const TPlace& place : problem.Measure.Places())
        places.emplace_back(place.X, place.Y);
    std::sort(places.begin(), places.end());
    return std::unique(places.begin(), places.end()) - places.begin() >= MinCutPoints;
}

std::string ExactLongProofWarning(int32_t pointCount)
{
    if (pointCount <= LongProofPoints)
        return {};
    return "Dla " + std::to_string(pointCount) +
           " punktów dowód, że droga jest najkrótsza, może trwać bardzo długo; przerwane szukanie poda najlepszą "
           "znalezioną drogę i o ile najwyżej może być dłuższa od najkrótszej.";
}

std::string ExactLongProofQuestion(int32_t pointCount)
{
    if (pointCount <= AskProofPoints)
        return {};
    return "Metoda dokładna dla " + std::to_string(pointCount) +
           " punktów może szukać dowodu, że droga jest najkrótsza, bardzo długo (nawet wiele godzin). Rozpocząć?";
}

uint64_t ExactMemoryBytes(int32_t pointCount)
{
    if (ExactUsesTable(pointCount))
        return ExactTableBytes(pointCount);
    if (pointCount >= MinCutPoints)
        return CutMemoryBytes(pointCount);
    // Per edge: its leg, rules, rise, a few records of changes and the
    // places' legs for their walks; per level of the path (no deeper than
    // the edges): the penalties.
    const uint64_t nodes = static_cast<uint64_t>(pointCount) + 1;
    return nodes * nodes * (8 + 1 + 4 + 8 + 4 * 16 + 8) + nodes * nodes * nodes * 8;
}

std::string ExactRefusal(int32_t pointCount, uint64_t physicalMemoryBytes, uint64_t processRoomBytes)
{
    if (pointCount < 1)
        return "Za mało punktów dla wybranej metody (potrzeba co najmniej 1).";
    // Every set the window takes; the command-line tool's larger sets are
    // the local search's, no proof of one would end.
    if (pointCount > MaxWindowPoints)
        return "Metoda dokładna obsługuje najwyżej " + std::to_string(MaxWindowPoints) + " punktów.";
    const long double bytes = static_cast<long double>(ExactMemoryBytes(pointCount));
    const std::string needed = MemoryText(bytes);
    // A system that does not tell its memory gets the benefit of the doubt.
    const uint64_t allowed = physicalMemoryBytes / 2;
    if (physicalMemoryBytes > 0 && ExactMemoryBytes(pointCount) > allowed)
        return "Metoda dokładna potrzebowałaby " + needed + " pamięci; najwyżej " +
               MemoryText(static_cast<long double>(allowed)) + ".";
    // Beside its arrays the method needs what the heap keeps on top of them
    // (it grows in steps of 128 KB): measured, never 0,03 MB more than
    // ExactMemoryBytes. Workers the system has no room for are not started,
    // and the calling thread fills the table alone. The text names the
    // whole need it weighs.
    const long double whole = bytes + static_cast<long double>(ExactHeapSlackBytes);
    if (whole > static_cast<long double>(processRoomBytes))
        return "Metoda dokładna potrzebowałaby " + MemoryText(whole) +
               " pamięci, a program może teraz dostać najwyżej " +
               MemoryText(static_cast<long double>(processRoomBytes)) + ".";
    return {};
}

std::string ExactMemoryQuestion(int32_t pointCount)
{
    if (pointCount < 1 || ExactMemoryBytes(pointCount) <= 1000000000u)
        return {};
    return "Metoda dokładna potrzebuje ok. " + MemoryText(static_cast<long double>(ExactMemoryBytes(pointCount))) +
           " pamięci. Kontynuować?";
}

TSearchOutcome SearchExact(const TRouteProblem& problem, TProgress& host, const TExactParams& params,
                           bool pumpEveryStep)
{
    TTimedProgress progress(host, params.TimeLimitSeconds);
    if (problem.Count() >= 1 && ExactUsesCuts(problem))
        return SearchByCuts(problem, progress, pumpEveryStep);
    const TPointArray points = MapPointsOf(problem.Measure);
    const int32_t start = problem.Kind.Start;
    const int32_t n = static_cast<int32_t>(points.size());
    const bool byTable = ExactUsesTable(n);
    progress.ShowStatus(byTable ? "Programowanie dynamiczne..." : "Metoda dokładna...", 0);
    // Events may add points while the search runs; the route covers the
    // points there were at the start.
    TSearchOutcome outcome;
    if (n < 1) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    // A stop still leaves a good route.
    outcome.Route = QuickRoute(points, start);
    outcome.Evaluated = true;
    TStepPacer pacer(progress, pumpEveryStep);
    if (byTable) {
        pacer.SetRouteOffer([&] { pacer.OfferRoute(outcome.Route, RouteLengthOfPoints(points, outcome.Route)); });
        pacer.Improved();
        SearchByTable(pacer, progress, points, start, pumpEveryStep, outcome);
    } else {
        SearchByBranching(pacer, progress, points, start, outcome);
    }
    pacer.Flush();

    outcome.Steps = pacer.StepsDone();
    outcome.WorkingRoute = outcome.Route;
    progress.ShowStatus("", 0);
    return outcome;
}
