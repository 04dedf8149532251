#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/json_text.h"
#include "core/route_kind.h"
#include "core/set_places.h"

// How a command measures the set and which routes it counts: the options
// that solve, compare, bound and length share.

// "--metric", "--round-trip" and "--end"; "--start" stays with each
// command's own options.
std::vector<TOptionRule> SetOptionRules();

// "--metric file" (the default) measures the set as its file defines;
// "--metric plane" with real Euclidean legs between the coordinates as
// written. Throws TUsageError for another word.
void ApplyMetricOption(const TParsedArgs& parsed, TSetPlaces& places);

// The kind of route the options ask for ("--round-trip", "--start",
// "--end"), taken as given.
TRouteKind ReadRouteKind(const TParsedArgs& parsed);

// Throws TUsageError unless "--start" and "--end", when given, name points
// of a set of count points and the kind asked for is one a route can have.
void CheckRouteKindOptions(const TParsedArgs& parsed, size_t count);

// The JSON fields of the measure and the kind: "metric" for a set not
// measured on the plane, "round_trip", "start" and "end" for a route other
// than the open one with free ends (null for an end left free). Nothing
// for the program's first kind of set and route, whose results keep their
// fields.
void AddSetFields(TJsonObject& object, const TSetPlaces& places, const TRouteKind& kind);

// "Miara: ..." and "Droga: ..." for a person, under the same rule.
std::vector<std::string> SetLines(const TSetPlaces& places, const TRouteKind& kind);
