#pragma once

#include <string>
#include <string_view>

// The kind of route a tour file holds. A TSPLIB tour is a round trip by
// that format's meaning, but this program also keeps open routes in tour
// files; a round trip it writes says so in a COMMENT line, which any
// reader of the format passes over, so the kind comes back when the file
// is read again.

inline constexpr std::string_view RoundTripTourComment = "COMMENT : droga zamknięta";

// tour (FormatTour's text) with the round trip's COMMENT line after its
// first line; an open route's tour as it is.
std::string TourOfKind(const std::string& tour, bool roundTrip);

// Whether a tour file's header (its lines before TOUR_SECTION) has the
// round trip's COMMENT line; false when it can't be read.
bool TourFileSaysRoundTrip(const std::string& fileName);

// Whether a route file says it holds a round trip: a tour by its COMMENT
// line, a route CSV by its header's first column (RouteCsvRoundTrip).
bool RouteFileSaysRoundTrip(const std::string& fileName);
