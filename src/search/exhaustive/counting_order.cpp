#include "search/exhaustive/counting_order.h"

#include <algorithm>
#include <vector>

void DecodeCountingOrder(int64_t k, int32_t n, TSpecimen& route)
{
    route.resize(static_cast<size_t>(std::max(n, 0)));
    std::vector<int32_t> digits(static_cast<size_t>(std::max(n - 1, 0)));
    int64_t q = k;
    for (int32_t i = 2; i <= n; ++i) {
        digits[i - 2] = static_cast<int32_t>(q % i);
        q /= i;
    }
    for (int32_t j = 0; j < n; ++j)
        route[j] = j;
    for (int32_t i = n; i >= 2; --i)
        SwapValues(route[digits[i - 2]], route[i - 1]);
}

int64_t CountingPosition(const TSpecimen& route)
{
    // Position i - 1 takes its final point at the decoder's step i, from
    // wherever that point stands then; its digit is that place.
    const int32_t n = static_cast<int32_t>(route.size());
    TSpecimen work(route.size());
    for (int32_t j = 0; j < n; ++j)
        work[j] = j;
    int64_t k = 0;
    for (int32_t i = n; i >= 2; --i) {
        int32_t digit = 0;
        while (work[digit] != route[i - 1])
            ++digit;
        SwapValues(work[digit], work[i - 1]);
        k += digit * Factorial(i - 1);
    }
    return k;
}
