#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The steps of one generation of the genetic search, over flat populations:
// slot i of a population of routes of n points is entries i*n .. i*n+n-1.

// A probability test of the search: a draw of 0 .. 9 passes when draw / 100,
// formed in extended precision, is at most the rate (rate 0.03 passes draws
// 0 .. 2 only, since 3/100 in extended precision lies above the double 0.03).
bool RatePasses(int32_t draw, double rate);

// Sum of the lengths, in extended precision.
long double LengthSum(const double* lengths, int32_t count);

// Sample standard deviation of the lengths as sqrt((Σx² − (Σx)²/P) / (P − 1));
// 1.0 when that fails (a variance below zero through rounding, not finite).
double LengthSpread(const double* lengths, int32_t count);

// Turns lengths into fitness in place: 1 − length / sum, or 0 when the sum is
// not above 0.
void LengthsToFitness(double* values, int32_t count, long double sum);

// Fills next with copies of current: specimen i earns its fitness rounded to
// the nearest integer (halves to even) plus one copies, in order, until the
// population is full.
void SelectByFitness(const int32_t* current, const double* fitness, int32_t population, int32_t n, int32_t* next);

// Marks the points of a crossover segment, so that membership costs one
// comparison instead of a scan of the segment.
class TSegmentMarker {
public:
    explicit TSegmentMarker(int32_t n) : FStamps(static_cast<size_t>(n), 0) {}
    void Begin()
    {
        if (++FStamp == 0) {
            std::fill(FStamps.begin(), FStamps.end(), 0u);
            FStamp = 1;
        }
    }
    void Mark(int32_t value) { FStamps[static_cast<size_t>(value)] = FStamp; }
    bool Marked(int32_t value) const { return FStamps[static_cast<size_t>(value)] == FStamp; }

private:
    std::vector<uint32_t> FStamps;
    uint32_t FStamp = 0;
};

// Order crossover: child A takes positions lo .. hi from parent B and the
// rest from A in A's cyclic order starting after hi; child B the other way
// round. The children must not share storage with the parents.
void OrderCrossover(const int32_t* parentA, const int32_t* parentB, int32_t n, int32_t lo, int32_t hi, int32_t* childA,
                    int32_t* childB, TSegmentMarker& marker);
