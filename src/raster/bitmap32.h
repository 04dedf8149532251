#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// A pixel: alpha in bits 24 to 31, then red, green and blue (0xAARRGGBB).
using TColor32 = uint32_t;

// The ends of a line after clipping to a W x H surface, in 64 bits so that
// ends anywhere in the 32-bit range clip without overflow.
struct TLineEnds {
    int64_t X1 = 0;
    int64_t Y1 = 0;
    int64_t X2 = 0;
    int64_t Y2 = 0;
};

// Clips the segment to 0 <= x <= width - 1, 0 <= y <= height - 1 in one pass
// (top and bottom first, then left and right). Returns false when nothing of
// it is left; on true every end lies inside the surface.
bool ClipLine(TLineEnds& ends, int32_t width, int32_t height);

// p * q / r rounded to the nearest integer, halves away from zero. Exact for
// |p|, |q|, |r| below 2^32, which differences of 32-bit coordinates are.
int64_t MulDiv(int64_t p, int64_t q, int64_t r);

// Mixes colour into pixel with weight 0 to 255, scaled by the colour's alpha.
TColor32 MixPixel(TColor32 pixel, TColor32 colour, uint32_t weight);

// A 32-bit drawing surface: Width x Height pixels, rows top to bottom, with
// the raster operations the map needs. Drawing replaces pixels (the map only
// draws opaque colours); only anti-aliased line steps mix.
class TBitmap32 {
public:
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

    const uint32_t* Bits() const { return FBits.data(); }
    uint32_t* Bits() { return FBits.data(); }
    // No range check: (x, y) must lie inside the surface.
    uint32_t Pixel(int32_t x, int32_t y) const
    {
        return FBits[static_cast<size_t>(y) * static_cast<size_t>(FWidth) + static_cast<size_t>(x)];
    }

    // Same size: nothing happens. Otherwise fresh zeroed pixels, then the
    // change and the resize notification. Throws std::bad_alloc when the
    // pixels cannot be had; the surface is then empty (0 x 0).
    void SetSize(int32_t width, int32_t height);
    void Clear(TColor32 colour);
    // Half-open rectangle x1 <= x < x2, y1 <= y < y2, clipped.
    void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour);
    void FrameRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour);
    // Anti-aliased, clipped, without its end pixel. Sends no notification of
    // its own: callers draw lines inside an update and end with Changed.
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour);

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate()
    {
        if (FUpdateCount > 0)
            --FUpdateCount;
    }
    int32_t UpdateCount() const { return FUpdateCount; }
    // The change notification, held back while an update is under way.
    void Changed();
    // The resize notification, never held back.
    void Resized();

    std::function<void()> OnChange;
    std::function<void()> OnResize;

private:
    void HorizontalSpan(int64_t y, int64_t x1, int64_t x2, TColor32 colour);
    void VerticalSpan(int64_t x, int64_t y1, int64_t y2, TColor32 colour);
    void PlainLine(const TLineEnds& ends, TColor32 colour);
    void SmoothLine(const TLineEnds& ends, TColor32 colour);

    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int32_t FUpdateCount = 0;
    std::vector<uint32_t> FBits;
};
