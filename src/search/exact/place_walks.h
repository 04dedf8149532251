#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"
#include "search/exact/branch_and_bound.h"
#include "search/exact/point_places.h"

// A route over places (see TPointPlaces) stands for the walks that follow it
// and pass once more through places with points to spare on the way: a
// route over the points that splits a place's points into several runs.
// Such a pass lengthens the walk by what the detour adds, and only a place
// on the straight leg between two others (or within a few last bits of it)
// adds nothing. Then the walk's legs sum the same as the route's, yet
// RouteLength rounds the two legs otherwise than the one, and the walk may
// come out shorter by a few last bits.
//
// Where no place with points to spare lies that near a leg, no walk comes
// out shorter than the shortest route over the places, and the search over
// the places needs nothing of this class. Otherwise the branch and bound
// measures each route by its shortest walk, and widens its roundings so that
// what it rules out holds for every walk.
class TPlaceWalks {
public:
    // lengthAbove: the length of some route over the places, at or above the
    // shortest.
    TPlaceWalks(const TPointPlaces& places, double lengthAbove);

    // Whether some pass adds less than the roundings could take off.
    bool PassesMatter() const { return FPassesMatter; }
    // How the branch and bound over the places measures a route: by its
    // shortest walk where passes matter, by RouteLength where they don't.
    TRouteMeasure Measure() const;
    // The walk that follows the route with the least RouteLength where that
    // is below cap, and that length; cap and an empty walk when there is
    // none.
    double BestWalk(const TSpecimen& route, double cap, TSpecimen& walk) const;

private:
    double Leg(int32_t a, int32_t b) const { return FLegs[static_cast<size_t>(a) * FCount + b]; }
    // What passing through via on the way from a to b adds to the legs.
    long double Detour(int32_t a, int32_t via, int32_t b) const
    {
        return static_cast<long double>(Leg(a, via)) + Leg(via, b) - Leg(a, b);
    }

    const TPointPlaces& FPlaces;
    int32_t FCount = 0;
    int32_t FPointCount = 0;
    std::vector<double> FLegs;
    // Places with points to spare, and how many.
    std::vector<int32_t> FSpareAt;
    std::vector<int32_t> FSpare;
    bool FPassesMatter = false;
    bool FWholeLegsAddUp = true;
};
