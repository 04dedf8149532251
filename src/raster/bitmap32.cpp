#include "raster/bitmap32.h"

#include "raster/gamma.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <new>

namespace {

constexpr int OutLeft = 1;
constexpr int OutRight = 2;
constexpr int OutTop = 4;
constexpr int OutBottom = 8;

uint64_t Magnitude(int64_t value)
{
    return value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

int64_t Sign(int64_t value)
{
    return value < 0 ? -1 : 1;
}

constexpr uint32_t LowLanes = 0x00FF00FFu;
constexpr uint32_t RoundLanes = 0x00800080u;

// MixPixel with everything that depends only on the colour and the weight
// worked out beforehand: 256 * p + (k - p) * a + 128 = p * keep + (k * a + 128).
struct TShade {
    uint32_t Keep;
    uint32_t AddRedBlue;
    uint32_t AddAlphaGreen;
};

TShade ShadeOf(TColor32 colour, uint32_t weight)
{
    const uint32_t a = (weight * (colour >> 24)) >> 8;
    return {256 - a, (colour & LowLanes) * a + RoundLanes, ((colour >> 8) & LowLanes) * a + RoundLanes};
}

uint32_t ApplyShade(uint32_t pixel, const TShade& shade)
{
    return ((((pixel & LowLanes) * shade.Keep + shade.AddRedBlue) >> 8) & LowLanes) |
           ((((pixel >> 8) & LowLanes) * shade.Keep + shade.AddAlphaGreen) & ~LowLanes);
}

// The shades of both pixels of a line step for every accumulator weight,
// kept for the last colour drawn: the map draws all its links in one.
struct TStepShades {
    TColor32 Colour = 0;
    bool Ready = false;
    std::array<TShade, 256> OnLine{};
    std::array<TShade, 256> Beside{};
};

const TStepShades& StepShadesFor(TColor32 colour)
{
    thread_local TStepShades shades;
    if (!shades.Ready || shades.Colour != colour) {
        const TGammaTable& gamma = GammaTable();
        for (size_t w = 0; w < 256; ++w) {
            shades.OnLine[w] = ShadeOf(colour, gamma[255 - w]);
            shades.Beside[w] = ShadeOf(colour, gamma[w]);
        }
        shades.Colour = colour;
        shades.Ready = true;
    }
    return shades;
}

}  // namespace

int64_t MulDiv(int64_t p, int64_t q, int64_t r)
{
    if (r == 0)
        return 0;
    const uint64_t divisor = Magnitude(r);
    const uint64_t product = Magnitude(p) * Magnitude(q);
    uint64_t quotient = product / divisor;
    const uint64_t remainder = product % divisor;
    if (remainder >= divisor - remainder)
        ++quotient;
    const bool negative = ((p < 0) != (q < 0)) != (r < 0);
    return negative ? -static_cast<int64_t>(quotient) : static_cast<int64_t>(quotient);
}

bool ClipLine(TLineEnds& ends, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return false;
    const int64_t right = int64_t{width} - 1;
    const int64_t bottom = int64_t{height} - 1;
    auto columnCode = [right](int64_t x) { return (x < 0 ? OutLeft : 0) | (x > right ? OutRight : 0); };
    auto rowCode = [bottom](int64_t y) { return (y < 0 ? OutTop : 0) | (y > bottom ? OutBottom : 0); };

    int code1 = columnCode(ends.X1) | rowCode(ends.Y1);
    int code2 = columnCode(ends.X2) | rowCode(ends.Y2);
    if ((code1 & code2) != 0)
        return false;
    if ((code1 | code2) == 0)
        return true;

    // Every move lands between the two current ends, so no coordinate ever
    // leaves the span of the original 32-bit ends and MulDiv stays exact.
    if ((code1 & (OutTop | OutBottom)) != 0) {
        const int64_t newY = (code1 & OutTop) != 0 ? 0 : bottom;
        ends.X1 += MulDiv(newY - ends.Y1, ends.X2 - ends.X1, ends.Y2 - ends.Y1);
        ends.Y1 = newY;
        code1 = columnCode(ends.X1);
    }
    if ((code2 & (OutTop | OutBottom)) != 0) {
        const int64_t newY = (code2 & OutTop) != 0 ? 0 : bottom;
        ends.X2 += MulDiv(newY - ends.Y2, ends.X2 - ends.X1, ends.Y2 - ends.Y1);
        ends.Y2 = newY;
        code2 = columnCode(ends.X2);
    }
    if ((code1 & code2) != 0)
        return false;
    if ((code1 | code2) == 0)
        return true;

    if (code1 != 0) {
        const int64_t newX = (code1 & OutLeft) != 0 ? 0 : right;
        ends.Y1 += MulDiv(newX - ends.X1, ends.Y2 - ends.Y1, ends.X2 - ends.X1);
        ends.X1 = newX;
    }
    if (code2 != 0) {
        const int64_t newX = (code2 & OutLeft) != 0 ? 0 : right;
        ends.Y2 += MulDiv(newX - ends.X2, ends.Y2 - ends.Y1, ends.X2 - ends.X1);
        ends.X2 = newX;
    }
    // Rounding keeps the ends inside; the check guards the pixel buffer all the same.
    return (columnCode(ends.X1) | rowCode(ends.Y1) | columnCode(ends.X2) | rowCode(ends.Y2)) == 0;
}

TColor32 MixPixel(TColor32 pixel, TColor32 colour, uint32_t weight)
{
    // Two bytes at a time: each lane stays below 65536, so lanes never carry
    // into each other. With a = 0 every byte comes out as it was.
    return ApplyShade(pixel, ShadeOf(colour, weight));
}

void TBitmap32::SetSize(int32_t width, int32_t height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight)
        return;
    // The old pixels go first, so a resize never holds two pictures at once.
    std::vector<uint32_t>().swap(FBits);
    FWidth = 0;
    FHeight = 0;
    if (width > 0 && height > 0) {
        const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
        if (count > FBits.max_size())
            throw std::bad_alloc();
        FBits.assign(static_cast<size_t>(count), 0);
    }
    FWidth = width;
    FHeight = height;
    Changed();
    Resized();
}

void TBitmap32::Clear(TColor32 colour)
{
    if (!Empty())
        std::fill(FBits.begin(), FBits.end(), colour);
    Changed();
}

void TBitmap32::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour)
{
    if (x1 >= x2 || y1 >= y2 || x1 >= FWidth || y1 >= FHeight || x2 <= 0 || y2 <= 0)
        return;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, FWidth);
    y2 = std::min(y2, FHeight);
    // A surface with no columns (0 x H) has nothing to fill in any row.
    if (x1 >= x2)
        y2 = y1;
    for (int32_t y = y1; y < y2; ++y) {
        uint32_t* row = FBits.data() + static_cast<size_t>(y) * static_cast<size_t>(FWidth);
        std::fill(row + x1, row + x2, colour);
    }
    Changed();
}

void TBitmap32::FrameRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour)
{
    if (x1 >= x2 || y1 >= y2 || x1 >= FWidth || y1 >= FHeight || x2 <= 0 || y2 <= 0)
        return;
    const int64_t lastX = int64_t{x2} - 1;
    const int64_t lastY = int64_t{y2} - 1;
    HorizontalSpan(y1, x1, lastX, colour);
    if (lastY > y1)
        HorizontalSpan(lastY, x1, lastX, colour);
    if (lastY > int64_t{y1} + 1) {
        VerticalSpan(x1, int64_t{y1} + 1, lastY - 1, colour);
        if (lastX > x1)
            VerticalSpan(lastX, int64_t{y1} + 1, lastY - 1, colour);
    }
    Changed();
}

void TBitmap32::HorizontalSpan(int64_t y, int64_t x1, int64_t x2, TColor32 colour)
{
    if (y < 0 || y >= FHeight)
        return;
    x1 = std::max<int64_t>(x1, 0);
    x2 = std::min<int64_t>(x2, int64_t{FWidth} - 1);
    if (x1 > x2)
        return;
    uint32_t* row = FBits.data() + static_cast<size_t>(y) * static_cast<size_t>(FWidth);
    std::fill(row + x1, row + x2 + 1, colour);
}

void TBitmap32::VerticalSpan(int64_t x, int64_t y1, int64_t y2, TColor32 colour)
{
    if (x < 0 || x >= FWidth)
        return;
    y1 = std::max<int64_t>(y1, 0);
    y2 = std::min<int64_t>(y2, int64_t{FHeight} - 1);
    for (int64_t y = y1; y <= y2; ++y)
        FBits[static_cast<size_t>(y * FWidth + x)] = colour;
}

void TBitmap32::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour)
{
    TLineEnds ends{x1, y1, x2, y2};
    if (!ClipLine(ends, FWidth, FHeight))
        return;
    if (ends.X1 == ends.X2 || ends.Y1 == ends.Y2)
        PlainLine(ends, colour);
    else
        SmoothLine(ends, colour);
}

void TBitmap32::PlainLine(const TLineEnds& ends, TColor32 colour)
{
    const int64_t width = FWidth;
    uint32_t* bits = FBits.data();
    if (ends.Y1 == ends.Y2) {
        const int64_t step = Sign(ends.X2 - ends.X1);
        for (int64_t x = ends.X1; x != ends.X2; x += step)
            bits[ends.Y1 * width + x] = colour;
    } else {
        const int64_t step = Sign(ends.Y2 - ends.Y1);
        for (int64_t y = ends.Y1; y != ends.Y2; y += step)
            bits[y * width + ends.X1] = colour;
    }
}

void TBitmap32::SmoothLine(const TLineEnds& ends, TColor32 colour)
{
    const TStepShades& shades = StepShadesFor(colour);
    const int64_t width = FWidth;
    const int64_t dx = ends.X2 - ends.X1 < 0 ? ends.X1 - ends.X2 : ends.X2 - ends.X1;
    const int64_t dy = ends.Y2 - ends.Y1 < 0 ? ends.Y1 - ends.Y2 : ends.Y2 - ends.Y1;
    const int64_t sx = Sign(ends.X2 - ends.X1);
    const int64_t sy = Sign(ends.Y2 - ends.Y1);
    const bool steep = dy > dx;

    // Walk with pointer steps: one along the major axis every pixel, one
    // along the minor axis when the 16-bit accumulator wraps. The neighbour
    // lies one minor step further on.
    const int64_t majorStep = steep ? sy * width : sx;
    const int64_t minorStep = steep ? sx : sy * width;
    const int64_t majorLength = steep ? dy : dx;
    const int64_t minorLength = steep ? dx : dy;
    // A step of 0 means "every time" only for the exact diagonal; for a line
    // over 65536 times longer than it is wide it means "never", else such a
    // line would walk off the surface.
    const uint32_t step = static_cast<uint32_t>((minorLength << 16) / majorLength) & 0xFFFFu;
    const uint32_t alwaysMoves = dx == dy ? 1 : 0;

    uint32_t* pixel = FBits.data() + ends.Y1 * width + ends.X1;
    *pixel = colour;
    // The minor coordinate moves fewer times than the line is wide, so the
    // neighbour never passes the end's row or column and stays inside.
    uint32_t acc = 0;
    for (int64_t count = majorLength - 1; count > 0; --count) {
        const uint32_t sum = acc + step;
        const uint32_t moves = (sum >> 16) | alwaysMoves;
        acc = sum & 0xFFFFu;
        pixel += majorStep + minorStep * static_cast<int64_t>(moves);
        const uint32_t w = acc >> 8;
        pixel[0] = ApplyShade(pixel[0], shades.OnLine[w]);
        pixel[minorStep] = ApplyShade(pixel[minorStep], shades.Beside[w]);
    }
}

void TBitmap32::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange();
}

void TBitmap32::Resized()
{
    if (OnResize)
        OnResize();
}
