#pragma once

#include <string>
#include <string_view>

// Coordinates as decimal texts: read at full precision, and written back as
// the shortest text that reads as the same value, so that a set read and
// saved keeps every coordinate it had.

// The double nearest to a decimal text of the shape ReadCoordinate takes
// (optional sign, digits with an optional point, an optional exponent;
// nothing else, no blanks). A value too small for a double is 0; false for
// a text of another shape and for a value too large for a double.
bool ReadDecimal(std::string_view text, double& value);

// The shortest text that reads back as the same double: "0.1", "52.2297",
// "1e+21"; 0 is "0" whatever its sign.
std::string ShortestDecimal(double value);
