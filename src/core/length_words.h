#pragma once

#include <string>

#include "core/measure.h"
#include "core/number_text.h"
#include "core/route_kind.h"

// How the lines that give a route's length name the route and its unit, in
// the window and the command-line tool alike: an open route is "drogi", as
// it always was; a round trip "drogi zamkniętej", its length counting the
// way back; lengths measured on the Earth are kilometres.
struct TLengthWords {
    bool RoundTrip = false;
    bool Kilometres = false;
};

TLengthWords LengthWordsOf(const TRouteKind& kind, TMetric metric);

// "drogi" or "drogi zamkniętej".
std::string RouteGenitive(const TLengthWords& words);

// The length with two decimals and thousands separators ("%n"), and " km"
// after it for lengths on the Earth.
std::string LengthText(double length, const TLengthWords& words, const TNumberFormat& format);
