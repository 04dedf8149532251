// Times a full map redraw of a large linked point set and shows that a
// redraw at an unchanged size allocates nothing.
#include "raster/map_render.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <vector>

namespace {

std::atomic<uint64_t> NewCalls{0};

void* CountedAllocate(std::size_t size)
{
    NewCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

constexpr int32_t MapWidthPx = 1000;
constexpr int32_t MapHeightPx = 800;
constexpr int32_t PointCount = 10000;
constexpr int Repeats = 50;
constexpr double TargetMs = 30.0;

// A fixed linear congruential sequence, so every run draws the same map.
TPointArray LinkedPoints()
{
    uint32_t state = 12345u;
    auto below = [&state](uint32_t n) {
        state = state * 134775813u + 1u;
        return static_cast<int32_t>((static_cast<uint64_t>(n) * state) >> 32);
    };
    TPointArray points(PointCount);
    for (TMapPoint& point : points) {
        point.X = below(MapWidthPx);
        point.Y = below(MapHeightPx);
    }
    for (int32_t i = 0; i < PointCount; ++i)
        points[static_cast<size_t>(i)].Next = (i + 1 + below(PointCount - 1)) % PointCount;
    return points;
}

}  // namespace

void* operator new(std::size_t size)
{
    return CountedAllocate(size);
}
void* operator new[](std::size_t size)
{
    return CountedAllocate(size);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}

int main()
{
    const TPointArray points = LinkedPoints();
    const auto isSelected = [](int32_t i) { return i % 10 == 0; };
    const std::function<bool(int32_t)> selection = isSelected;

    TBitmap32 surface;
    const uint64_t firstDrawStart = NewCalls.load();
    RenderMap(surface, MapWidthPx, MapHeightPx, points, selection);
    // The first draw must allocate the pixels: shows the counter is live.
    const uint64_t firstDrawNewCalls = NewCalls.load() - firstDrawStart;

    std::vector<double> timesMs;
    timesMs.reserve(Repeats);
    const uint64_t newCallsBefore = NewCalls.load();
    for (int r = 0; r < Repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        RenderMap(surface, MapWidthPx, MapHeightPx, points, selection);
        const auto stop = std::chrono::steady_clock::now();
        timesMs.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
    const uint64_t redrawNewCalls = NewCalls.load() - newCallsBefore;

    std::sort(timesMs.begin(), timesMs.end());
    double sumMs = 0;
    for (double t : timesMs)
        sumMs += t;
    const double meanMs = sumMs / Repeats;
    const double medianMs = timesMs[Repeats / 2];

    // A checksum keeps the drawing from being optimised away and shows the picture is the same every run.
    uint64_t checksum = 0;
    const uint32_t* bits = surface.Bits();
    for (size_t i = 0; i < static_cast<size_t>(MapWidthPx) * MapHeightPx; ++i)
        checksum = checksum * 1099511628211ull + bits[i];

    std::printf("RenderMap %d points, %d links, %d x %d, %d redraws\n", PointCount, PointCount, MapWidthPx, MapHeightPx,
                Repeats);
    std::printf("  min %.2f ms, median %.2f ms, mean %.2f ms, max %.2f ms\n", timesMs.front(), medianMs, meanMs,
                timesMs.back());
    std::printf("  median / target %.0f ms = %.2f (%s)\n", TargetMs, medianMs / TargetMs,
                medianMs < TargetMs ? "within target" : "OVER TARGET");
    std::printf("  operator new calls during the first draw: %llu\n",
                static_cast<unsigned long long>(firstDrawNewCalls));
    std::printf("  operator new calls during %d same-size redraws: %llu\n", Repeats,
                static_cast<unsigned long long>(redrawNewCalls));
    std::printf("  picture checksum %016llx\n", static_cast<unsigned long long>(checksum));
    // Timing depends on the machine's load; only an allocation is a failure.
    return redrawNewCalls == 0 ? 0 : 1;
}
