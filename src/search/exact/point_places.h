#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"

// Points at one place. A route may take them one after another over legs of
// zero, which add nothing and round nothing, so the exact method can search
// the routes over the places and give each place's points a run of the
// route: routes that differ only in the order of one place's points are one
// route to it, where a search over the points would find them all equally
// short and have to rule each of them out.
class TPointPlaces {
public:
    // startPoint in the set: every route starts at it, so its place's first
    // run begins with it.
    TPointPlaces(const TPointArray& points, int32_t startPoint);

    // Whether any place holds more than one point.
    bool Coincide() const { return static_cast<int32_t>(FPlaces.size()) < FPointCount; }
    int32_t PointCount() const { return FPointCount; }
    // One point per place, the places in the order of their first points.
    const TPointArray& Places() const { return FPlaces; }
    int32_t Count() const { return static_cast<int32_t>(FPlaces.size()); }
    // The start point's place; -1 for a free start.
    int32_t StartPlace() const { return FStartPlace; }
    int32_t PointsAt(int32_t place) const { return static_cast<int32_t>(FPointsOf[place].size()); }

    // The route over the points that visits the places in the walk's order.
    // A place may come more than once (see TPlaceWalks), no more often than
    // it has points: each visit is a run of its points, one point for every
    // visit after the first, and the first visit the rest.
    TSpecimen Expand(const TSpecimen& walk) const;

private:
    int32_t FPointCount = 0;
    TPointArray FPlaces;
    std::vector<std::vector<int32_t>> FPointsOf;
    int32_t FStartPlace = -1;
};
