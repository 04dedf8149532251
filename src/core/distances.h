#pragma once

#include <cstdint>

#include "core/measure.h"
#include "core/point_set.h"
#include "core/progress.h"

// The distance the matrix holds between two points (MapHypot of their
// differences, taken in 64 bits: points read from a file may lie further
// apart than a 32-bit difference can hold).
inline double PointDistance(const TMapPoint& a, const TMapPoint& b)
{
    return MapHypot(static_cast<int64_t>(a.X) - b.X, static_cast<int64_t>(a.Y) - b.Y);
}

// Rebuilds the distance matrix of points from point index start on (0 = all
// of it). Cells whose row and column both lie below start keep their values,
// so a point appended on the map costs only its own row and column. Shows
// its status text and steps the bar once per cell; the text stays until the
// caller has shown the new matrix and clears it.
void ComputeDistances(const TPointArray& points, TDistanceMatrix& distances, TProgress& progress, int32_t start);
// The same under a set's measure (MeasureOf): its legs, as the searches
// measure them; the diagonal is 0.
void ComputeDistances(const TMeasure& measure, TDistanceMatrix& distances, TProgress& progress, int32_t start);

// The memory a distance matrix of pointCount points takes: n rows of n
// doubles, and each row's keeping.
uint64_t DistanceMatrixBytes(int32_t pointCount);
