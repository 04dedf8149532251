#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/earth_projection.h"
#include "core/measure.h"
#include "core/point_set.h"

namespace {

struct TLegRow {
    const char* Name;
    TMetric Metric;
    TPlace A;
    TPlace B;
    double Leg;
};

// Legs worked out by hand from each measure's definition.
TEST(Measure, LegsFollowTheirDefinitions)
{
    const TLegRow rows[] = {
        {"plane 3-4-5", TMetric::Plane, {0, 0}, {3, 4}, 5.0},
        {"plane real", TMetric::Plane, {0.5, 0}, {0.5, 2.25}, 2.25},
        {"EUC_2D rounds down", TMetric::Euc2d, {0, 0}, {3, 4.4}, 5.0},
        {"EUC_2D rounds a half up", TMetric::Euc2d, {0, 0}, {0, 2.5}, 3.0},
        {"CEIL_2D rounds up", TMetric::Ceil2d, {0, 0}, {3, 4.1}, 6.0},
        {"CEIL_2D keeps a whole leg", TMetric::Ceil2d, {1, 1}, {4, 5}, 5.0},
        {"ATT rounds a fraction up", TMetric::Att, {0, 0}, {10, 0}, 4.0},
        {"ATT keeps a whole leg", TMetric::Att, {0, 0}, {30, 40}, 16.0},
        {"GEO at one place is a kilometre", TMetric::Geo, {10.30, 20.15}, {10.30, 20.15}, 1.0},
        {"sphere, a quarter of the equator", TMetric::Sphere, {0, 0}, {0, 90}, SphereEarthRadiusKm * M_PI / 2},
        {"sphere, pole to pole", TMetric::Sphere, {90, 0}, {-90, 0}, SphereEarthRadiusKm * M_PI},
    };
    for (const TLegRow& row : rows) {
        EXPECT_NEAR(MetricLeg(row.Metric, row.A, row.B), row.Leg, 1e-9) << row.Name;
        EXPECT_EQ(MetricLeg(row.Metric, row.A, row.B), MetricLeg(row.Metric, row.B, row.A)) << row.Name;
    }
}

// A GEO minute is a sixtieth of a degree: 10.30 is ten and a half degrees,
// so a degree along the equator is about 111 km under TSPLIB's rule.
TEST(Measure, GeoReadsDegreesAndMinutes)
{
    EXPECT_NEAR(GeoRadians(10.30), 3.141592 * 10.5 / 180.0, 1e-12);
    EXPECT_NEAR(GeoRadians(-10.30), -3.141592 * 10.5 / 180.0, 1e-12);
    const double leg = MetricLeg(TMetric::Geo, {0.0, 0.0}, {0.0, 1.0});
    EXPECT_EQ(leg, std::floor(6378.388 * 3.141592 / 180.0 + 1.0));
}

TEST(Measure, PlaneLegsOfWholeCoordinatesAreTheMatrixCells)
{
    std::mt19937 random(5);
    TPointArray points;
    for (int i = 0; i < 200; ++i)
        points.push_back({static_cast<int32_t>(static_cast<int64_t>(random() % 4000000000u) - 2000000000),
                          static_cast<int32_t>(random() % 2001) - 1000, -1});
    const TMeasure measure = TMeasure::OfPoints(points);
    for (int32_t i = 0; i + 1 < 200; ++i) {
        const int64_t dx = static_cast<int64_t>(points[i].X) - points[i + 1].X;
        const int64_t dy = static_cast<int64_t>(points[i].Y) - points[i + 1].Y;
        ASSERT_EQ(measure.Leg(i, i + 1), MapHypot(dx, dy)) << i;
    }
}

// Warsaw, Kraków and Gdańsk: the great circles against the spherical law of
// cosines, and the map north up.
TEST(Measure, PlacesOnTheEarthAreMeasuredAndDrawnNorthUp)
{
    const TPlaceArray cities = {{52.2297, 21.0122}, {50.0647, 19.9450}, {54.3520, 18.6466}};
    const TMeasure measure(TMetric::Sphere, cities);
    constexpr double Radians = M_PI / 180.0;
    for (int32_t a = 0; a < 3; ++a) {
        for (int32_t b = a + 1; b < 3; ++b) {
            const TPlace& p = cities[a];
            const TPlace& q = cities[b];
            const double cosine = std::sin(p.X * Radians) * std::sin(q.X * Radians) +
                                  std::cos(p.X * Radians) * std::cos(q.X * Radians) * std::cos((q.Y - p.Y) * Radians);
            EXPECT_NEAR(measure.Leg(a, b), SphereEarthRadiusKm * std::acos(cosine), 1e-6) << a << "-" << b;
        }
    }
    const TEarthProjection projection = ProjectionFor(TMetric::Sphere, cities);
    const TMapPoint krakow = projection.ToMap(PlaceDegrees(TMetric::Sphere, cities[1]));
    const TMapPoint gdansk = projection.ToMap(PlaceDegrees(TMetric::Sphere, cities[2]));
    const TMapPoint warsaw = projection.ToMap(PlaceDegrees(TMetric::Sphere, cities[0]));
    EXPECT_LT(gdansk.Y, warsaw.Y);
    EXPECT_LT(warsaw.Y, krakow.Y);
    EXPECT_LT(gdansk.X, krakow.X);
    EXPECT_LT(krakow.X, warsaw.X);
    // The near plane keeps the legs to a few per cent over a country.
    const TPlaceArray& plane = measure.PlanePlaces();
    const double planeLeg = std::hypot(plane[0].X - plane[2].X, plane[0].Y - plane[2].Y);
    EXPECT_NEAR(planeLeg / measure.Leg(0, 2), 1.0, 0.05);
}

TEST(Measure, DegreesComeBackThroughTheMap)
{
    for (const TMetric metric : {TMetric::Sphere, TMetric::Geo}) {
        const TPlaceArray places = metric == TMetric::Geo ? TPlaceArray{{16.47, 96.10}, {20.09, 94.55}, {14.05, 98.12}}
                                                          : TPlaceArray{{-33.86, 151.21}, {-37.81, 144.96}};
        const TEarthProjection projection = ProjectionFor(metric, places);
        for (const TPlace& place : places) {
            const TDegrees degrees = PlaceDegrees(metric, place);
            const TMapPoint point = projection.ToMap(degrees);
            const TDegrees back = projection.FromMap(point.X, point.Y);
            // A map unit is a few hundred metres at most over these sets.
            EXPECT_NEAR(back.Latitude, degrees.Latitude, 0.01) << MetricKey(metric);
            EXPECT_NEAR(back.Longitude, degrees.Longitude, 0.01) << MetricKey(metric);
            const TPlace stored = PlaceOfDegrees(metric, degrees);
            EXPECT_NEAR(stored.X, place.X, 1e-9) << MetricKey(metric);
            EXPECT_NEAR(stored.Y, place.Y, 1e-9) << MetricKey(metric);
        }
    }
}

}  // namespace
