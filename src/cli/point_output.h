#pragma once

// The writers of the point formats live in the core, where the window's save
// finds them too.
#include "core/point_output.h"
