#include "core/set_places.h"

TMeasure MeasureOf(const TSetPlaces& places, const TPointArray& points)
{
    if (!places.OwnPlaces()) {
        TMeasure plane = TMeasure::OfPoints(points);
        return places.ActiveMetric() == TMetric::Plane ? plane : TMeasure(places.ActiveMetric(), plane.Places());
    }
    return TMeasure(places.ActiveMetric(), places.Places);
}
