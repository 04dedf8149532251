#pragma once

#include "core/earth_projection.h"
#include "core/measure.h"
#include "core/point_types.h"

// A set's own coordinates and how its legs are measured, beside the map's
// whole-number points. A set typed, clicked or drawn at random, or read
// from a file of whole numbers, has no places of its own: its map points
// are its coordinates, on the plane.
struct TSetPlaces {
    // The measure the set's file defines.
    TMetric FileMetric = TMetric::Plane;
    // The user measures the plane instead (Euclidean on the coordinates as
    // written), whatever the file defines.
    bool PlaneChosen = false;
    // One place per map point, in the same order, at full precision; empty
    // when the map points themselves are the coordinates.
    TPlaceArray Places;
    // For places on the Earth: how the map points were made from them, and
    // how a point added on the map gets its degrees.
    TEarthProjection Projection;

    TMetric ActiveMetric() const { return PlaneChosen ? TMetric::Plane : FileMetric; }
    bool OwnPlaces() const { return !Places.empty(); }
};

// The measure a set's searches, lengths and tables use.
TMeasure MeasureOf(const TSetPlaces& places, const TPointArray& points);
