#pragma once

#include <optional>
#include <string>

#include "core/point_input.h"
#include "core/point_set.h"

// The operations that change the point set as a whole. They change the state
// and report what happened; rebuilding the matrix and whatever shows the set
// is the caller's part.

// Why an operation failed: the caption and the text of the error box.
struct TOperationError {
    std::string Caption;
    std::string Text;
};
// Empty on success.
using TOperationResult = std::optional<TOperationError>;

// An empty set without a file, unchanged.
void NewPointSet(TPointSetState& state);
// Every link cleared; the set counts as changed although no point moved.
void ClearRoute(TPointSetState& state);

// Replaces the set with the file's points (in the format of its extension:
// .tvu, .tsp or .csv) and its places and measure (FPlaces), every link
// cleared, and names the file. A TSPLIB or CSV file of more than maxPoints
// points is refused (a .tvu file of more than MaxPoints). A failure ("Błąd
// odczytu") leaves the state as it was. The distance matrix is not rebuilt
// here. info, when given, tells what else the read found.
TOperationResult LoadPointSet(TPointSetState& state, const std::string& fileName, TPointReadInfo* info = nullptr,
                              int32_t maxPoints = MaxPoints);
// Writes the set in the format of the name's extension, as the reader takes
// it back (.tsp, .csv, anything else .tvu), keeping what the format can hold
// of what its file said (see FormatSetAs; SaveLosses tells what it can't),
// and names the file; a failure ("Błąd zapisu") leaves the state as it was.
// No format holds the links.
TOperationResult SavePointSet(TPointSetState& state, const std::string& fileName);
