#include "picture/map_svg.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

#include "raster/bitmap32.h"
#include "raster/map_shapes.h"

namespace {

// Paints the shapes with a painter on an SVG generator, cut to the picture
// the way the bitmap cuts them, so no coordinate far outside reaches a
// viewer that keeps only single precision. Squares are filled rectangles
// and links 1-pixel strokes: a stroke around a square would need mitred
// corners, which viewers that draw thin strokes without joins cut off.
class TSvgSink final : public TMapSink {
public:
    TSvgSink(QPainter& painter, int32_t width, int32_t height) : FPainter(painter), FWidth(width), FHeight(height) {}

    void Clear(TColor32 colour) override { FillRect(0, 0, FWidth, FHeight, colour); }

    void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) override
    {
        const int32_t left = std::max(x1, 0);
        const int32_t top = std::max(y1, 0);
        const int32_t right = std::min(x2, FWidth);
        const int32_t bottom = std::min(y2, FHeight);
        if (left < right && top < bottom)
            FPainter.fillRect(QRectF(left, top, right - left, bottom - top), QColor::fromRgba(colour));
    }

    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) override
    {
        TLineEnds ends{x1, y1, x2, y2};
        if (!ClipLine(ends, FWidth, FHeight) || (ends.X1 == ends.X2 && ends.Y1 == ends.Y2))
            return;
        // The bitmap covers the pixels from the first end up to the one
        // before the last along the longer axis. A line through the pixel
        // centres with flat ends, both ends moved back half a pixel along
        // that axis, covers the same pixels.
        const double dx = static_cast<double>(ends.X2 - ends.X1);
        const double dy = static_cast<double>(ends.Y2 - ends.Y1);
        const double back = 0.5 / std::max(std::abs(dx), std::abs(dy));
        const QPointF shift(dx * back, dy * back);
        const QPointF from(static_cast<double>(ends.X1) + 0.5, static_cast<double>(ends.Y1) + 0.5);
        const QPointF to(static_cast<double>(ends.X2) + 0.5, static_cast<double>(ends.Y2) + 0.5);
        FPainter.setPen(QPen(QColor::fromRgba(colour), 1.0, Qt::SolidLine, Qt::FlatCap));
        FPainter.drawLine(from - shift, to - shift);
    }

    void FrameRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 colour) override
    {
        if (x1 >= x2 || y1 >= y2)
            return;
        FillRect(x1, y1, x2, y1 + 1, colour);
        FillRect(x1, y2 - 1, x2, y2, colour);
        FillRect(x1, y1 + 1, x1 + 1, y2 - 1, colour);
        FillRect(x2 - 1, y1 + 1, x2, y2 - 1, colour);
    }

private:
    QPainter& FPainter;
    int32_t FWidth;
    int32_t FHeight;
};

// The generator states the picture's size in millimetres at its resolution;
// a map is measured in pixels, so a viewer shows it one to one.
std::string WithPixelSize(std::string svg, int32_t width, int32_t height)
{
    const std::string head = "<svg width=\"";
    const size_t start = svg.find(head);
    const size_t end = start == std::string::npos ? std::string::npos : svg.find(" viewBox=", start);
    if (end == std::string::npos)
        return svg;
    svg.replace(start, end - start, head + std::to_string(width) + "\" height=\"" + std::to_string(height) + "\"\n");
    return svg;
}

}  // namespace

std::string EncodeMapSvg(const TPointArray& points, int32_t width, int32_t height,
                         const std::function<bool(int32_t)>& isSelected, const TMapFit& fit)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setTitle(QStringLiteral("Mapa punktów"));
    generator.setDescription(QStringLiteral("Tovu"));
    {
        QPainter painter(&generator);
        painter.setRenderHint(QPainter::Antialiasing, false);
        // The generator writes the font into every group; without one of a
        // definite size viewers complain about a size of -1.
        QFont font;
        font.setPointSize(10);
        painter.setFont(font);
        TSvgSink sink(painter, width, height);
        DrawMapShapes(sink, width, height, points, isSelected, fit);
    }
    return WithPixelSize(bytes.toStdString(), width, height);
}
