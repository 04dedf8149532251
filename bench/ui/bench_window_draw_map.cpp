// Redraws the map of 10 000 linked points through the real windows at
// 1000 x 800 (status texts, surface, immediate repaint of the view) and
// prints the time per DrawMap against its target, and whether a redraw at
// the same size allocated any picture-sized memory.

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "core/distances.h"
#include "ui/main_form.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/set_views.h"

namespace {

// Allocations of this size or more would be a new picture (or a large part
// of one); small ones are the toolkit's event and text bookkeeping.
constexpr std::size_t LargeAllocationBytes = 64 * 1024;
std::atomic<long> LargeAllocations{0};

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
    form.State().FPoints.resize(Count);
    for (int i = 0; i < Count; ++i) {
        form.State().FPoints[i].X = static_cast<int32_t>(random() % Width);
        form.State().FPoints[i].Y = static_cast<int32_t>(random() % Height);
        form.State().FPoints[i].Next = (i + 1) % Count;
    }
    form.Views().RefreshPointList();
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
    return 0;
}
