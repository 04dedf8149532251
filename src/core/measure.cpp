#include "core/measure.h"

#include <algorithm>
#include <cmath>

#include "core/earth_projection.h"
#include "core/point_set.h"

namespace {

// TSPLIB's nint: halves up, as (int)(x + 0.5) does for the lengths it
// takes.
double NearestWhole(double value)
{
    return std::floor(value + 0.5);
}

double EuclideanOf(const TPlace& a, const TPlace& b)
{
    const double dx = a.X - b.X;
    const double dy = a.Y - b.Y;
    return std::sqrt(dx * dx + dy * dy);
}

double AttLeg(const TPlace& a, const TPlace& b)
{
    const double dx = a.X - b.X;
    const double dy = a.Y - b.Y;
    const double r = std::sqrt((dx * dx + dy * dy) / 10.0);
    const double t = NearestWhole(r);
    return t < r ? t + 1.0 : t;
}

// As TSPLIB defines it, to the rounding: whole kilometres plus one, so two
// points at one place are a kilometre apart.
double GeoLeg(const TPlace& a, const TPlace& b)
{
    const double latitudeA = GeoRadians(a.X);
    const double longitudeA = GeoRadians(a.Y);
    const double latitudeB = GeoRadians(b.X);
    const double longitudeB = GeoRadians(b.Y);
    const double q1 = std::cos(longitudeA - longitudeB);
    const double q2 = std::cos(latitudeA - latitudeB);
    const double q3 = std::cos(latitudeA + latitudeB);
    const double cosine = std::clamp(0.5 * ((1.0 + q1) * q2 - (1.0 - q1) * q3), -1.0, 1.0);
    return std::floor(GeoEarthRadiusKm * std::acos(cosine) + 1.0);
}

// The haversine form: exact to the last bits for near places too, where
// the cosine form loses them.
double SphereLeg(const TPlace& a, const TPlace& b)
{
    constexpr double Radians = 3.14159265358979323846 / 180.0;
    const double latitudeA = a.X * Radians;
    const double latitudeB = b.X * Radians;
    const double sinLatitude = std::sin((latitudeB - latitudeA) / 2.0);
    const double sinLongitude = std::sin((b.Y - a.Y) * Radians / 2.0);
    const double h =
        sinLatitude * sinLatitude + std::cos(latitudeA) * std::cos(latitudeB) * sinLongitude * sinLongitude;
    return 2.0 * SphereEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

}  // namespace

bool MetricOnEarth(TMetric metric)
{
    return metric == TMetric::Geo || metric == TMetric::Sphere;
}

bool MetricHasWholeLegs(TMetric metric)
{
    return metric != TMetric::Plane && metric != TMetric::Sphere;
}

double PlaceHypot(double dx, double dy)
{
    long double large = std::fabs(static_cast<long double>(dx));
    long double small = std::fabs(static_cast<long double>(dy));
    if (small > large)
        std::swap(large, small);
    if (small == 0)
        return static_cast<double>(large);
    const long double ratio = small / large;
    return static_cast<double>(large * std::sqrt(1.0L + ratio * ratio));
}

double GeoRadians(double dddmm)
{
    constexpr double Pi = 3.141592;
    const double degrees = std::trunc(dddmm);
    const double minutes = dddmm - degrees;
    return Pi * (degrees + 5.0 * minutes / 3.0) / 180.0;
}

double MetricLeg(TMetric metric, const TPlace& a, const TPlace& b)
{
    switch (metric) {
    case TMetric::Plane:
        return PlaceHypot(a.X - b.X, a.Y - b.Y);
    case TMetric::Euc2d:
        return NearestWhole(EuclideanOf(a, b));
    case TMetric::Ceil2d:
        return std::ceil(EuclideanOf(a, b));
    case TMetric::Att:
        return AttLeg(a, b);
    case TMetric::Geo:
        return GeoLeg(a, b);
    case TMetric::Sphere:
        return SphereLeg(a, b);
    }
    return 0.0;
}

std::string TsplibMetricWord(TMetric metric)
{
    switch (metric) {
    case TMetric::Euc2d:
        return "EUC_2D";
    case TMetric::Ceil2d:
        return "CEIL_2D";
    case TMetric::Att:
        return "ATT";
    case TMetric::Geo:
        return "GEO";
    default:
        return {};
    }
}

std::string MetricText(TMetric metric)
{
    switch (metric) {
    case TMetric::Plane:
        return "euklidesowa na płaszczyźnie";
    case TMetric::Euc2d:
        return "EUC_2D (euklidesowa zaokrąglona)";
    case TMetric::Ceil2d:
        return "CEIL_2D (euklidesowa zaokrąglona w górę)";
    case TMetric::Att:
        return "ATT (pseudoeuklidesowa)";
    case TMetric::Geo:
        return "GEO (geograficzna TSPLIB, km)";
    case TMetric::Sphere:
        return "po kole wielkim (km)";
    }
    return {};
}

std::string MetricKey(TMetric metric)
{
    switch (metric) {
    case TMetric::Plane:
        return "plane";
    case TMetric::Euc2d:
        return "euc_2d";
    case TMetric::Ceil2d:
        return "ceil_2d";
    case TMetric::Att:
        return "att";
    case TMetric::Geo:
        return "geo";
    case TMetric::Sphere:
        return "sphere";
    }
    return {};
}

TMeasure::TMeasure(TMetric metric, TPlaceArray places) : FMetric(metric), FPlaces(std::move(places))
{
    if (!MetricOnEarth(FMetric))
        return;
    const TEarthProjection projection = ProjectionFor(FMetric, FPlaces);
    FOnEarth.reserve(FPlaces.size());
    for (const TPlace& place : FPlaces)
        FOnEarth.push_back(projection.ToKm(PlaceDegrees(FMetric, place)));
}

TMeasure TMeasure::OfPoints(const TPointArray& points)
{
    TPlaceArray places;
    places.reserve(points.size());
    for (const TMapPoint& point : points)
        places.push_back({static_cast<double>(point.X), static_cast<double>(point.Y)});
    return TMeasure(TMetric::Plane, std::move(places));
}

double OpenRouteLength(const TMeasure& measure, const TSpecimen& route)
{
    double sum = 0.0;
    for (size_t i = 0; i + 1 < route.size(); ++i) {
        if (route[i] != -1 && route[i + 1] != -1)
            sum = AddLeg(sum, measure.Leg(route[i], route[i + 1]));
    }
    return sum;
}
