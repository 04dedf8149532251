#pragma once

#include <optional>
#include <string_view>

#include "core/point_set.h"

// A point's coordinates as the user types them: "X; Y", two whole numbers
// read as a point file's numbers are (so "$10" is 16) with one semicolon
// between them and blanks around either. Nothing for any other text: no
// semicolon or a second one, an empty part, a part that is no number
// ("abc", "1,5", "100 200"). Next is -1.
std::optional<TMapPoint> ParseTypedPoint(std::string_view text);
