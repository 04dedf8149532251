// Renders the application's SVG icon into the fixed PNG sizes of the hicolor
// theme. Run by render-icons.sh whenever resources/tovu.svg changes; the PNGs
// are committed so that building and packaging need no SVG renderer.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "użycie: render_icons PLIK.svg KATALOG\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "render_icons: nie można odczytać %s\n", argv[1]);
        return 1;
    }
    for (int sizePx : {16, 32, 48, 64, 128, 256}) {
        QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString out = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/tovu-%1.png").arg(sizePx);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(out, "PNG", 9)) {
            std::fprintf(stderr, "render_icons: nie można zapisać %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
