// Random surfaces and random drawing calls with coordinates anywhere in the
// 32-bit range. Built with AddressSanitizer, so a write outside the pixel
// buffer stops the run; the guards around the surface object and the checks
// after each call catch writes that stay inside the process's own memory, and
// the rectangle and straight-line rules are compared pixel by pixel.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "raster/bitmap32.h"

namespace {

constexpr int32_t MaxSidePx = 64;
constexpr int MaxCalls = 48;
constexpr uint64_t GuardPattern = 0xA5C3F00D5EEDC0DEull;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fuzz_raster: %s\n", what);
    std::abort();
}

// The surface between two guard blocks: a stray write next to the object
// lands in a guard instead of silently in the heap.
struct TGuardedSurface {
    uint64_t Before[8];
    TBitmap32 Surface;
    uint64_t After[8];

    TGuardedSurface()
    {
        std::fill(std::begin(Before), std::end(Before), GuardPattern);
        std::fill(std::begin(After), std::end(After), GuardPattern);
    }
    bool GuardsIntact() const
    {
        return std::all_of(std::begin(Before), std::end(Before), [](uint64_t v) { return v == GuardPattern; }) &&
               std::all_of(std::begin(After), std::end(After), [](uint64_t v) { return v == GuardPattern; });
    }
};

int32_t Coordinate(FuzzedDataProvider& input, int32_t widthPx, int32_t heightPx)
{
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return input.ConsumeIntegralInRange<int32_t>(-3, MaxSidePx + 3);
    case 1: {
        // The borders of the surface and of the 32-bit range, where off-by-one
        // and overflow mistakes live.
        const int64_t w = widthPx;
        const int64_t h = heightPx;
        const int64_t edges[] = {Min,   Min + 1, Min / 2, -65536, -2,    -1,      0,       1,   w - 1,   w,
                                 w + 1, h - 1,   h,       h + 1,  65536, Max / 2, Max - 1, Max, Max - w, Min + h};
        const int64_t edge = edges[input.ConsumeIntegralInRange<size_t>(0, std::size(edges) - 1)];
        return static_cast<int32_t>(std::clamp<int64_t>(edge, Min, Max));
    }
    default:
        return input.ConsumeIntegral<int32_t>();
    }
}

struct TSize {
    int32_t Width;
    int32_t Height;
};

TSize Size(FuzzedDataProvider& input)
{
    if (input.ConsumeIntegralInRange<int>(0, 7) != 0)
        return {input.ConsumeIntegralInRange<int32_t>(-3, MaxSidePx),
                input.ConsumeIntegralInRange<int32_t>(-3, MaxSidePx)};
    // One side huge, the other empty or negative: no pixels, but a width or
    // height that the clipping arithmetic still has to survive. A tall empty
    // surface stops at 65536 rows: FillRect walks every row of it, and at
    // 2^31 rows that alone outlasts the run's time limit.
    const int32_t none = input.PickValueInArray({int32_t{0}, int32_t{-1}, std::numeric_limits<int32_t>::min()});
    if (input.ConsumeBool()) {
        const int32_t wide =
            input.PickValueInArray({std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
                                    int32_t{1} << 30, int32_t{65536}});
        return {wide, none};
    }
    const int32_t tall = input.PickValueInArray({std::numeric_limits<int32_t>::min(), int32_t{65535}, int32_t{65536}});
    return {none, tall};
}

bool HasPixels(const TBitmap32& surface)
{
    return surface.Width() > 0 && surface.Height() > 0;
}

std::vector<uint32_t> Snapshot(const TBitmap32& surface)
{
    if (!HasPixels(surface))
        return {};
    const size_t count = static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height());
    return std::vector<uint32_t>(surface.Bits(), surface.Bits() + count);
}

// The pixels a call is allowed to touch; every other one must keep its value.
template <typename TExpected>
void ExpectPixels(const TBitmap32& surface, const std::vector<uint32_t>& before, TExpected expected, const char* what)
{
    const std::vector<uint32_t> after = Snapshot(surface);
    if (after.size() != before.size())
        Fail("a drawing call changed the number of pixels");
    for (int32_t y = 0; y < surface.Height() && !after.empty(); ++y)
        for (int32_t x = 0; x < surface.Width(); ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(surface.Width()) + static_cast<size_t>(x);
            if (!expected(x, y, before[i], after[i])) {
                std::fprintf(stderr, "fuzz_raster: pixel (%d, %d) was %08x, is %08x\n", x, y, before[i], after[i]);
                Fail(what);
            }
        }
}

struct TRect {
    int64_t X1, Y1, X2, Y2;
    bool Contains(int64_t x, int64_t y) const { return X1 <= x && x < X2 && Y1 <= y && y < Y2; }
};

void CheckFillRect(TBitmap32& s, TRect r, uint32_t colour)
{
    const std::vector<uint32_t> before = Snapshot(s);
    s.FillRect(static_cast<int32_t>(r.X1), static_cast<int32_t>(r.Y1), static_cast<int32_t>(r.X2),
               static_cast<int32_t>(r.Y2), colour);
    ExpectPixels(
        s, before,
        [&](int32_t x, int32_t y, uint32_t old, uint32_t now) { return now == (r.Contains(x, y) ? colour : old); },
        "FillRect painted outside its rectangle or missed a pixel of it");
}

void CheckFrameRect(TBitmap32& s, TRect r, uint32_t colour)
{
    const std::vector<uint32_t> before = Snapshot(s);
    s.FrameRect(static_cast<int32_t>(r.X1), static_cast<int32_t>(r.Y1), static_cast<int32_t>(r.X2),
                static_cast<int32_t>(r.Y2), colour);
    // The outline: first and last row and column of the half-open rectangle.
    ExpectPixels(
        s, before,
        [&](int32_t x, int32_t y, uint32_t old, uint32_t now) {
            const bool onOutline = r.Contains(x, y) && (y == r.Y1 || y == r.Y2 - 1 || x == r.X1 || x == r.X2 - 1);
            return now == (onOutline ? colour : old);
        },
        "FrameRect painted off its outline or missed a pixel of it");
}

void CheckLine(TBitmap32& s, TRect ends, uint32_t colour)
{
    const std::vector<uint32_t> before = Snapshot(s);
    s.Line(static_cast<int32_t>(ends.X1), static_cast<int32_t>(ends.Y1), static_cast<int32_t>(ends.X2),
           static_cast<int32_t>(ends.Y2), colour);
    // A clipped line stays on the segment, and its second shade lies at most
    // one pixel beside it.
    const TRect box{std::min(ends.X1, ends.X2) - 1, std::min(ends.Y1, ends.Y2) - 1, std::max(ends.X1, ends.X2) + 2,
                    std::max(ends.Y1, ends.Y2) + 2};
    ExpectPixels(
        s, before, [&](int32_t x, int32_t y, uint32_t old, uint32_t now) { return now == old || box.Contains(x, y); },
        "Line changed a pixel away from its segment");

    const auto inside = [&](int64_t x, int64_t y) { return 0 <= x && x < s.Width() && 0 <= y && y < s.Height(); };
    if (!inside(ends.X1, ends.Y1) || !inside(ends.X2, ends.Y2) || (ends.X1 == ends.X2 && ends.Y1 == ends.Y2))
        return;
    const auto at = [&](int64_t x, int64_t y) { return s.Pixel(static_cast<int32_t>(x), static_cast<int32_t>(y)); };
    const auto was = [&](int64_t x, int64_t y) { return before[static_cast<size_t>(y * s.Width() + x)]; };
    if (at(ends.X1, ends.Y1) != colour)
        Fail("Line did not set its start pixel");
    if (at(ends.X2, ends.Y2) != was(ends.X2, ends.Y2))
        Fail("Line drew its end pixel");
    if (ends.X1 == ends.X2 || ends.Y1 == ends.Y2) {
        // Straight lines are exact: start up to, not including, the end.
        const TRect run{std::min(ends.X1, ends.X2), std::min(ends.Y1, ends.Y2), std::max(ends.X1, ends.X2) + 1,
                        std::max(ends.Y1, ends.Y2) + 1};
        ExpectPixels(
            s, before,
            [&](int32_t x, int32_t y, uint32_t old, uint32_t now) {
                const bool drawn = run.Contains(x, y) && !(x == ends.X2 && y == ends.Y2);
                return now == (drawn ? colour : old);
            },
            "a straight Line differs from its run of pixels");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    auto guarded = std::make_unique<TGuardedSurface>();
    TBitmap32& surface = guarded->Surface;
    int changes = 0;
    int resizes = 0;
    surface.OnChange = [&changes] { ++changes; };
    surface.OnResize = [&resizes] { ++resizes; };

    const TSize first = Size(input);
    surface.SetSize(first.Width, first.Height);

    for (int call = 0; call < MaxCalls && input.remaining_bytes() > 0; ++call) {
        const int32_t widthPx = surface.Width();
        const int32_t heightPx = surface.Height();
        const uint32_t* bits = surface.Bits();
        const int32_t updates = surface.UpdateCount();
        const int kind = input.ConsumeIntegralInRange<int>(0, 5);
        const uint32_t colour = input.ConsumeBool()
                                    ? input.ConsumeIntegral<uint32_t>()
                                    : input.PickValueInArray({0xFFFFFFFFu, 0xFF000000u, 0xFFFF0000u, 0xFF7F7F7Fu});
        if (kind == 0) {
            const TSize next = Size(input);
            const std::vector<uint32_t> before = Snapshot(surface);
            const int resizesBefore = resizes;
            surface.SetSize(next.Width, next.Height);
            const int32_t expectedWidth = std::max(next.Width, 0);
            const int32_t expectedHeight = std::max(next.Height, 0);
            if (surface.Width() != expectedWidth || surface.Height() != expectedHeight)
                Fail("SetSize stored another size");
            const bool same = expectedWidth == widthPx && expectedHeight == heightPx;
            if (same && (Snapshot(surface) != before || resizes != resizesBefore))
                Fail("SetSize to the same size changed the surface");
            if (!same) {
                const std::vector<uint32_t> now = Snapshot(surface);
                if (resizes != resizesBefore + 1)
                    Fail("SetSize to a new size sent no resize notification");
                if (std::any_of(now.begin(), now.end(), [](uint32_t p) { return p != 0; }))
                    Fail("SetSize left old pixel values in the new surface");
            }
        } else {
            const TRect r{Coordinate(input, widthPx, heightPx), Coordinate(input, widthPx, heightPx),
                          Coordinate(input, widthPx, heightPx), Coordinate(input, widthPx, heightPx)};
            const int changesBefore = changes;
            // A rectangle call that is rejected outright sends nothing; any
            // other one sends exactly one change notification.
            const bool rejected =
                r.X1 >= r.X2 || r.Y1 >= r.Y2 || r.X1 >= widthPx || r.Y1 >= heightPx || r.X2 <= 0 || r.Y2 <= 0;
            switch (kind) {
            case 1: {
                const std::vector<uint32_t> before = Snapshot(surface);
                surface.Clear(colour);
                ExpectPixels(
                    surface, before, [&](int32_t, int32_t, uint32_t, uint32_t now) { return now == colour; },
                    "Clear left a pixel in another colour");
                if (changes != changesBefore + 1)
                    Fail("Clear sent no change notification");
                break;
            }
            case 2:
                CheckFillRect(surface, r, colour);
                if (changes != changesBefore + (rejected ? 0 : 1))
                    Fail("FillRect sent the wrong number of change notifications");
                break;
            case 3:
                CheckFrameRect(surface, r, colour);
                if (changes != changesBefore + (rejected ? 0 : 1))
                    Fail("FrameRect sent the wrong number of change notifications");
                break;
            default:
                CheckLine(surface, r, colour);
                break;
            }
            // Drawing touches pixels only: not the size, the buffer or the counter.
            if (surface.Width() != widthPx || surface.Height() != heightPx || surface.Bits() != bits ||
                surface.UpdateCount() != updates)
                Fail("a drawing call changed the surface's size, buffer or update counter");
        }
        if (!guarded->GuardsIntact())
            Fail("a write landed beside the surface object");
    }
    return 0;
}
