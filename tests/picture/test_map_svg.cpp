#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdlib>
#include <set>
#include <string>

#include "picture/map_svg.h"
#include "raster/map_render.h"

namespace {

// Pixels where the SVG, drawn back by Qt's own renderer and smoothed as a
// browser would, is more than a shade away from the bitmap. Shades of
// smoothed lines differ a little between renderers; squares, frame and
// ground must not.
int DifferentPixels(const TBitmap32& bitmap, const std::string& svg)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
    image.fill(Qt::blue);
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    int count = 0;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            const uint32_t ours = bitmap.Pixel(x, y);
            const uint32_t theirs = image.pixel(x, y);
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(static_cast<int>((ours >> shift) & 0xFF) - static_cast<int>((theirs >> shift) & 0xFF)) >
                    48) {
                    ++count;
                    break;
                }
        }
    }
    return count;
}

TEST(MapSvg, DrawsTheSameShapesAsTheBitmap)
{
    const std::pair<const char*, TPointArray> cases[] = {
        {"squares only, one cut by the edge", {{3, 2, -1}, {40, 30, -1}, {77, 55, -1}, {-2, 20, -1}}},
        {"straight links", {{10, 10, 1}, {50, 10, 2}, {50, 40, 3}, {5, 40, -1}}},
        {"link leaving the map", {{10, 10, 1}, {500, 10, -1}}},
        {"diagonal links", {{10, 10, 1}, {70, 50, 2}, {20, 55, 3}, {75, 5, -1}}},
        {"far coordinates", {{2147483647, 2147483647, 1}, {0, 0, 2}, {-2147483647, 30, -1}}},
    };
    const auto isSelected = [](int32_t i) { return i == 1; };
    for (const auto& [name, points] : cases) {
        TBitmap32 bitmap;
        RenderMap(bitmap, 80, 60, points, isSelected);
        const std::string svg = EncodeMapSvg(points, 80, 60, isSelected);
        EXPECT_EQ(svg.find("<image"), std::string::npos) << name;
        EXPECT_NE(svg.find("<svg width=\"80\" height=\"60\""), std::string::npos) << name;
        EXPECT_EQ(DifferentPixels(bitmap, svg), 0) << name << "\n" << svg;
    }
}

TEST(MapSvg, FitPlacesTheShapesLikeTheBitmap)
{
    const TPointArray points = {{0, 0, 1}, {4000, 0, 2}, {4000, 3000, -1}};
    const TMapFit fit = FitMapToPoints(points, 200, 160);
    TBitmap32 bitmap;
    RenderMap(bitmap, 200, 160, points, {}, fit);
    EXPECT_EQ(DifferentPixels(bitmap, EncodeMapSvg(points, 200, 160, {}, fit)), 0);
}

}  // namespace
