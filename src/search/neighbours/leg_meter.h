#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/measure.h"
#include "core/point_types.h"

// The legs the searches compare moves and build trees with, under a set's
// measure, made cheap: on the plane a plain double square root (within two
// units in the last place of the measure's leg), for the whole-number
// measures the measure's own leg (exact, so moves compare exactly), on the
// sphere the great circle from the chord between unit vectors (within a few
// units in the last place of the kilometres). Lengths the program reports
// always come from the measure itself.
class TLegMeter {
public:
    TLegMeter() = default;
    explicit TLegMeter(const TMeasure& measure);
    // The plane over whole-number map points, as the searches had it first.
    static TLegMeter OfPoints(const TPointArray& points);
    // The same measure over the given points only, numbered as in ids.
    TLegMeter Subset(const std::vector<int32_t>& ids) const;

    int32_t Count() const { return static_cast<int32_t>(FX.size()); }
    TMetric Metric() const { return FMetric; }
    bool WholeLegs() const { return MetricHasWholeLegs(FMetric); }
    bool OnEarth() const { return !FZ.empty(); }

    double Leg(int32_t a, int32_t b) const
    {
        if (FMetric == TMetric::Plane)
            return PlainLeg(FX[a] - FX[b], FY[a] - FY[b]);
        if (FMetric == TMetric::Sphere)
            return SphereEarthRadiusKm * ArcOfChord(Chord(a, b));
        return MetricLeg(FMetric, FPlaces[a], FPlaces[b]);
    }

    // Where the points lie for nearness: the measure's plane places (on
    // the Earth its projection), to choose candidates by, never to measure.
    const std::vector<double>& PlaneX() const { return FPlaneX.empty() ? FX : FPlaneX; }
    const std::vector<double>& PlaneY() const { return FPlaneY.empty() ? FY : FPlaneY; }

    // The space the bound's trees search for near points: the places for
    // the measures on the plane, unit vectors for the Earth (Z empty on
    // the plane). LegFloor gives the least leg between two points that lie
    // at least distance apart there (a plain double distance), so that a
    // tree can rule out a box of points without measuring them.
    const std::vector<double>& SpaceX() const { return FX; }
    const std::vector<double>& SpaceY() const { return FY; }
    const std::vector<double>& SpaceZ() const { return FZ; }
    double LegFloor(double distance) const;

    // Changes of a sum of a few legs at or below this are rounding, not a
    // change: half a unit for whole-number legs, where every change is a
    // whole number; otherwise a trillionth of the set's span.
    double Epsilon() const { return FEpsilon; }
    // No leg between two of the points is longer than this.
    double LongestLeg() const { return FLongestLeg; }
    // How far Leg may be from the measure's leg, for any two of the points.
    double LegError() const { return FLegError; }

    // The plain double distance the plane measure compares with.
    static double PlainLeg(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

private:
    double Chord(int32_t a, int32_t b) const
    {
        const double dx = FX[a] - FX[b];
        const double dy = FY[a] - FY[b];
        const double dz = FZ[a] - FZ[b];
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    // The angle a chord of the unit sphere spans.
    static double ArcOfChord(double chord) { return 2.0 * std::asin(std::min(1.0, 0.5 * chord)); }
    void Finish();

    TMetric FMetric = TMetric::Plane;
    // The places as the measure holds them, for its whole-number legs.
    TPlaceArray FPlaces;
    // The places on the plane; on the Earth unit vectors (for GEO from
    // TSPLIB's own radians).
    std::vector<double> FX;
    std::vector<double> FY;
    std::vector<double> FZ;
    // On the Earth, the measure's projection of the places.
    std::vector<double> FPlaneX;
    std::vector<double> FPlaneY;
    double FEpsilon = 0.0;
    double FLongestLeg = 0.0;
    double FLegError = 0.0;
};
