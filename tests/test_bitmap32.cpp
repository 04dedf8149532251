#include "raster/bitmap32.h"
#include "raster/gamma.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TColor32 White = 0xFFFFFFFFu;
constexpr TColor32 Black = 0xFF000000u;
constexpr TColor32 Grey = 0xFF7F7F7Fu;
constexpr TColor32 DarkestStep = 0xFF020202u;
constexpr int32_t Min32 = std::numeric_limits<int32_t>::min();
constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();

TBitmap32 WhiteSurface(int32_t width, int32_t height)
{
    TBitmap32 surface;
    surface.SetSize(width, height);
    surface.Clear(White);
    return surface;
}

// One character per pixel: '.' white, '#' black, 'g' grey, '2' the darkest
// anti-aliased step, '?' anything else.
std::vector<std::string> Picture(const TBitmap32& surface)
{
    std::vector<std::string> rows;
    for (int32_t y = 0; y < surface.Height(); ++y) {
        std::string row;
        for (int32_t x = 0; x < surface.Width(); ++x) {
            switch (surface.Pixel(x, y)) {
            case White:
                row += '.';
                break;
            case Black:
                row += '#';
                break;
            case Grey:
                row += 'g';
                break;
            case DarkestStep:
                row += '2';
                break;
            default:
                row += '?';
                break;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<uint32_t> PixelsOf(const TBitmap32& surface)
{
    return {surface.Bits(), surface.Bits() + static_cast<size_t>(surface.Width()) * surface.Height()};
}

// The mixing rule byte by byte, written out plainly.
uint32_t ReferenceMix(uint32_t pixel, uint32_t colour, uint32_t weight)
{
    const uint32_t a = (weight * (colour >> 24)) >> 8;
    if (a == 0)
        return pixel;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int32_t p = static_cast<int32_t>((pixel >> shift) & 0xFF);
        const int32_t k = static_cast<int32_t>((colour >> shift) & 0xFF);
        const int32_t mixed = (256 * p + (k - p) * static_cast<int32_t>(a) + 128) >> 8;
        result |= static_cast<uint32_t>(mixed) << shift;
    }
    return result;
}

struct TNotifications {
    std::vector<std::string> Log;
    void Watch(TBitmap32& surface)
    {
        surface.OnChange = [this] { Log.push_back("change"); };
        surface.OnResize = [this] { Log.push_back("resize"); };
    }
};

// ---- gamma table ------------------------------------------------------

TEST(Gamma, TableHasTheTellingEntries)
{
    const std::pair<int, int> cases[] = {{0, 0},   {1, 5},     {2, 9},     {8, 23},    {16, 37},  {32, 60},
                                         {64, 97}, {128, 157}, {192, 209}, {254, 254}, {255, 255}};
    const TGammaTable& gamma = GammaTable();
    for (const auto& [index, value] : cases)
        EXPECT_EQ(gamma[static_cast<size_t>(index)], value) << "entry " << index;
}

TEST(Gamma, TableRisesAndNeverLightensAStepPair)
{
    const TGammaTable& gamma = GammaTable();
    for (size_t i = 1; i < 256; ++i)
        EXPECT_LE(gamma[i - 1], gamma[i]) << "entry " << i;
    // The two pixels of a step together are at least as dark as one full pixel.
    for (size_t w = 0; w < 256; ++w)
        EXPECT_GE(gamma[w] + gamma[255 - w], 255) << "weight " << w;
}

TEST(Gamma, TableIsBuiltOnce)
{
    EXPECT_EQ(&GammaTable(), &GammaTable());
}

// ---- size and notifications -------------------------------------------

TEST(Bitmap32, SetSizeCountsNegativeAsZero)
{
    TBitmap32 surface;
    surface.SetSize(-5, 7);
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_EQ(surface.Height(), 7);
    EXPECT_TRUE(surface.Empty());
    surface.SetSize(3, -1);
    EXPECT_EQ(surface.Width(), 3);
    EXPECT_EQ(surface.Height(), 0);
}

TEST(Bitmap32, SetSizeToNewSizeGivesZeroPixelsThenChangeAndResize)
{
    TBitmap32 surface = WhiteSurface(4, 3);
    TNotifications seen;
    seen.Watch(surface);
    surface.SetSize(5, 2);
    EXPECT_EQ(surface.Width(), 5);
    EXPECT_EQ(surface.Height(), 2);
    EXPECT_EQ(PixelsOf(surface), std::vector<uint32_t>(10, 0u));
    EXPECT_EQ(seen.Log, (std::vector<std::string>{"change", "resize"}));
}

TEST(Bitmap32, SetSizeToSameSizeKeepsPixelsAndNotifiesNothing)
{
    TBitmap32 surface = WhiteSurface(4, 3);
    surface.FillRect(1, 1, 2, 2, Black);
    const std::vector<uint32_t> before = PixelsOf(surface);
    const uint32_t* bitsBefore = surface.Bits();
    TNotifications seen;
    seen.Watch(surface);
    surface.SetSize(4, 3);
    EXPECT_EQ(PixelsOf(surface), before);
    EXPECT_EQ(surface.Bits(), bitsBefore);
    EXPECT_TRUE(seen.Log.empty());
}

TEST(Bitmap32, SetSizeDuringUpdateStillReportsTheResize)
{
    TBitmap32 surface;
    TNotifications seen;
    seen.Watch(surface);
    surface.BeginUpdate();
    surface.SetSize(3, 3);
    surface.EndUpdate();
    EXPECT_EQ(seen.Log, (std::vector<std::string>{"resize"}));
}

TEST(Bitmap32, SetSizeBeyondMemoryThrowsBadAllocAndLeavesTheSurfaceEmpty)
{
    TBitmap32 surface = WhiteSurface(4, 3);
    EXPECT_THROW(surface.SetSize(Max32, Max32), std::bad_alloc);
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_EQ(surface.Height(), 0);
    surface.SetSize(2, 2);
    EXPECT_EQ(PixelsOf(surface), std::vector<uint32_t>(4, 0u));
}

TEST(Bitmap32, UpdateCounterHoldsBackChangeNotifications)
{
    TBitmap32 surface = WhiteSurface(6, 6);
    TNotifications seen;
    seen.Watch(surface);
    surface.BeginUpdate();
    surface.BeginUpdate();
    surface.Clear(White);
    surface.FillRect(0, 0, 2, 2, Black);
    surface.FrameRect(0, 0, 6, 6, Grey);
    surface.Changed();
    surface.EndUpdate();
    surface.Changed();
    EXPECT_TRUE(seen.Log.empty());
    surface.EndUpdate();
    EXPECT_TRUE(seen.Log.empty()) << "ending an update sends nothing by itself";
    surface.Changed();
    EXPECT_EQ(seen.Log, (std::vector<std::string>{"change"}));
}

TEST(Bitmap32, ClearOnEmptySurfaceStillNotifies)
{
    TBitmap32 surface;
    TNotifications seen;
    seen.Watch(surface);
    surface.Clear(White);
    EXPECT_EQ(seen.Log, (std::vector<std::string>{"change"}));
}

// ---- rectangles -------------------------------------------------------

struct TRectCase {
    const char* Name;
    int32_t X1, Y1, X2, Y2;
    std::vector<std::string> Expected;
};

TEST(Bitmap32, FillRectFillsTheHalfOpenRectangleClipped)
{
    const std::vector<std::string> blank(5, "........");
    const TRectCase cases[] = {
        {"inside", 2, 1, 5, 3, {"........", "..###...", "..###...", "........", "........"}},
        {"over top left", -3, -2, 2, 1, {"##......", "........", "........", "........", "........"}},
        {"over bottom right", 6, 3, 20, 20, {"........", "........", "........", "......##", "......##"}},
        {"left of surface into it", -3, 1, 1, 5, {"........", "#.......", "#.......", "#.......", "#......."}},
        {"over everything", -9, -9, 99, 99, std::vector<std::string>(5, "########")},
        {"last pixel", 7, 4, 8, 5, {"........", "........", "........", "........", ".......#"}},
        {"no width", 3, 1, 3, 4, blank},
        {"reversed", 5, 1, 2, 4, blank},
        {"right of surface", 8, 0, 10, 2, blank},
        {"below surface", 0, 5, 2, 7, blank},
        {"left of surface", -4, 0, 0, 2, blank},
        {"above surface", 0, -3, 2, 0, blank},
    };
    for (const TRectCase& c : cases) {
        TBitmap32 surface = WhiteSurface(8, 5);
        TNotifications seen;
        seen.Watch(surface);
        surface.FillRect(c.X1, c.Y1, c.X2, c.Y2, Black);
        EXPECT_EQ(Picture(surface), c.Expected) << c.Name;
        EXPECT_EQ(seen.Log.size(), c.Expected != blank ? 1u : 0u) << c.Name;
    }
}

TEST(Bitmap32, FrameRectOfWholeSurfaceCoversTheOutermostPixels)
{
    TBitmap32 surface = WhiteSurface(6, 4);
    surface.FrameRect(0, 0, 6, 4, Grey);
    EXPECT_EQ(Picture(surface), (std::vector<std::string>{"gggggg", "g....g", "g....g", "gggggg"}));
}

TEST(Bitmap32, FrameRectDrawsEachSideClippedOnItsOwn)
{
    const std::vector<std::string> blank(5, "........");
    const TRectCase cases[] = {
        {"inside", 1, 1, 5, 5, {"........", ".####...", ".#..#...", ".#..#...", ".####..."}},
        {"one row", 2, 2, 6, 3, {"........", "........", "..####..", "........", "........"}},
        {"two rows", 2, 2, 6, 4, {"........", "........", "..####..", "..####..", "........"}},
        {"one column", 3, 0, 4, 4, {"...#....", "...#....", "...#....", "...#....", "........"}},
        {"over top left", -2, -2, 4, 3, {"...#....", "...#....", "####....", "........", "........"}},
        {"over bottom right", 5, 2, 12, 12, {"........", "........", ".....###", ".....#..", ".....#.."}},
        {"around the surface", -1, -1, 9, 6, blank},
        {"reversed", 5, 1, 2, 4, blank},
        {"right of surface", 8, 0, 10, 2, blank},
    };
    for (const TRectCase& c : cases) {
        TBitmap32 surface = WhiteSurface(8, 5);
        surface.FrameRect(c.X1, c.Y1, c.X2, c.Y2, Black);
        EXPECT_EQ(Picture(surface), c.Expected) << c.Name;
    }
}

TEST(Bitmap32, FrameRectRejectsLikeFillRectWithoutNotifying)
{
    TBitmap32 surface = WhiteSurface(8, 5);
    TNotifications seen;
    seen.Watch(surface);
    surface.FrameRect(0, 5, 8, 9, Black);
    surface.FrameRect(3, 3, 3, 4, Black);
    EXPECT_TRUE(seen.Log.empty());
    surface.FrameRect(-1, -1, 9, 6, Black);
    EXPECT_EQ(seen.Log.size(), 1u) << "a frame round the surface is drawn, only clipped away";
}

// ---- plain lines ------------------------------------------------------

TEST(Bitmap32, StraightLinesStopBeforeTheirEndPixel)
{
    struct TStraightCase {
        const char* Name;
        int32_t X1, Y1, X2, Y2;
        bool Horizontal;
        int32_t First, Last;
    };
    const TStraightCase cases[] = {
        {"leftwards", 10, 5, 3, 5, true, 4, 10},    {"rightwards", 3, 5, 10, 5, true, 3, 9},
        {"upwards", 5, 10, 5, 3, false, 4, 10},     {"downwards", 5, 3, 5, 10, false, 3, 9},
        {"one pixel long", 7, 2, 8, 2, true, 7, 7}, {"to its own start", 4, 4, 4, 4, true, 1, 0},
    };
    for (const TStraightCase& c : cases) {
        TBitmap32 surface = WhiteSurface(12, 12);
        surface.Line(c.X1, c.Y1, c.X2, c.Y2, Black);
        for (int32_t y = 0; y < 12; ++y)
            for (int32_t x = 0; x < 12; ++x) {
                const int32_t along = c.Horizontal ? x : y;
                const bool onLine = (c.Horizontal ? y == c.Y1 : x == c.X1) && along >= c.First && along <= c.Last;
                EXPECT_EQ(surface.Pixel(x, y), onLine ? Black : White) << c.Name << " at " << x << "," << y;
            }
    }
}

// ---- anti-aliased lines -----------------------------------------------

struct TLineCase {
    const char* Name;
    int32_t X1, Y1, X2, Y2;
    std::vector<std::string> Expected;
};

TEST(Bitmap32, DiagonalLinesAreAStaircaseOfDarkestSteps)
{
    const TLineCase cases[] = {
        {"down right", 0, 0, 5, 5, {"#.....", ".2....", "..2...", "...2..", "....2.", "......"}},
        {"down left", 5, 0, 0, 5, {".....#", "....2.", "...2..", "..2...", ".2....", "......"}},
        {"up left", 5, 5, 0, 0, {"......", ".2....", "..2...", "...2..", "....2.", ".....#"}},
    };
    for (const TLineCase& c : cases) {
        TBitmap32 surface = WhiteSurface(6, 6);
        surface.Line(c.X1, c.Y1, c.X2, c.Y2, Black);
        EXPECT_EQ(Picture(surface), c.Expected) << c.Name;
    }
}

TEST(Bitmap32, ShallowLineIsTwoPixelsWideShadedByTheGammaTable)
{
    // Line (0, 0) to (7, 2): step 18724; the accumulator wraps once, before x = 4.
    struct TColumn {
        int32_t X;
        int32_t Row;
        uint32_t Weight;
    };
    const TColumn columns[] = {{1, 0, 73}, {2, 0, 146}, {3, 0, 219}, {4, 1, 36}, {5, 1, 109}, {6, 1, 182}};
    TBitmap32 surface = WhiteSurface(9, 4);
    surface.Line(0, 0, 7, 2, Black);
    const TGammaTable& gamma = GammaTable();

    EXPECT_EQ(surface.Pixel(0, 0), Black);
    for (const TColumn& c : columns) {
        EXPECT_EQ(surface.Pixel(c.X, c.Row), ReferenceMix(White, Black, gamma[255 - c.Weight])) << "x " << c.X;
        EXPECT_EQ(surface.Pixel(c.X, c.Row + 1), ReferenceMix(White, Black, gamma[c.Weight])) << "x " << c.X;
        int shaded = 0;
        for (int32_t y = 0; y < 4; ++y)
            shaded += surface.Pixel(c.X, y) != White ? 1 : 0;
        EXPECT_EQ(shaded, 2) << "x " << c.X;
    }
    for (int32_t y = 0; y < 4; ++y) {
        EXPECT_EQ(surface.Pixel(7, y), White) << "end column, row " << y;
        EXPECT_EQ(surface.Pixel(8, y), White);
    }
}

TEST(Bitmap32, SteepLineIsTheShallowLineTransposed)
{
    TBitmap32 shallow = WhiteSurface(9, 4);
    shallow.Line(0, 0, 7, 2, Black);
    TBitmap32 steep = WhiteSurface(4, 9);
    steep.Line(0, 0, 2, 7, Black);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 9; ++x)
            EXPECT_EQ(shallow.Pixel(x, y), steep.Pixel(y, x)) << x << "," << y;
}

TEST(Bitmap32, SmoothLineMixesIntoWhatIsThere)
{
    TBitmap32 surface;
    surface.SetSize(9, 4);
    surface.Clear(0xFF336699u);
    surface.Line(0, 0, 7, 2, 0x80FF0000u);
    const TGammaTable& gamma = GammaTable();
    EXPECT_EQ(surface.Pixel(0, 0), 0x80FF0000u) << "the start pixel is set, not mixed";
    EXPECT_EQ(surface.Pixel(2, 0), ReferenceMix(0xFF336699u, 0x80FF0000u, gamma[255 - 146]));
    EXPECT_EQ(surface.Pixel(2, 1), ReferenceMix(0xFF336699u, 0x80FF0000u, gamma[146]));
}

TEST(Bitmap32, MixPixelFollowsTheByteRuleForEveryWeight)
{
    const uint32_t pixels[] = {0xFFFFFFFFu, 0x00000000u, 0x80FF0010u, 0xFF336699u};
    const uint32_t colours[] = {0xFF000000u, 0xFFFF0000u, 0x80FFFFFFu, 0x00123456u, 0xFFFFFFFFu};
    for (uint32_t pixel : pixels)
        for (uint32_t colour : colours)
            for (uint32_t weight = 0; weight < 256; ++weight)
                ASSERT_EQ(MixPixel(pixel, colour, weight), ReferenceMix(pixel, colour, weight))
                    << std::hex << pixel << " " << colour << " " << std::dec << weight;
}

// ---- clipping ---------------------------------------------------------

struct TClipCase {
    const char* Name;
    int32_t X1, Y1, X2, Y2;
    // The line inside the surface that must give the same picture.
    int32_t InX1, InY1, InX2, InY2;
};

void ExpectSamePicture(const TClipCase& c, int32_t width, int32_t height)
{
    TBitmap32 far = WhiteSurface(width, height);
    far.Line(c.X1, c.Y1, c.X2, c.Y2, Black);
    TBitmap32 near = WhiteSurface(width, height);
    near.Line(c.InX1, c.InY1, c.InX2, c.InY2, Black);
    EXPECT_EQ(Picture(far), Picture(near)) << c.Name;
}

TEST(Bitmap32, LinesAreClippedAtEveryBorder)
{
    const TClipCase cases[] = {
        {"end beyond right", 5, 5, 20, 5, 5, 5, 9, 5},
        {"end beyond left", 5, 5, -10, 5, 5, 5, 0, 5},
        {"end above", 5, 5, 5, -10, 5, 5, 5, 0},
        {"end below", 5, 5, 5, 20, 5, 5, 5, 9},
        {"start beyond left", -10, 5, 5, 5, 0, 5, 5, 5},
        {"start above", 5, -10, 5, 5, 5, 0, 5, 5},
        // At y = 9 the end's x is 16; at x = 9 its y is 9 - 3.5, and the half goes away from zero.
        {"through bottom then right", 2, 2, 22, 12, 2, 2, 9, 5},
        {"through left and right", -10, 0, 19, 9, 0, 3, 9, 6},
        {"corner to corner beyond", -5, -5, 14, 14, 0, 0, 9, 9},
        {"from beyond top right", 20, -6, 4, 2, 8, 0, 4, 2},
        // Entirely outside: the same as a line that draws nothing.
        {"wholly left", -5, 0, -1, 9, 0, 0, 0, 0},
        {"wholly right", 10, 0, 15, 9, 0, 0, 0, 0},
        {"wholly above", 0, -5, 9, -1, 0, 0, 0, 0},
        {"wholly below", 0, 10, 9, 15, 0, 0, 0, 0},
        {"past the top left corner", -10, 2, 2, -10, 0, 0, 0, 0},
        {"past the bottom right corner", 15, 7, 7, 15, 0, 0, 0, 0},
    };
    for (const TClipCase& c : cases)
        ExpectSamePicture(c, 10, 10);
}

TEST(Bitmap32, LinkLeavingTheSurfaceLeavesItsLastBorderPixelWhite)
{
    TBitmap32 surface = WhiteSurface(10, 10);
    surface.Line(5, 5, 40, 5, Black);
    EXPECT_EQ(surface.Pixel(8, 5), Black);
    EXPECT_EQ(surface.Pixel(9, 5), White);
    surface.Line(2, 2, 22, 12, Black);
    for (int32_t y = 0; y < 10; ++y)
        EXPECT_NE(surface.Pixel(9, y), Black) << "row " << y;
    EXPECT_EQ(surface.Pixel(9, 5), White);
}

TEST(Bitmap32, LinesOnAnEmptySurfaceDrawNothing)
{
    TBitmap32 surface;
    surface.SetSize(0, 5);
    surface.Line(0, 0, 3, 3, Black);
    surface.Line(-5, 2, 5, 2, Black);
    EXPECT_EQ(surface.Bits(), nullptr);
}

TEST(Bitmap32, EndsAnywhereInThe32BitRangeClipWithoutOverflow)
{
    const TClipCase cases[] = {
        {"diagonal over the whole range", Min32, Min32, Max32, Max32, 0, 0, 9, 9},
        {"horizontal over the whole range", Min32, 3, Max32, 3, 0, 3, 9, 3},
        {"vertical over the whole range", 4, Max32, 4, Min32, 4, 9, 4, 0},
        // x at y = 0 is 5 + 2^31 / (2^32 - 1), just over a half.
        {"steep over the whole range", 5, Min32, 6, Max32, 6, 0, 6, 9},
        {"from far right to inside", Max32, 5, 2, 5, 9, 5, 2, 5},
        {"from far corner to inside", Max32, Max32, 0, 0, 9, 9, 0, 0},
        {"far corners through the surface", Min32, Max32, Max32, Min32 + 20, 0, 9, 9, 0},
        {"far corners missing the surface", Min32, Max32, Max32, Min32 + 60, 0, 0, 0, 0},
        {"far outside on one side", Min32, Min32, Max32, -1, 0, 0, 0, 0},
    };
    for (const TClipCase& c : cases)
        ExpectSamePicture(c, 10, 10);
}

TEST(Bitmap32, MulDivRoundsHalvesAwayFromZeroAndKeepsFullProducts)
{
    struct TMulDivCase {
        int64_t P, Q, R, Expected;
    };
    const TMulDivCase cases[] = {
        {7, 1, 2, 4},
        {-7, 1, 2, -4},
        {7, -1, 2, -4},
        {-7, -1, -2, -4},
        {5, 1, 3, 2},
        {4, 1, 3, 1},
        {-4, 1, 3, -1},
        {0, -5, 3, 0},
        {4294967295LL, 4294967295LL, 4294967295LL, 4294967295LL},
        {-4294967295LL, 4294967294LL, 4294967295LL, -4294967294LL},
        {2147483648LL, 1, 4294967295LL, 1},
    };
    for (const TMulDivCase& c : cases)
        EXPECT_EQ(MulDiv(c.P, c.Q, c.R), c.Expected) << c.P << " * " << c.Q << " / " << c.R;
}

// Distance of (x, y) from the infinite line through the segment's ends.
long double DistanceFromLine(const TLineEnds& line, long double x, long double y)
{
    const long double dx = static_cast<long double>(line.X2 - line.X1);
    const long double dy = static_cast<long double>(line.Y2 - line.Y1);
    const long double cross = dx * (y - line.Y1) - dy * (x - line.X1);
    return std::fabs(cross) / std::sqrt(dx * dx + dy * dy);
}

// Whether the segment passes through the rectangle [lo, hiX] x [lo, hiY],
// by parametric clipping in long double.
bool SegmentMeetsBox(const TLineEnds& line, long double lo, long double hiX, long double hiY)
{
    long double t0 = 0, t1 = 1;
    const long double dx = static_cast<long double>(line.X2 - line.X1);
    const long double dy = static_cast<long double>(line.Y2 - line.Y1);
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {line.X1 - lo, hiX - line.X1, line.Y1 - lo, hiY - line.Y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const long double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

TEST(Bitmap32, ClippedEndsOfFarLinesLieInsideAndOnTheTrueLine)
{
    const int32_t width = 64;
    const int32_t height = 48;
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int32_t> anywhere(Min32, Max32);
    std::uniform_int_distribution<int32_t> nearby(-200, 200);
    std::uniform_int_distribution<int32_t> offset(-(1 << 30), 1 << 30);
    std::uniform_int_distribution<int32_t> insideX(0, width - 1);
    std::uniform_int_distribution<int32_t> insideY(0, height - 1);
    std::uniform_int_distribution<int> kind(0, 2);
    auto coordinate = [&] { return kind(random) == 0 ? nearby(random) : anywhere(random); };
    // Every third line runs through a pixel of the surface from far away on both sides.
    auto sample = [&](int i) {
        if (i % 3 != 0)
            return TLineEnds{coordinate(), coordinate(), coordinate(), coordinate()};
        const int64_t cx = insideX(random), cy = insideY(random), ox = offset(random), oy = offset(random);
        return TLineEnds{cx + ox, cy + oy, cx - ox, cy - oy};
    };

    TBitmap32 surface = WhiteSurface(width, height);
    int kept = 0;
    for (int i = 0; i < 30000; ++i) {
        const TLineEnds original = sample(i);
        TLineEnds clipped = original;
        if (ClipLine(clipped, width, height)) {
            ++kept;
            for (auto [x, y] : {std::pair{clipped.X1, clipped.Y1}, std::pair{clipped.X2, clipped.Y2}}) {
                ASSERT_TRUE(x >= 0 && x < width && y >= 0 && y < height) << "line " << i;
                if (original.X1 != original.X2 || original.Y1 != original.Y2) {
                    ASSERT_LE(DistanceFromLine(original, x, y), 2.01L) << "line " << i;
                }
            }
        } else {
            ASSERT_FALSE(SegmentMeetsBox(original, 3, width - 4, height - 4)) << "line " << i << " lost";
        }
        surface.Line(static_cast<int32_t>(original.X1), static_cast<int32_t>(original.Y1),
                     static_cast<int32_t>(original.X2), static_cast<int32_t>(original.Y2), Black);
    }
    EXPECT_GT(kept, 10000) << "the sample should cross the surface often";
}

// ---- very long lines ----------------------------------------------------

// A step that rounds down to 0 must not move the minor coordinate on every
// pixel, or the line would run off the surface.
TEST(Bitmap32, ShallowLineOverTwoToTheSixteenLongStaysOnItsRow)
{
    const int32_t length = 70000;
    TBitmap32 surface = WhiteSurface(length, 3);
    surface.Line(0, 0, length - 1, 1, Black);
    EXPECT_EQ(surface.Pixel(0, 0), Black);
    for (int32_t x = 1; x < length - 1; ++x)
        ASSERT_EQ(surface.Pixel(x, 0), DarkestStep) << "x " << x;
    EXPECT_EQ(surface.Pixel(length - 1, 0), White);
    for (int32_t y = 1; y < 3; ++y)
        for (int32_t x = 0; x < length; ++x)
            ASSERT_EQ(surface.Pixel(x, y), White) << x << "," << y;
}

TEST(Bitmap32, SteepLineOverTwoToTheSixteenLongStaysInItsColumn)
{
    const int32_t length = 70000;
    TBitmap32 surface = WhiteSurface(3, length);
    surface.Line(2, length - 1, 1, 0, Black);
    EXPECT_EQ(surface.Pixel(2, length - 1), Black);
    for (int32_t y = 1; y < length - 1; ++y)
        ASSERT_EQ(surface.Pixel(2, y), DarkestStep) << "y " << y;
    for (int32_t y = 0; y < length; ++y) {
        ASSERT_EQ(surface.Pixel(0, y), White) << "y " << y;
        ASSERT_EQ(surface.Pixel(1, y), White) << "y " << y;
    }
}

}  // namespace

TEST(Bitmap32FillRect, SurfaceWithoutColumnsFillsNothingAndStillNotifies)
{
    TBitmap32 surface;
    surface.SetSize(0, INT32_MAX);
    int changes = 0;
    surface.OnChange = [&] { ++changes; };
    surface.FillRect(-1, 0, 1, INT32_MAX, 0xFF000000u);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(surface.Width(), 0);
}
