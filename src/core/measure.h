#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/point_types.h"

// How the legs of a route are measured. The plane is the program's own:
// real Euclidean legs, as the distance matrix has always held them. The
// others are TSPLIB's edge weight types (whole-number legs) and, for
// places given by latitude and longitude, great circles on a sphere.
enum class TMetric : uint8_t {
    Plane,   // MapHypot of the coordinates' differences
    Euc2d,   // TSPLIB EUC_2D: the Euclidean distance rounded to the nearest whole number
    Ceil2d,  // TSPLIB CEIL_2D: rounded up
    Att,     // TSPLIB ATT: pseudo-Euclidean, sqrt((dx² + dy²) / 10) rounded up as TSPLIB does
    Geo,     // TSPLIB GEO: X latitude, Y longitude as DDD.MM; whole kilometres on a 6378.388 km sphere
    Sphere,  // X latitude, Y longitude in decimal degrees; kilometres on a 6371.0 km sphere
};

// A point's coordinates as the set gives them, at full precision: plane
// coordinates, or for the metrics on the Earth the latitude in X and the
// longitude in Y.
struct TPlace {
    double X = 0.0;
    double Y = 0.0;
    bool operator==(const TPlace&) const = default;
};

using TPlaceArray = std::vector<TPlace>;

inline constexpr double GeoEarthRadiusKm = 6378.388;
inline constexpr double SphereEarthRadiusKm = 6371.0;

// Whether the metric measures places on the Earth (latitude, longitude).
bool MetricOnEarth(TMetric metric);
// Whether every leg is a whole number: sums of legs are then exact.
bool MetricHasWholeLegs(TMetric metric);

// The leg between two places under a metric. Symmetric: Leg(a, b) ==
// Leg(b, a) bit for bit. Plane legs of whole-number coordinates are exactly
// MapHypot's, so they equal the distance matrix's cells.
double MetricLeg(TMetric metric, const TPlace& a, const TPlace& b);

// MapHypot for differences that need not be whole numbers: the same
// extended-precision formula, so whole-number differences give exactly
// MapHypot's value.
double PlaceHypot(double dx, double dy);

// A TSPLIB GEO coordinate (DDD.MM: degrees, then minutes as two decimals)
// in radians, as TSPLIB converts it (whole degrees cut towards zero).
double GeoRadians(double dddmm);

// TSPLIB's EDGE_WEIGHT_TYPE word ("EUC_2D", "CEIL_2D", "ATT", "GEO") for the
// TSPLIB metrics; empty for the plane and the sphere.
std::string TsplibMetricWord(TMetric metric);

// The name the window and the command line show: "euklidesowa na
// płaszczyźnie", "EUC_2D (zaokrąglona)", ..., "po kole wielkim (km)".
std::string MetricText(TMetric metric);
// The command line's and JSON's word: "plane", "euc_2d", "ceil_2d", "att",
// "geo", "sphere".
std::string MetricKey(TMetric metric);

// The legs between the points of a set. Places hold the set's own
// coordinates; a measure made from the map's points alone measures the plane
// between them, as the program always has.
class TMeasure {
public:
    TMeasure() = default;
    TMeasure(TMetric metric, TPlaceArray places);
    static TMeasure OfPoints(const TPointArray& points);

    TMetric Metric() const { return FMetric; }
    int32_t Count() const { return static_cast<int32_t>(FPlaces.size()); }
    const TPlaceArray& Places() const { return FPlaces; }
    const TPlace& Place(int32_t i) const { return FPlaces[static_cast<size_t>(i)]; }
    bool WholeLegs() const { return MetricHasWholeLegs(FMetric); }
    bool OnEarth() const { return MetricOnEarth(FMetric); }

    double Leg(int32_t a, int32_t b) const { return MetricLeg(FMetric, Place(a), Place(b)); }

    // Coordinates on a plane for finding near places (neighbour lists,
    // trees, drawing): the places themselves, or for places on the Earth
    // their projection in kilometres about the set's middle. Near in this
    // plane is near on the Earth for a country-sized set; searches use it
    // only to choose candidates, never to measure.
    const TPlaceArray& PlanePlaces() const { return FOnEarth.empty() ? FPlaces : FOnEarth; }

private:
    TMetric FMetric = TMetric::Plane;
    TPlaceArray FPlaces;
    TPlaceArray FOnEarth;
};

// Length of an open route under the measure: the legs added with AddLeg,
// start to end; -1 entries are skipped as RouteLength skips them.
double OpenRouteLength(const TMeasure& measure, const TSpecimen& route);
