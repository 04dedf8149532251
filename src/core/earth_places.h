#pragma once

#include <string>
#include <string_view>

#include "core/point_types.h"
#include "core/set_places.h"

// Places on the Earth as the readers take them.

// Why a place's latitude or longitude is no place on the Earth (beyond
// ±90° or ±180°), naming the text it was read from; empty when both fit.
std::string EarthRangeError(TMetric metric, const TPlace& place, std::string_view latitudeText,
                            std::string_view longitudeText);

// Makes the projection of the places on the Earth and their map points
// (one per place, in order, without links).
void PlaceOnMap(TSetPlaces& places, TPointArray& points);
