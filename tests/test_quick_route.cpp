#include <gtest/gtest.h>

#include <algorithm>

#include "search/quick_route.h"
#include "search_reference.h"
#include "tricky_sets.h"

// No reversal of a stretch, the ends included where the start is free, may
// shorten a finished route by more than rounding.
TEST(QuickRoute, NoReversalShortensTheRoute)
{
    std::mt19937 random(3);
    for (int kind = 0; kind < skKindCount; ++kind) {
        for (int32_t n : {0, 1, 2, 3, 7, 15, 40}) {
            const TPointArray points = MakeTrickySet(kind, n, random);
            auto length = [&](const TSpecimen& route) {
                double sum = 0.0;
                for (size_t i = 0; i + 1 < route.size(); ++i)
                    sum += MapHypot(static_cast<int64_t>(points[route[i + 1]].X) - points[route[i]].X,
                                    static_cast<int64_t>(points[route[i + 1]].Y) - points[route[i]].Y);
                return sum;
            };
            for (int32_t start : {-1, n - 1}) {
                const TSpecimen route = QuickRoute(points, start);
                ASSERT_EQ(static_cast<int32_t>(route.size()), n);
                ASSERT_TRUE(IsPermutation(route));
                EXPECT_TRUE(start < 0 || route[0] == start);
                for (int32_t i = start >= 0 ? 1 : 0; i < n; ++i) {
                    for (int32_t j = i + 1; j < n; ++j) {
                        TSpecimen other = route;
                        std::reverse(other.begin() + i, other.begin() + j + 1);
                        EXPECT_GE(length(other), length(route) * (1.0 - 1e-9))
                            << "kind " << kind << ", n = " << n << ", reversal " << i << ".." << j;
                    }
                }
            }
        }
    }
}
