#pragma once

#include <optional>
#include <string>

#include "core/length_words.h"
#include "core/number_text.h"
#include "search/bound/lower_bound.h"

// The lines that tell what the lower bound says about a route, the same in
// the window and the command-line tool.

// "Dolne ograniczenie długości drogi: 1 234,56", marked when the ascent
// was stopped before its end, or that no value was certified before a stop.
std::string BoundLine(const TLowerBound& bound, const TNumberFormat& format);
// The same for a bound of routes of any kind under any measure:
// "Dolne ograniczenie długości drogi zamkniętej: 1 234,56 km".
std::string BoundLine(const TLowerBound& bound, const TNumberFormat& format, const TLengthWords& words);

// How much longer than the bound a route of this length is, (L - B) / B:
// also the most it can be longer than the shortest route. 0 for a route of
// length 0; nothing when the bound is 0 (or uncertified) and the route is
// not, because then no ratio holds.
std::optional<double> GapFraction(double length, const TLowerBound& bound);

// GapFraction as a percentage rounded up to a tenth (3.3 for 3.249 %), so
// that "najwyżej" stays true; nothing where GapFraction gives nothing.
std::optional<double> GapPercent(double length, const TLowerBound& bound);

// GapPercent with one decimal and a per cent sign ("3,3%"); empty when it
// gives nothing.
std::string GapPercentText(double length, const TLowerBound& bound, const TNumberFormat& format);

// "Długość drogi: 1 274,00, najwyżej 3,3% więcej niż najkrótsza" (the
// percentage of GapPercentText). Empty when GapFraction gives nothing.
std::string GapLine(double length, const TLowerBound& bound, const TNumberFormat& format);
// The same for a route of any kind under any measure: "Długość drogi
// zamkniętej: 1 274,00 km, najwyżej ...".
std::string GapLine(double length, const TLowerBound& bound, const TNumberFormat& format, const TLengthWords& words);
