#include "core/earth_places.h"

#include <cmath>

#include "core/point_text.h"

std::string EarthRangeError(TMetric metric, const TPlace& place, std::string_view latitudeText,
                            std::string_view longitudeText)
{
    const TDegrees degrees = PlaceDegrees(metric, place);
    if (!(std::fabs(degrees.Latitude) <= 90.0))
        return "szerokość geograficzna " + QuotedExcerpt(latitudeText) + " poza zakresem od -90 do 90 stopni";
    if (!(std::fabs(degrees.Longitude) <= 180.0))
        return "długość geograficzna " + QuotedExcerpt(longitudeText) + " poza zakresem od -180 do 180 stopni";
    return {};
}

void PlaceOnMap(TSetPlaces& places, TPointArray& points)
{
    places.Projection = ProjectionFor(places.FileMetric, places.Places);
    points.resize(places.Places.size());
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = places.Projection.ToMap(PlaceDegrees(places.FileMetric, places.Places[i]));
}
