#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "search/local/route_ring.h"
#include "search/local/trial_ring.h"
#include "support/shuffled_ring.h"

namespace {

// Every node has the same two neighbours on both, and the trial's places
// run round its ring one by one.
void ExpectSameRing(const TTrialRing& trial, const TRouteRing& ring, int trial_number)
{
    for (int32_t node = 0; node < ring.Size(); ++node) {
        const int32_t next = trial.Next(node);
        const int32_t prev = trial.Prev(node);
        ASSERT_TRUE((next == ring.Next(node) && prev == ring.Prev(node)) ||
                    (next == ring.Prev(node) && prev == ring.Next(node)))
            << "trial " << trial_number << ", node " << node;
        ASSERT_EQ(trial.Prev(next), node) << "trial " << trial_number << ", node " << node;
        ASSERT_EQ((trial.Place(node) + 1) % ring.Size(), trial.Place(next))
            << "trial " << trial_number << ", node " << node;
    }
}

}  // namespace

// Chains of up to a dozen exchanges, each named as a chain names them (b
// after a and d after c, in either direction of the trial as it stands),
// leave the trial as the same exchanges leave a ring, and the ring under
// the trial is never touched.
TEST(TrialRing, ExchangesLeaveTheRingTheSameExchangesMake)
{
    std::mt19937 random(51);
    for (int trial_number = 0; trial_number < 2000; ++trial_number) {
        const int32_t size = 4 + static_cast<int32_t>(random() % 20);
        const TRouteRing base = ShuffledRing(size, random);
        TRouteRing ring = base;
        TTrialRing trial;
        trial.Reset(base);
        const int32_t exchanges = 1 + static_cast<int32_t>(random() % 12);
        for (int32_t e = 0; e < exchanges; ++e) {
            const bool forward = random() % 2 == 0;
            auto step = [&](int32_t node) { return forward ? trial.Next(node) : trial.Prev(node); };
            const int32_t a = static_cast<int32_t>(random() % size);
            const int32_t b = step(a);
            int32_t c = b;
            for (int32_t k = 1 + static_cast<int32_t>(random() % (size - 3)); k > 0; --k)
                c = step(c);
            const int32_t d = step(c);
            trial.Exchange(a, b, c, d);
            ring.Exchange(a, b, c, d);
            ExpectSameRing(trial, ring, trial_number);
        }
        for (int32_t p = 0; p < size; ++p)
            ASSERT_EQ(base.Position(base.At(p)), p);
    }
}

TEST(TrialRing, ResetForgetsTheExchanges)
{
    std::mt19937 random(52);
    const TRouteRing base = ShuffledRing(12, random);
    TTrialRing trial;
    trial.Reset(base);
    trial.Exchange(base.At(0), base.At(1), base.At(5), base.At(6));
    trial.Reset(base);
    for (int32_t p = 0; p < base.Size(); ++p) {
        EXPECT_EQ(trial.Next(base.At(p)), base.Next(base.At(p)));
        EXPECT_EQ(trial.Place(base.At(p)), p);
    }
}
