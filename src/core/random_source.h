#pragma once

#include <cstdint>
#include <functional>

// The program's one random source: a 32-bit linear congruential generator
// shared by every part of the program.
uint32_t RandomState();
void SetRandomState(uint32_t state);

// A uniform integer in 0 .. n - 1 (0 when n is 0); advances the state.
int32_t RandomBelow(int32_t n);

// Sets the state to the current UTC time of day in milliseconds since
// midnight. Two reseeds within one clock tick repeat the same sequence.
void ReseedFromClock();

// The clock ReseedFromClock reads. Tests and the command-line tool's --seed
// install a fixed one; an empty function restores the system clock.
using TTimeOfDayClock = std::function<uint32_t()>;
void SetReseedClock(TTimeOfDayClock clock);

// Milliseconds since midnight, UTC, from the system clock.
uint32_t SystemTimeOfDayMs();
