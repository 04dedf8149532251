#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/point_types.h"
#include "core/route_kind.h"
#include "core/set_places.h"

// The matrix holds n * n cells; beyond this many points it no longer fits a
// desktop machine's memory, so files and dialogs refuse larger sets.
inline constexpr int32_t MaxPoints = 10000;

// The program's working state: the document the main window holds and its
// views read, the command-line tool's set, a test's set.
struct TPointSetState {
    TPointArray FPoints;
    TSpecimen FRoute;
    TSpecimen FBestRoute;
    TDistanceMatrix FDistances;
    // The set's own coordinates and measure.
    TSetPlaces FPlaces;
    // The kind of route the links hold (a round trip's links end at its
    // last point; the leg back is the kind's).
    TRouteKind FRouteKind;
    std::string FFileName;
    bool FModified = false;
    bool FSearching = false;
    int32_t FMapWidth = 0;
    int32_t FMapHeight = 0;
};

// n! in 64 bits, wrapping modulo 2^64 and read as a signed number: exact up
// to 20!, 21! reads as -4249290049419214848.
int64_t Factorial(int32_t n);

void SwapValues(int32_t& a, int32_t& b);

// Length of an open route (no leg back to the start). Pairs that involve -1
// are skipped. Each leg is added in extended precision and the partial sum
// rounded to a double after every addition, so every build agrees bit for bit.
double RouteLength(const TDistanceMatrix& distances, const TSpecimen& route);
// The same over a route held in a plain array (a slot of a flat population).
double RouteLength(const TDistanceMatrix& distances, const int32_t* route, size_t count);

// One leg onto a partial sum: added in extended precision, rounded to a
// double. Every route length in the program is built from this step.
inline double AddLeg(double sum, double leg)
{
    return static_cast<double>(static_cast<long double>(sum) + static_cast<long double>(leg));
}

// The same rule with each leg measured from the points' coordinates (MapHypot,
// which is what the matrix holds), for callers that have no matrix.
double RouteLengthOfPoints(const TPointArray& points, const TSpecimen& route);

// Turns a route into successor links; the route's last point gets -1.
// Points the route does not name keep their links.
void ApplyBestRoute(TPointArray& points, const TSpecimen& bestRoute);

// Euclidean distance as L * sqrt(1 + (S / L)^2) in extended precision,
// L and S the larger and smaller of |dx| and |dy|.
double MapHypot(int64_t dx, int64_t dy);
