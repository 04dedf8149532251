#pragma once

#include <string>
#include <vector>

#include "core/earth_projection.h"
#include "core/measure.h"
#include "core/point_types.h"

// What a set's file said besides its coordinates, so that a save in the
// same format writes it back.
struct TSetFileFacts {
    // TSPLIB: NAME (empty when the file had none) and the COMMENT lines.
    std::string TsplibName;
    std::vector<std::string> TsplibComments;
    // CSV: the header's names of the two columns read, in the file's order
    // (empty without a header), the separator, and whether the longitude
    // column came first.
    std::string CsvFirstColumn;
    std::string CsvSecondColumn;
    char CsvSeparator = ',';
    bool CsvLongitudeFirst = false;
    // CSV: the names of the header's other columns, which the reader passed
    // over.
    std::vector<std::string> CsvOtherColumns;
};

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
    // What the file said besides the coordinates.
    TSetFileFacts File;

    TMetric ActiveMetric() const { return PlaneChosen ? TMetric::Plane : FileMetric; }
    bool OwnPlaces() const { return !Places.empty(); }
};

// The measure a set's searches, lengths and tables use.
TMeasure MeasureOf(const TSetPlaces& places, const TPointArray& points);
