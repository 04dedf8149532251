#include "picture/png_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

std::string EncodePng(const TBitmap32& surface)
{
    // RGB32 is 0xffRRGGBB per pixel in native order, the surface's own
    // layout with the alpha byte ignored, so the image can wrap the pixels.
    const QImage image(reinterpret_cast<const uchar*>(surface.Bits()), surface.Width(), surface.Height(),
                       static_cast<qsizetype>(surface.Width()) * 4, QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return bytes.toStdString();
}
