#include "search/exact/exact_search.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <thread>
#include <vector>

#include "core/number_text.h"
#include "search/exact/held_karp_table.h"
#include "search/local/local_search.h"
#include "search/run/step_pacer.h"

namespace {

// A memory size for a refusal: one decimal and a decimal comma, in the
// largest unit that keeps the number below a thousand.
std::string MemoryText(long double bytes)
{
    const char* const units[] = {"GB", "TB", "PB"};
    long double value = bytes / 1e9L;
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

std::string ExactRefusal(int32_t pointCount, uint64_t physicalMemoryBytes, uint64_t processRoomBytes)
{
    if (pointCount < 1)
        return "Za mało punktów dla wybranej metody (potrzeba co najmniej 1).";
    const std::string needed = MemoryText(TableBytesExtended(pointCount));
    if (pointCount > MaxExactPoints)
        return "Metoda dokładna obsługuje najwyżej " + std::to_string(MaxExactPoints) + " punktów; dla " +
               std::to_string(pointCount) + " punktów potrzebowałaby " + needed + " pamięci.";
    // A system that does not tell its memory gets the benefit of the doubt.
    const uint64_t allowed = physicalMemoryBytes / 2;
    if (physicalMemoryBytes > 0 && ExactTableBytes(pointCount) > allowed)
        return "Metoda dokładna potrzebowałaby " + needed + " pamięci; najwyżej " +
               MemoryText(static_cast<long double>(allowed)) + ".";
    // Beside the table: the legs, the workers' stacks and the heap's own
    // needs, a few tens of megabytes at most.
    const long double overhead = 64e6L;
    if (TableBytesExtended(pointCount) + overhead > static_cast<long double>(processRoomBytes))
        return "Metoda dokładna potrzebowałaby " + needed + " pamięci, a program może teraz dostać najwyżej " +
               MemoryText(static_cast<long double>(processRoomBytes)) + ".";
    return {};
}

std::string ExactMemoryQuestion(int32_t pointCount)
{
    if (pointCount < 1 || TableBytesExtended(pointCount) <= 1e9L)
        return {};
    return "Metoda dokładna potrzebuje ok. " + MemoryText(TableBytesExtended(pointCount)) + " pamięci. Kontynuować?";
}

TSearchOutcome SearchExact(TPointSetState& state, TProgress& progress, const TExactParams& params, bool pumpEveryStep)
{
    progress.ShowStatus("Programowanie dynamiczne...", 0);
    // Events may add points while the table fills; the route covers the
    // points there were at the start.
    const TPointArray points = state.FPoints;
    const int32_t n = static_cast<int32_t>(points.size());
    TSearchOutcome outcome;
    if (n < 1 || n > MaxExactPoints) {
        progress.ShowStatus("", 0);
        return outcome;
    }

    // A stop still leaves a good route.
    state.FBestRoute = QuickRoute(points, params.StartPoint);
    outcome.Evaluated = true;

    THeldKarpTable table(points, params.StartPoint);
    progress.PrBar().SetMax(static_cast<int32_t>(table.Blocks().size()));
    TStepPacer pacer(progress, pumpEveryStep);
    pacer.SetRouteOffer([&] { pacer.OfferRoute(state.FBestRoute, RouteLengthOfPoints(points, state.FBestRoute)); });
    pacer.Improved();
    if (table.Allocate()) {
        if (FillTable(table, pacer, WorkerCount(pumpEveryStep))) {
            state.FBestRoute = table.Route();
            outcome.Proved = true;
        }
        // After a stop the memory goes back all the same; it takes no more
        // than a fraction of a second.
        pacer.Recalibrate();
        table.Release([&] { pacer.Poll(); });
    } else {
        // The quick route proves nothing; a route is not passed off as the
        // shortest when the table that would prove it could not be had.
        outcome.Evaluated = false;
        outcome.Failure = "Metoda dokładna nie dostała " + MemoryText(TableBytesExtended(n)) +
                          " pamięci potrzebnej na tablicę; nie znaleziono drogi.";
    }
    pacer.Flush();

    outcome.Steps = pacer.StepsDone();
    state.FRoute = state.FBestRoute;
    progress.ShowStatus("", 0);
    return outcome;
}
