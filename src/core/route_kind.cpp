#include "core/route_kind.h"

#include <vector>

#include "core/point_set.h"

namespace {

std::string PointOutOfRange(const char* what, int32_t point, int32_t pointCount)
{
    std::string text = std::string(what) + " " + std::to_string(point) + " nie należy do zbioru ";
    if (pointCount == 0)
        return text + "(zbiór jest pusty).";
    return text + "(punkty od 0 do " + std::to_string(pointCount - 1) + ").";
}

template <typename TLegOf>
double LengthOf(const TSpecimen& route, bool roundTrip, TLegOf legOf)
{
    double sum = 0.0;
    for (size_t i = 0; i + 1 < route.size(); ++i) {
        if (route[i] != -1 && route[i + 1] != -1)
            sum = AddLeg(sum, legOf(route[i], route[i + 1]));
    }
    if (roundTrip && route.size() >= 2 && route.back() != -1 && route.front() != -1)
        sum = AddLeg(sum, legOf(route.back(), route.front()));
    return sum;
}

}  // namespace

std::string RouteKindRefusal(const TRouteKind& kind, int32_t pointCount)
{
    if (kind.Start >= pointCount || kind.Start < -1)
        return PointOutOfRange("Punkt początkowy", kind.Start, pointCount);
    if (kind.End >= pointCount || kind.End < -1)
        return PointOutOfRange("Punkt końcowy", kind.End, pointCount);
    if (kind.RoundTrip && kind.End >= 0)
        return "Droga zamknięta wraca do punktu, z którego wyszła: nie ma osobnego punktu końcowego.";
    if (!kind.RoundTrip && kind.Start >= 0 && kind.Start == kind.End && pointCount > 1)
        return "Droga otwarta nie może zaczynać się i kończyć w tym samym punkcie (to droga zamknięta).";
    return {};
}

bool RouteFitsKind(const TSpecimen& route, const TRouteKind& kind, int32_t pointCount)
{
    if (static_cast<int32_t>(route.size()) != pointCount)
        return false;
    std::vector<char> seen(static_cast<size_t>(pointCount), 0);
    for (const int32_t point : route) {
        if (point < 0 || point >= pointCount || seen[static_cast<size_t>(point)])
            return false;
        seen[static_cast<size_t>(point)] = 1;
    }
    if (pointCount == 0)
        return true;
    if (kind.Start >= 0 && route.front() != kind.Start)
        return false;
    return kind.RoundTrip || kind.End < 0 || route.back() == kind.End || pointCount == 1;
}

double KindRouteLength(const TMeasure& measure, const TSpecimen& route, const TRouteKind& kind)
{
    return LengthOf(route, kind.RoundTrip, [&](int32_t a, int32_t b) { return measure.Leg(a, b); });
}

double KindRouteLength(const TDistanceMatrix& distances, const TSpecimen& route, const TRouteKind& kind)
{
    return LengthOf(route, kind.RoundTrip,
                    [&](int32_t a, int32_t b) { return distances[static_cast<size_t>(a)][static_cast<size_t>(b)]; });
}

std::string RouteKindText(const TRouteKind& kind)
{
    std::string text = kind.RoundTrip ? "zamknięta" : "otwarta";
    if (kind.Start >= 0)
        text += ", od punktu " + std::to_string(kind.Start);
    if (!kind.RoundTrip && kind.End >= 0)
        text += ", do punktu " + std::to_string(kind.End);
    return text;
}
