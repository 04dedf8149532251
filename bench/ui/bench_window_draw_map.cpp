// Redraws the map of 10 000 linked points through the real windows at
// 1000 x 800 (status texts, surface, immediate repaint of the view) and
// prints the time per DrawMap against its target, and whether a redraw at
// the same size allocated any picture-sized memory; then the same points
// as a route fitted to the window (the view's picture), at 1000 x 800 and
// at the map's design size, and one step of moving that view.

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <numeric>
#include <random>
#include <vector>

#include "core/distances.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/main_form.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/window_parts.h"

namespace {

// Allocations of this size or more would be a new picture (or a large part
// of one); small ones are the toolkit's event and text bookkeeping.
constexpr std::size_t LargeAllocationBytes = 64 * 1024;
std::atomic<long> LargeAllocations{0};

// The median time of repeats calls, in milliseconds.
template <typename TWork>
double MedianMs(int repeats, const TWork& work)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

void* operator new(std::size_t size)
{
    if (size >= LargeAllocationBytes)
        ++LargeAllocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    constexpr int Width = 1000;
    constexpr int Height = 800;
    constexpr int Count = 10000;
    constexpr int Repeats = 30;

    TMainForm form({QStringLiteral("tovu")});
    form.AttachMapForm(new TMapForm(form));
    form.show();
    form.MapForm()->show();
    form.MapForm()->resize(Width, Height);
    QApplication::processEvents();

    std::mt19937 random(4321);
    TPointArray drawn(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        drawn[static_cast<size_t>(i)].X = static_cast<int32_t>(random() % Width);
        drawn[static_cast<size_t>(i)].Y = static_cast<int32_t>(random() % Height);
        drawn[static_cast<size_t>(i)].Next = (i + 1) % Count;
    }
    form.Document().ReplacePoints(drawn);
    QApplication::processEvents();

    const TImage32& view = *form.MapForm()->Image321;
    const uint32_t* pixelsBefore = view.Bitmap().Bits();
    std::vector<double> times;
    const long largeBefore = LargeAllocations.load();
    for (int i = 0; i < Repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        form.Map().DrawMap();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    const long largeDuring = LargeAllocations.load() - largeBefore;
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];

    std::printf(
        "DrawMap of %d linked points at %d x %d through the window: median %.2f ms, best %.2f ms "
        "(target 30 ms, ratio %.2f)\n",
        Count, view.width(), view.height(), median, times.front(), median / 30.0);
    std::printf("redraws at the same size: %ld allocations of %zu bytes or more, surface memory %s\n", largeDuring,
                LargeAllocationBytes, view.Bitmap().Bits() == pixelsBefore ? "kept" : "replaced");

    // An open route through all of them as a search leaves it, short legs
    // from band to band of the map (not across it at random), fitted: the
    // picture a user sees of a large set.
    std::vector<int32_t> order(Count);
    std::iota(order.begin(), order.end(), 0);
    const TPointArray& points = form.State().FPoints;
    const auto band = [&points](int32_t i) { return points[static_cast<size_t>(i)].Y / 10; };
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        if (band(a) != band(b))
            return band(a) < band(b);
        const bool rightwards = band(a) % 2 == 0;
        return rightwards ? points[a].X < points[b].X : points[a].X > points[b].X;
    });
    std::vector<int32_t> links(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i)
        links[static_cast<size_t>(order[i])] = i + 1 < Count ? order[i + 1] : -1;
    form.Document().SetLinks(links);
    Command(form, "actFitMap")->setChecked(true);
    for (const auto& [width, height] : {std::pair{Width, Height}, std::pair{495, 382}}) {
        form.MapForm()->resize(width, height);
        QApplication::processEvents();
        const double fitted = MedianMs(Repeats, [&form] { form.Map().DrawMap(); });
        const double moved = MedianMs(Repeats, [&form] {
            form.Map().MapMouseDown(Qt::MiddleButton, 100, 100);
            form.Map().MapMouseMove(110, 104);
            form.Map().MapMouseUp(Qt::MiddleButton, 110, 104);
        });
        Command(form, "actFitMap")->setChecked(true);
        std::printf(
            "the route fitted, %d x %d: DrawMap median %.2f ms (target 30 ms, ratio %.2f); a step of moving it %.2f "
            "ms (target 30 ms, ratio %.2f)\n",
            view.width(), view.height(), fitted, fitted / 30.0, moved, moved / 30.0);
    }
    return 0;
}
