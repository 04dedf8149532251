#include "core/earth_projection.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Radians = Pi / 180.0;
// Mercator's y grows without end towards the poles; places beyond are
// drawn at this latitude.
constexpr double MaxMercatorLatitude = 85.0;
// The box's top-left corner lies this far inside the map.
constexpr double MarginUnits = 20.0;

double MercatorY(double latitude)
{
    const double clamped = std::clamp(latitude, -MaxMercatorLatitude, MaxMercatorLatitude) * Radians;
    return std::log(std::tan(Pi / 4.0 + clamped / 2.0));
}

double LatitudeOfMercatorY(double y)
{
    return (2.0 * std::atan(std::exp(y)) - Pi / 2.0) / Radians;
}

// The longitude's difference from the middle, within one turn.
double LongitudeOffset(double longitude, double middle)
{
    double offset = std::fmod(longitude - middle, 360.0);
    if (offset > 180.0)
        offset -= 360.0;
    if (offset < -180.0)
        offset += 360.0;
    return offset;
}

}  // namespace

TDegrees PlaceDegrees(TMetric metric, const TPlace& place)
{
    if (metric == TMetric::Geo)
        return {GeoRadians(place.X) / Radians, GeoRadians(place.Y) / Radians};
    return {place.X, place.Y};
}

TPlace PlaceOfDegrees(TMetric metric, const TDegrees& degrees)
{
    if (metric != TMetric::Geo)
        return {degrees.Latitude, degrees.Longitude};
    // GEO's DDD.MM: whole degrees, then the minutes as hundredths. Its
    // reading takes pi as 3.141592, so the degrees go back through it.
    auto toDddmm = [](double value) {
        const double degreesRead = value * Radians / 3.141592 * 180.0;
        const double whole = std::trunc(degreesRead);
        return whole + (degreesRead - whole) * 3.0 / 5.0;
    };
    return {toDddmm(degrees.Latitude), toDddmm(degrees.Longitude)};
}

TPlace TEarthProjection::ToKm(const TDegrees& degrees) const
{
    const double kmPerRadian = SphereEarthRadiusKm * std::cos(MiddleLatitude * Radians);
    const double east = LongitudeOffset(degrees.Longitude, MiddleLongitude) * Radians * kmPerRadian;
    const double south = (MercatorY(MiddleLatitude) - MercatorY(degrees.Latitude)) * kmPerRadian;
    return {east, south};
}

TDegrees TEarthProjection::FromKm(const TPlace& km) const
{
    const double kmPerRadian = SphereEarthRadiusKm * std::cos(MiddleLatitude * Radians);
    const double longitude = MiddleLongitude + km.X / kmPerRadian / Radians;
    const double latitude = LatitudeOfMercatorY(MercatorY(MiddleLatitude) - km.Y / kmPerRadian);
    return {latitude, LongitudeOffset(longitude, 0.0)};
}

TMapPoint TEarthProjection::ToMap(const TDegrees& degrees) const
{
    const TPlace km = ToKm(degrees);
    return {static_cast<int32_t>(std::lround(OriginX + km.X * UnitsPerKm)),
            static_cast<int32_t>(std::lround(OriginY + km.Y * UnitsPerKm)), -1};
}

TDegrees TEarthProjection::FromMap(int32_t x, int32_t y) const
{
    return FromKm({(x - OriginX) / UnitsPerKm, (y - OriginY) / UnitsPerKm});
}

TEarthProjection ProjectionFor(TMetric metric, const TPlaceArray& places)
{
    TEarthProjection projection;
    if (places.empty())
        return projection;
    double south = 90.0;
    double north = -90.0;
    for (const TPlace& place : places) {
        const TDegrees degrees = PlaceDegrees(metric, place);
        south = std::min(south, degrees.Latitude);
        north = std::max(north, degrees.Latitude);
    }
    // The middle longitude: the mean direction, so a set across the 180th
    // meridian is not split in two.
    double sumX = 0.0;
    double sumY = 0.0;
    for (const TPlace& place : places) {
        const double longitude = PlaceDegrees(metric, place).Longitude * Radians;
        sumX += std::cos(longitude);
        sumY += std::sin(longitude);
    }
    projection.MiddleLatitude = std::clamp((south + north) / 2.0, -MaxMercatorLatitude, MaxMercatorLatitude);
    projection.MiddleLongitude = sumX == 0.0 && sumY == 0.0 ? 0.0 : std::atan2(sumY, sumX) / Radians;

    double left = 0.0, right = 0.0, top = 0.0, bottom = 0.0;
    bool first = true;
    for (const TPlace& place : places) {
        const TPlace km = projection.ToKm(PlaceDegrees(metric, place));
        left = first ? km.X : std::min(left, km.X);
        right = first ? km.X : std::max(right, km.X);
        top = first ? km.Y : std::min(top, km.Y);
        bottom = first ? km.Y : std::max(bottom, km.Y);
        first = false;
    }
    const double span = std::max(right - left, bottom - top);
    // A set at one place (or a few metres across) gets a unit per metre.
    projection.UnitsPerKm = span > ProjectionSpanUnits / 1000.0 ? ProjectionSpanUnits / span : 1000.0;
    projection.OriginX = MarginUnits - left * projection.UnitsPerKm;
    projection.OriginY = MarginUnits - top * projection.UnitsPerKm;
    return projection;
}
