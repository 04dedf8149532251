#pragma once

#include <string>

#include "core/host.h"
#include "core/point_set.h"

// The operations that change the point set as a whole. Each ends by
// refreshing what shows the set, through the host.

void NewPointSet(TPointSetState& state, TCoreHost& host);
void ClearRoute(TPointSetState& state, TCoreHost& host);

// Failures are shown through the host ("Błąd odczytu" / "Błąd zapisu") and
// leave the state as it was. They return whether the operation succeeded.
bool LoadPointSet(TPointSetState& state, TCoreHost& host, const std::string& fileName);
bool SavePointSet(TPointSetState& state, TCoreHost& host, const std::string& fileName);
