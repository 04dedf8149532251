#pragma once

#include <cstdint>
#include <string_view>

// Whole-text integer conversion with a fallback: leading blanks, then either
// an optional sign and decimal digits or a "$", "x", "X", "0x" or "0X"
// hexadecimal number, the digits running to the end of the text. Anything
// else, or a value outside 32 bits, gives defaultValue.
int32_t LenientInt(std::string_view text, int32_t defaultValue);
