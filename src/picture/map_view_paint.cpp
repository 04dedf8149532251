#include "picture/map_view_paint.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "raster/map_shapes.h"
#include "raster/map_view.h"

namespace {

constexpr double PixelsPerInch = 96.0;
constexpr double MillimetresPerInch = 25.4;

QColor Colour(TColor32 colour)
{
    return QColor::fromRgba(colour);
}

QFont LabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(MapLabelFontPx));
    return font;
}

void PaintLabels(QPainter& painter, const std::vector<TViewLabel>& labels)
{
    if (labels.empty())
        return;
    const QFont font = LabelFont();
    painter.setFont(font);
    painter.setPen(Colour(MapLabelColor));
    const QFontMetricsF metrics(font);
    // The text's middle on the label's centre line.
    const double lift = (metrics.ascent() - metrics.descent()) / 2;
    for (const TViewLabel& label : labels)
        painter.drawText(QPointF(label.X, label.Y + lift), QString::number(label.Point));
}

// A start's disc or an end's diamond, with no outline.
void PaintEndMark(QPainter& painter, const TViewMark& mark)
{
    const double half = mark.Size / 2;
    if (mark.Kind == TViewMarkKind::Start) {
        painter.setBrush(Colour(MapStartColor));
        painter.drawEllipse(QPointF(mark.X, mark.Y), half, half);
        return;
    }
    painter.setBrush(Colour(MapEndColor));
    const QPointF corners[] = {{mark.X, mark.Y - half - 1},
                               {mark.X + half + 1, mark.Y},
                               {mark.X, mark.Y + half + 1},
                               {mark.X - half - 1, mark.Y}};
    painter.drawPolygon(corners, 4);
}

// An image over the surface's own pixels (0xAARRGGBB, alpha not shown).
QImage SurfaceImage(TBitmap32& surface)
{
    return QImage(reinterpret_cast<uchar*>(surface.Bits()), surface.Width(), surface.Height(),
                  static_cast<qsizetype>(surface.Width()) * 4, QImage::Format_RGB32);
}

}  // namespace

void PaintMapView(QPainter& painter, const TMapViewPicture& picture)
{
    const double width = picture.Width;
    const double height = picture.Height;
    const TMapViewStyle& style = picture.Style;
    // On pixels, links thinner than a pixel are pixel-wide smoothed lines
    // as light as they are thin, and point squares sit on whole pixels:
    // both far quicker to draw than shapes of fractional sizes. A page or a
    // drawing keeps the sizes themselves.
    const bool onPixels = painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(0, 0, width, height), Colour(MapBackgroundColor));
    painter.setClipRect(QRectF(0, 0, width, height));
    painter.setRenderHint(QPainter::Antialiasing, true);

    QPen link(Colour(MapLinkColor), style.LinkPx, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (onPixels) {
        QColor light = link.color();
        light.setAlphaF(static_cast<float>(std::min(style.LinkPx, 1.0)));
        link = QPen(light, 0);
    }
    painter.setPen(link);
    painter.setBrush(Qt::NoBrush);
    for (const std::vector<TViewPlace>& path : picture.Paths) {
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(path.size()));
        for (const TViewPlace& place : path)
            line.append(QPointF(place.X, place.Y));
        painter.drawPolyline(line);
    }

    painter.setPen(Qt::NoPen);
    for (const TViewMark& mark : picture.Marks) {
        const double half = mark.Size / 2;
        switch (mark.Kind) {
        case TViewMarkKind::Point:
        case TViewMarkKind::Selected: {
            const QColor colour = Colour(mark.Kind == TViewMarkKind::Point ? MapPointColor : MapSelectedPointColor);
            if (onPixels) {
                const int side = std::max(static_cast<int>(std::lround(mark.Size)), 1);
                painter.fillRect(QRect(static_cast<int>(std::floor(mark.X - side / 2.0 + 0.5)),
                                       static_cast<int>(std::floor(mark.Y - side / 2.0 + 0.5)), side, side),
                                 colour);
            } else {
                painter.fillRect(QRectF(mark.X - half, mark.Y - half, mark.Size, mark.Size), colour);
            }
            break;
        }
        case TViewMarkKind::Start:
        case TViewMarkKind::End:
            PaintEndMark(painter, mark);
            break;
        }
    }
    PaintLabels(painter, picture.Labels);

    // The frame on the outermost pixels, as the pixel picture has it.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor frame = Colour(MapFrameColor);
    painter.fillRect(QRectF(0, 0, width, 1), frame);
    painter.fillRect(QRectF(0, height - 1, width, 1), frame);
    painter.fillRect(QRectF(0, 1, 1, height - 2), frame);
    painter.fillRect(QRectF(width - 1, 1, 1, height - 2), frame);
    painter.restore();
}

void RenderMapView(TBitmap32& surface, const TMapViewPicture& picture)
{
    surface.SetSize(picture.Width, picture.Height);
    surface.Resized();
    if (!surface.Empty()) {
        QImage image = SurfaceImage(surface);
        QPainter painter(&image);
        PaintMapView(painter, picture);
    }
    surface.Changed();
}

void PaintRouteEnds(QPainter& painter, const std::vector<TViewMark>& marks)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    for (const TViewMark& mark : marks)
        if (mark.Kind == TViewMarkKind::Start || mark.Kind == TViewMarkKind::End)
            PaintEndMark(painter, mark);
    painter.restore();
}

void PaintMapLabels(TBitmap32& surface, const std::vector<TViewLabel>& labels)
{
    if (surface.Empty() || labels.empty())
        return;
    {
        QImage image = SurfaceImage(surface);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        PaintLabels(painter, labels);
    }
    surface.Changed();
}

TPageSize PrintPageSize(const TPointArray& points)
{
    // A4 is 210 x 297 mm.
    constexpr int32_t Short = 794;
    constexpr int32_t Long = 1123;
    const TPictureSize fitted = FittedPictureSize(points, Long);
    return fitted.Width > fitted.Height ? TPageSize{Long, Short} : TPageSize{Short, Long};
}

TMapViewPicture BuildPrintPicture(const TPointArray& points, const std::function<bool(int32_t)>& isSelected,
                                  bool numbers)
{
    const TPageSize page = PrintPageSize(points);
    const double scale = static_cast<double>(PrintPictureLongSidePx) / std::max(page.Width, page.Height);
    const auto width = static_cast<int32_t>(std::lround(page.Width * scale));
    const auto height = static_cast<int32_t>(std::lround(page.Height * scale));
    return BuildMapViewPicture(points, isSelected, width, height, FitMapToPoints(points, width, height), numbers);
}

std::string EncodeMapPdf(const TMapViewPicture& picture)
{
    return EncodeMapPdf(picture, {picture.Width, picture.Height});
}

std::string EncodeMapPdf(const TMapViewPicture& picture, const TPageSize& page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Tovu"));
        writer.setTitle(QStringLiteral("Mapa punktów"));
        writer.setResolution(static_cast<int>(PixelsPerInch));
        const QSizeF millimetres(std::max(page.Width, 1) * MillimetresPerInch / PixelsPerInch,
                                 std::max(page.Height, 1) * MillimetresPerInch / PixelsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(millimetres, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        if (picture.Width > 0 && picture.Height > 0)
            painter.scale(static_cast<double>(page.Width) / picture.Width,
                          static_cast<double>(page.Height) / picture.Height);
        PaintMapView(painter, picture);
        painter.end();
    }
    return bytes.toStdString();
}
