#pragma once

#include <cstdint>

#include "cli/command_line.h"

// The last millisecond of a day: a time-of-day clock never reads more.
inline constexpr int64_t MaxSeedMs = 86399999;

// "--seed MS": every reseed of the random source reads MS instead of the
// clock, so the same command gives the same points or the same route again.
// Without it the real clock is read, as in the window.
void ApplySeedOption(const TParsedArgs& parsed);
