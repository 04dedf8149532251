#pragma once

#include <cstdint>
#include <string>

// Saying how much memory was missing, wherever the program runs short of
// it: a bare "za mało pamięci" tells the user nothing to act on.

// A memory size: one decimal and a decimal comma, in the largest unit that
// keeps the number below a thousand, megabytes (10^6 bytes) at least
// ("762,9 MB", "1,2 GB").
std::string MemorySizeText(uint64_t bytes);

// The size of the last single allocation that found no memory, as noted
// by the programs' operator new (failed_allocation.cpp); 0 when none failed
// or nothing notes them (tests, benchmarks, a sanitizer's build).
void NoteFailedAllocation(uint64_t bytes);
uint64_t LastFailedAllocationBytes();

// "Za mało pamięci: potrzeba było naraz 762,9 MB, a program może teraz
// dostać najwyżej 488,0 MB", as much of it as is known; for the handler of
// a std::bad_alloc.
std::string OutOfMemoryText();

// Empty when the program may take needBytes more now, else why not: "what"
// (say "tablica odległości 10 000 × 10 000") needs more than the room left.
std::string MemoryShortage(const std::string& what, uint64_t needBytes);
