#include "raster/map_render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int32_t Max32 = std::numeric_limits<int32_t>::max();

// One character per pixel: '.' white, '#' black, 'r' red, 'g' grey,
// '?' anything else (anti-aliased shades).
std::vector<std::string> Picture(const TBitmap32& surface)
{
    std::vector<std::string> rows;
    for (int32_t y = 0; y < surface.Height(); ++y) {
        std::string row;
        for (int32_t x = 0; x < surface.Width(); ++x) {
            switch (surface.Pixel(x, y)) {
            case 0xFFFFFFFFu:
                row += '.';
                break;
            case 0xFF000000u:
                row += '#';
                break;
            case 0xFFFF0000u:
                row += 'r';
                break;
            case 0xFF7F7F7Fu:
                row += 'g';
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

std::vector<std::string> Render(int32_t width, int32_t height, const TPointArray& points,
                                const std::set<int32_t>& selected = {})
{
    TBitmap32 surface;
    RenderMap(surface, width, height, points, [&](int32_t i) { return selected.count(i) != 0; });
    return Picture(surface);
}

const std::vector<std::string> EmptyMap = {
    "gggggggggggg",  //
    "g..........g",  //
    "g..........g",  //
    "g..........g",  //
    "g..........g",  //
    "g..........g",  //
    "g..........g",  //
    "g..........g",  //
    "g..........g",  //
    "gggggggggggg",  //
};

TEST(MapRender, NoPointsGiveWhiteWithGreyFrame)
{
    EXPECT_EQ(Render(12, 10, {}), EmptyMap);
}

struct TMapCase {
    const char* Name;
    TPointArray Points;
    std::set<int32_t> Selected;
    std::vector<std::string> Expected;
};

TEST(MapRender, DrawsSquaresLinksAndFrameInOrder)
{
    const TMapCase cases[] = {
        {"unselected point is a black 4 x 4 square from its top left",
         {{3, 2, -1}},
         {},
         {"gggggggggggg", "g..........g", "g..####....g", "g..####....g", "g..####....g", "g..####....g",
          "g..........g", "g..........g", "g..........g", "gggggggggggg"}},
        {"selected point is a red 6 x 6 square",
         {{3, 2, -1}},
         {0},
         {"gggggggggggg", "g..........g", "g..rrrrrr..g", "g..rrrrrr..g", "g..rrrrrr..g", "g..rrrrrr..g",
          "g..rrrrrr..g", "g..rrrrrr..g", "g..........g", "gggggggggggg"}},
        {"point at W - 2, H - 2 is cut to one pixel by the frame",
         {{10, 8, -1}},
         {},
         {"gggggggggggg", "g..........g", "g..........g", "g..........g", "g..........g", "g..........g",
          "g..........g", "g..........g", "g.........#g", "gggggggggggg"}},
        {"point at -3, 5 lies under the frame", {{-3, 5, -1}}, {}, EmptyMap},
        {"link starts on the red square's corner and ends before the next square",
         {{2, 2, 1}, {9, 2, -1}},
         {0},
         {"gggggggggggg", "g..........g", "g.#########g", "g.rrrrrr.##g", "g.rrrrrr.##g", "g.rrrrrr.##g",
          "g.rrrrrr...g", "g.rrrrrr...g", "g..........g", "gggggggggggg"}},
        {"later point paints over an earlier red square",
         {{2, 2, -1}, {5, 4, -1}},
         {0},
         {"gggggggggggg", "g..........g", "g.rrrrrr...g", "g.rrrrrr...g", "g.rrr####..g", "g.rrr####..g",
          "g.rrr####..g", "g.rrr####..g", "g..........g", "gggggggggggg"}},
        {"link to a point at the same place draws nothing",
         {{4, 3, 1}, {4, 3, -1}},
         {},
         {"gggggggggggg", "g..........g", "g..........g", "g...####...g", "g...####...g", "g...####...g",
          "g...####...g", "g..........g", "g..........g", "gggggggggggg"}},
        {"link leaving the surface stops at the frame",
         {{5, 6, 1}, {40, 6, -1}},
         {},
         {"gggggggggggg", "g..........g", "g..........g", "g..........g", "g..........g", "g..........g",
          "g....######g", "g....####..g", "g....####..g", "gggggggggggg"}},
        {"earlier link lies under a later red square",
         {{7, 7, 1}, {7, 1, -1}},
         {1},
         {"gggggggggggg", "g......rrrrg", "g......rrrrg", "g......rrrrg", "g......rrrrg", "g......rrrrg",
          "g......rrrrg", "g......####g", "g......####g", "gggggggggggg"}},
        {"later link and square cross an earlier red square",
         {{2, 2, -1}, {9, 4, 2}, {0, 4, -1}},
         {0},
         {"gggggggggggg", "g..........g", "g.rrrrrr...g", "g.rrrrrr...g", "g##########g", "g###rrrr.##g",
          "g###rrrr.##g", "g###rrrr.##g", "g..........g", "gggggggggggg"}},
        {"selection of a point without a row is ignored",
         {{3, 2, -1}},
         {5},
         {"gggggggggggg", "g..........g", "g..####....g", "g..####....g", "g..####....g", "g..####....g",
          "g..........g", "g..........g", "g..........g", "gggggggggggg"}},
    };
    for (const TMapCase& c : cases)
        EXPECT_EQ(Render(12, 10, c.Points, c.Selected), c.Expected) << c.Name;
}

TEST(MapRender, EmptySelectionCallbackSelectsNothing)
{
    TBitmap32 surface;
    RenderMap(surface, 12, 10, {{3, 2, -1}}, {});
    EXPECT_EQ(Picture(surface), Render(12, 10, {{3, 2, -1}}, {}));
}

TEST(MapRender, SizesTheSurfaceToTheGivenSize)
{
    TBitmap32 surface;
    RenderMap(surface, 7, 5, {}, {});
    EXPECT_EQ(surface.Width(), 7);
    EXPECT_EQ(surface.Height(), 5);
    RenderMap(surface, -4, 3, {{1, 1, -1}}, {});
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_EQ(surface.Height(), 3);
}

TEST(MapRender, FirstDrawAnnouncesTheNewSizeAndOneChangeForTheDrawing)
{
    TBitmap32 surface;
    std::vector<std::string> log;
    surface.OnChange = [&] { log.push_back("change"); };
    surface.OnResize = [&] { log.push_back("resize"); };
    RenderMap(surface, 12, 10, {{1, 1, 1}, {5, 5, 0}}, {});
    // SetSize, the explicit resize, Clear, then the single change for all squares, links and the frame.
    EXPECT_EQ(log, (std::vector<std::string>{"change", "resize", "resize", "change", "change"}));
}

TEST(MapRender, RedrawAtSameSizeKeepsThePixelsAndStillReportsTheSize)
{
    TBitmap32 surface;
    RenderMap(surface, 12, 10, {{1, 1, -1}}, {});
    const uint32_t* bits = surface.Bits();
    std::vector<std::string> log;
    surface.OnChange = [&] { log.push_back("change"); };
    surface.OnResize = [&] { log.push_back("resize"); };
    RenderMap(surface, 12, 10, {{3, 2, -1}}, {});
    EXPECT_EQ(surface.Bits(), bits);
    EXPECT_EQ(log, (std::vector<std::string>{"resize", "change", "change"}));
    EXPECT_EQ(Picture(surface), Render(12, 10, {{3, 2, -1}}));
    EXPECT_EQ(surface.UpdateCount(), 0);
}

TEST(MapRender, ThrowingSelectionLeavesTheSurfaceOutOfUpdate)
{
    TBitmap32 surface;
    EXPECT_THROW(RenderMap(surface, 12, 10, {{1, 1, -1}}, [](int32_t) -> bool { throw 1; }), int);
    EXPECT_EQ(surface.UpdateCount(), 0);
}

TEST(MapRender, PointsAtTheEdgeOfTheIntegerRangeDrawOnlyTheirClippedLinks)
{
    TBitmap32 surface;
    RenderMap(surface, 12, 10, {{Max32 - 1, Max32 - 1, 1}, {0, 0, 0}, {Max32, Max32 / 2, 1}}, {});

    TBitmap32 expected;
    expected.SetSize(12, 10);
    expected.Clear(MapBackgroundColor);
    expected.Line(9, 9, 0, 0, MapLinkColor);
    expected.FillRect(0, 0, 4, 4, MapPointColor);
    expected.Line(0, 0, 9, 9, MapLinkColor);
    expected.Line(11, 5, 0, 0, MapLinkColor);
    expected.FrameRect(0, 0, 12, 10, MapFrameColor);
    EXPECT_EQ(Picture(surface), Picture(expected));
}

TEST(MapRender, LinkToAMissingPointIsSkipped)
{
    EXPECT_EQ(Render(12, 10, {{3, 2, 7}}), Render(12, 10, {{3, 2, -1}}));
}

}  // namespace
