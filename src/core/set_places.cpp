#include "core/set_places.h"

TMeasure MeasureOf(const TSetPlaces& places, const TPointArray& points)
{
    // Places out of step with the points (which no edit leaves) would send
    // the searches past their ends: the map points are measured instead.
    if (!places.OwnPlaces() || places.Places.size() != points.size()) {
        if (MetricOnEarth(places.ActiveMetric()))
            return TMeasure::OfPoints(points);
        TMeasure plane = TMeasure::OfPoints(points);
        return places.ActiveMetric() == TMetric::Plane ? plane : TMeasure(places.ActiveMetric(), plane.Places());
    }
    return TMeasure(places.ActiveMetric(), places.Places);
}
