#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/point_set.h"

// What the text point formats (TSPLIB, CSV) share: the outcome of a read,
// the reading of one coordinate, the walk over lines and the texts the user
// sees about a read.

// Outcome of reading a point text: empty ErrorText means success. Points
// carry no links (Next is -1).
struct TPointParseResult {
    TPointArray Points;
    // Coordinates that were not whole numbers and were rounded.
    int32_t RoundedCount = 0;
    std::string ErrorText;
    // The file's measure, its coordinates where the points alone do not
    // hold them (decimals, places on the Earth), and what else it said.
    TSetPlaces Places;
    bool Ok() const { return ErrorText.empty(); }
};

enum class TCoordinateRead { Whole, Rounded, Malformed, OutOfRange };

// A decimal number, whole text, no blanks: optional sign, digits with an
// optional point ("12", "-0.5", ".5", "12."), an optional exponent
// ("2.00000e+02"). The value is rounded to the nearest integer, halves away
// from zero, worked out on the digits themselves so no binary fraction gets
// in the way. value is written for Whole and Rounded only.
TCoordinateRead ReadCoordinate(std::string_view text, int32_t& value);

// The next line of rest, which then starts after it: LF, CR LF and a lone CR
// end a line. A UTF-8 byte-order mark at the very start is no part of it.
std::string_view TakeLine(std::string_view& rest);
std::string_view SkipByteOrderMark(std::string_view text);
// Without blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);
// The text in Polish quotes, cut to its first 40 bytes (at a character
// boundary) so a message about a huge line stays readable, its control
// characters shown escaped (PrintableText).
std::string QuotedExcerpt(std::string_view text);
// "wiersz N: " before a message about line N (counted from 1).
std::string LineMessage(int64_t lineNumber, const std::string& message);

// "Zbyt wiele punktów w pliku: N (najwyżej 10000)", the .tvu reader's text;
// limit is the most points the reader takes.
std::string TooManyPointsText(std::string_view count, int32_t limit = MaxPoints);
std::string TooManyPointsText(size_t count, int32_t limit = MaxPoints);

// "N współrzędnych zaokrąglono do liczb całkowitych", with the Polish
// plural for N. For the status panel and the command line after a read.
std::string RoundedCoordinatesText(int32_t count);

// Picks the Polish noun form for count: one (1), few (2-4, 22-24, ...,
// not 12-14) or many (0, 5-21, 25-31, ...).
const char* PolishPlural(int64_t count, const char* one, const char* few, const char* many);
