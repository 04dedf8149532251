#pragma once

#include "core/measure.h"
#include "core/point_types.h"

// Latitude and longitude in decimal degrees.
struct TDegrees {
    double Latitude = 0.0;
    double Longitude = 0.0;
};

// The degrees of a place under a metric on the Earth (a GEO place's DDD.MM
// read as TSPLIB reads it, a sphere's place as it stands), and back: the
// place a metric would store for given degrees.
TDegrees PlaceDegrees(TMetric metric, const TPlace& place);
TPlace PlaceOfDegrees(TMetric metric, const TDegrees& degrees);

// The map's picture of places on the Earth: Mercator, which keeps shapes,
// about the set's middle, north up, in kilometres true at the middle's
// latitude and scaled so that the set spans a few thousand map units. Made
// once when a set is read and kept with it, so that points added on the map
// get their degrees back through the same projection.
struct TEarthProjection {
    double MiddleLatitude = 0.0;
    double MiddleLongitude = 0.0;
    // Map units (pixels at 1:1) per kilometre.
    double UnitsPerKm = 1.0;
    // The map point of the middle.
    double OriginX = 0.0;
    double OriginY = 0.0;

    // Kilometres east and south of the middle (south: the map's y grows
    // downwards), true at the middle's latitude.
    TPlace ToKm(const TDegrees& degrees) const;
    TDegrees FromKm(const TPlace& km) const;

    TMapPoint ToMap(const TDegrees& degrees) const;
    TDegrees FromMap(int32_t x, int32_t y) const;
};

// A projection for these places: the middle of their extent, the larger
// side of the extent about SpanUnits map units, the box's top-left corner a
// small margin inside the map.
TEarthProjection ProjectionFor(TMetric metric, const TPlaceArray& places);

inline constexpr double ProjectionSpanUnits = 4000.0;
