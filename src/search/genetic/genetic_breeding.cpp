#include "search/genetic/genetic_breeding.h"

#include <algorithm>
#include <cmath>

bool RatePasses(int32_t draw, double rate)
{
    return static_cast<long double>(draw) / 100.0L <= static_cast<long double>(rate);
}

long double LengthSum(const double* lengths, int32_t count)
{
    long double sum = 0;
    for (int32_t i = 0; i < count; ++i)
        sum += lengths[i];
    return sum;
}

double LengthSpread(const double* lengths, int32_t count)
{
    if (count < 2)
        return 1.0;
    long double sum = 0;
    long double squares = 0;
    for (int32_t i = 0; i < count; ++i) {
        const long double x = lengths[i];
        sum += x;
        squares += x * x;
    }
    const long double variance = (squares - sum * sum / count) / (count - 1);
    if (!std::isfinite(variance) || variance < 0)
        return 1.0;
    return static_cast<double>(std::sqrt(variance));
}

void LengthsToFitness(double* values, int32_t count, long double sum)
{
    for (int32_t i = 0; i < count; ++i)
        values[i] = sum > 0 ? static_cast<double>(1.0L - values[i] / sum) : 0.0;
}

void SelectByFitness(const int32_t* current, const double* fitness, int32_t population, int32_t n, int32_t* next)
{
    const size_t width = static_cast<size_t>(n);
    int32_t k = 0;
    for (int32_t i = 0; i < population && k < population; ++i) {
        // nearbyint rounds halves to even under the default rounding mode:
        // a fitness of exactly 0.5 earns no extra copy.
        const double rounded = std::nearbyint(fitness[i]);
        const int32_t extra = rounded > 0 ? static_cast<int32_t>(std::min<double>(rounded, population)) : 0;
        for (int32_t c = 0; c <= extra && k < population; ++c, ++k)
            std::copy_n(current + i * width, width, next + k * width);
    }
}

namespace {

void FillFromOwnParent(const int32_t* own, int32_t n, int32_t lo, int32_t hi, int32_t* child,
                       const TSegmentMarker& marker)
{
    int32_t read = (hi + 1) % n;
    int32_t write = read;
    for (int32_t written = n - (hi - lo + 1); written > 0;) {
        const int32_t value = own[read];
        if (!marker.Marked(value)) {
            child[write] = value;
            if (++write == n)
                write = 0;
            --written;
        }
        if (++read == n)
            read = 0;
    }
}

void BuildChild(const int32_t* own, const int32_t* other, int32_t n, int32_t lo, int32_t hi, int32_t* child,
                TSegmentMarker& marker)
{
    marker.Begin();
    for (int32_t p = lo; p <= hi; ++p) {
        child[p] = other[p];
        marker.Mark(other[p]);
    }
    FillFromOwnParent(own, n, lo, hi, child, marker);
}

}  // namespace

void OrderCrossover(const int32_t* parentA, const int32_t* parentB, int32_t n, int32_t lo, int32_t hi, int32_t* childA,
                    int32_t* childB, TSegmentMarker& marker)
{
    BuildChild(parentA, parentB, n, lo, hi, childA, marker);
    BuildChild(parentB, parentA, n, lo, hi, childB, marker);
}
