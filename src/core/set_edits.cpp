#include "core/set_edits.h"

#include "core/earth_projection.h"

namespace {

bool Removed(const std::vector<char>& removed, int32_t point)
{
    return point >= 0 && static_cast<size_t>(point) < removed.size() && removed[static_cast<size_t>(point)] != 0;
}

// The new number of a point that stays: the points before it that went are
// counted off.
int32_t Renumbered(const std::vector<char>& removed, int32_t point)
{
    int32_t gone = 0;
    for (int32_t i = 0; i < point && static_cast<size_t>(i) < removed.size(); ++i)
        gone += removed[static_cast<size_t>(i)] != 0 ? 1 : 0;
    return point - gone;
}

int32_t FixedPointWithout(const std::vector<char>& removed, int32_t point)
{
    if (point < 0 || Removed(removed, point))
        return -1;
    return Renumbered(removed, point);
}

}  // namespace

TPlace PlaceOfMapPoint(const TSetPlaces& places, int32_t x, int32_t y)
{
    if (MetricOnEarth(places.FileMetric))
        return PlaceOfDegrees(places.FileMetric, places.Projection.FromMap(x, y));
    return {static_cast<double>(x), static_cast<double>(y)};
}

TPlaceArray PlacesOfMapPoints(const TSetPlaces& places, const TPointArray& points)
{
    TPlaceArray result;
    if (!places.OwnPlaces())
        return result;
    result.reserve(points.size());
    for (const TMapPoint& point : points)
        result.push_back(PlaceOfMapPoint(places, point.X, point.Y));
    return result;
}

TPlaceArray PlacesWithout(const TPlaceArray& places, const std::vector<char>& removed)
{
    TPlaceArray kept;
    kept.reserve(places.size());
    for (size_t i = 0; i < places.size(); ++i)
        if (!Removed(removed, static_cast<int32_t>(i)))
            kept.push_back(places[i]);
    return kept;
}

TRouteKind KindWithout(const TRouteKind& kind, const std::vector<char>& removed)
{
    TRouteKind kept = kind;
    kept.Start = FixedPointWithout(removed, kind.Start);
    kept.End = FixedPointWithout(removed, kind.End);
    return kept;
}
