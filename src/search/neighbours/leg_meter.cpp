#include "search/neighbours/leg_meter.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double DoubleEpsilon = 0x1p-52;
// Room for the rounding of a plain distance against the same distance
// computed another way (a box's corner, the measure's own formula).
constexpr double Slack = 1e-12;

void PushUnitVector(double latitude, double longitude, std::vector<double>& x, std::vector<double>& y,
                    std::vector<double>& z)
{
    x.push_back(std::cos(latitude) * std::cos(longitude));
    y.push_back(std::cos(latitude) * std::sin(longitude));
    z.push_back(std::sin(latitude));
}

}  // namespace

TLegMeter::TLegMeter(const TMeasure& measure) : FMetric(measure.Metric())
{
    const int32_t n = measure.Count();
    FX.reserve(static_cast<size_t>(n));
    FY.reserve(static_cast<size_t>(n));
    if (measure.WholeLegs())
        FPlaces = measure.Places();
    if (!measure.OnEarth()) {
        for (const TPlace& place : measure.Places()) {
            FX.push_back(place.X);
            FY.push_back(place.Y);
        }
    } else {
        FZ.reserve(static_cast<size_t>(n));
        for (const TPlace& place : measure.Places()) {
            if (FMetric == TMetric::Geo)
                PushUnitVector(GeoRadians(place.X), GeoRadians(place.Y), FX, FY, FZ);
            else
                PushUnitVector(place.X * Pi / 180.0, place.Y * Pi / 180.0, FX, FY, FZ);
        }
        for (const TPlace& place : measure.PlanePlaces()) {
            FPlaneX.push_back(place.X);
            FPlaneY.push_back(place.Y);
        }
    }
    Finish();
}

TLegMeter TLegMeter::OfPoints(const TPointArray& points)
{
    return TLegMeter(TMeasure::OfPoints(points));
}

TLegMeter TLegMeter::Subset(const std::vector<int32_t>& ids) const
{
    TLegMeter subset;
    subset.FMetric = FMetric;
    auto pick = [&ids](const auto& from, auto& to) {
        if (from.empty())
            return;
        to.reserve(ids.size());
        for (const int32_t id : ids)
            to.push_back(from[static_cast<size_t>(id)]);
    };
    pick(FPlaces, subset.FPlaces);
    pick(FX, subset.FX);
    pick(FY, subset.FY);
    pick(FZ, subset.FZ);
    pick(FPlaneX, subset.FPlaneX);
    pick(FPlaneY, subset.FPlaneY);
    subset.Finish();
    return subset;
}

void TLegMeter::Finish()
{
    const int32_t n = Count();
    if (OnEarth()) {
        const double radius = FMetric == TMetric::Geo ? GeoEarthRadiusKm : SphereEarthRadiusKm;
        // Half the Earth's girth, and a GEO leg's added kilometre.
        FLongestLeg = radius * Pi * (1.0 + Slack) + (FMetric == TMetric::Geo ? 1.0 : 0.0);
        FEpsilon = FMetric == TMetric::Geo ? 0.5 : Slack * FLongestLeg;
        // The chord's rounding and the measure's own, each a few units in
        // the last place of the Earth's radius or of the leg.
        FLegError = FMetric == TMetric::Geo ? 0.0 : 64.0 * DoubleEpsilon * (FLongestLeg + radius);
        return;
    }
    double span = 1.0;
    double minX = n > 0 ? FX[0] : 0.0;
    double maxX = minX;
    double minY = n > 0 ? FY[0] : 0.0;
    double maxY = minY;
    for (int32_t i = 0; i < n; ++i) {
        span = std::max({span, std::abs(FX[i] - FX[0]), std::abs(FY[i] - FY[0])});
        minX = std::min(minX, FX[i]);
        maxX = std::max(maxX, FX[i]);
        minY = std::min(minY, FY[i]);
        maxY = std::max(maxY, FY[i]);
    }
    // No two points lie further apart than the corners of their box.
    const long double width = static_cast<long double>(maxX) - minX;
    const long double height = static_cast<long double>(maxY) - minY;
    const double diagonal = static_cast<double>(std::sqrt(width * width + height * height) * (1.0L + 1e-15L));
    switch (FMetric) {
    case TMetric::Euc2d:
        FLongestLeg = diagonal + 0.5;
        break;
    case TMetric::Ceil2d:
        FLongestLeg = diagonal + 1.0;
        break;
    case TMetric::Att:
        FLongestLeg = diagonal / std::sqrt(10.0) + 1.0;
        break;
    default:
        FLongestLeg = diagonal;
        break;
    }
    // Six legs of up to twice the span, each a few units of the last place
    // off: far below this.
    FEpsilon = WholeLegs() ? 0.5 : span * Slack;
    FLegError = 0.0;
}

double TLegMeter::LegFloor(double distance) const
{
    const double d = distance * (1.0 - Slack);
    switch (FMetric) {
    case TMetric::Plane:
    case TMetric::Ceil2d:
        return d;
    case TMetric::Euc2d:
        return d - 0.5;
    case TMetric::Att:
        return d / std::sqrt(10.0) * (1.0 - Slack);
    case TMetric::Sphere:
        return SphereEarthRadiusKm * d * (1.0 - Slack) - FLegError;
    case TMetric::Geo:
        // GEO's leg is its arc's kilometres plus one, cut down: above the
        // arc, which the cosine's rounding may make a few metres short.
        return GeoEarthRadiusKm * d * (1.0 - Slack) - 0.01;
    }
    return 0.0;
}
