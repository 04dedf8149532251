#include "ui/map_hits.h"

#include <algorithm>

#include "raster/map_shapes.h"
#include "ui/point_list.h"

TPointArray PointsWithRoute(const TPointArray& points, const TSpecimen& route)
{
    TPointArray shown = points;
    for (TMapPoint& point : shown)
        point.Next = -1;
    TSpecimen kept;
    for (const int32_t point : route)
        if (point >= 0 && static_cast<size_t>(point) < shown.size())
            kept.push_back(point);
    ApplyBestRoute(shown, kept);
    return shown;
}

int32_t SquareAt(const TPointArray& points, const std::vector<char>& selected, const TMapFit& fit, int32_t x, int32_t y)
{
    for (int32_t i = static_cast<int32_t>(points.size()) - 1; i >= 0; --i) {
        const auto at = static_cast<size_t>(i);
        const int32_t size = RowSelected(selected, i) ? MapSelectedPointSizePx : MapPointSizePx;
        const int32_t left = fit.MapX(points[at].X);
        const int32_t top = fit.MapY(points[at].Y);
        if (x >= left && x < left + size && y >= top && y < top + size)
            return i;
    }
    return -1;
}

QString MapToolTip(const TPointArray& points, int32_t hit, bool pixelPicture, const TRouteKind& kind)
{
    if (hit < 0 || static_cast<size_t>(hit) >= points.size()) {
        if (pixelPicture)
            return {};
        return QStringLiteral(
            "Zielone kółko: początek drogi, niebieski romb: jej koniec.\n"
            "Kółko myszy powiększa i pomniejsza, środkowy przycisk (albo lewy ze spacją) przesuwa mapę;\n"
            "Ctrl+0: skala 1:1.");
    }
    const TMapPoint& point = points[static_cast<size_t>(hit)];
    QString text = QStringLiteral("Punkt %1: %2; %3").arg(hit).arg(point.X).arg(point.Y);
    const bool reached = std::any_of(points.begin(), points.end(), [hit](const TMapPoint& p) { return p.Next == hit; });
    const bool linked = point.Next >= 0 && static_cast<size_t>(point.Next) < points.size();
    const bool starts = linked && !reached;
    const bool ends = reached && !linked;
    if (starts && kind.RoundTrip)
        text += QStringLiteral(", początek i koniec drogi zamkniętej");
    else if (starts)
        text += QStringLiteral(", początek drogi");
    else if (ends && kind.RoundTrip)
        text += QStringLiteral(", ostatni przed powrotem do początku");
    else if (ends)
        text += QStringLiteral(", koniec drogi");
    // A point the search was told to start or end at.
    if ((starts && kind.Start == hit) || (ends && !kind.RoundTrip && kind.End == hit))
        text += QStringLiteral(" (ustalony)");
    return text;
}
