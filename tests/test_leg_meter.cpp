#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "search/neighbours/leg_meter.h"
#include "support/measure_kind_sets.h"

// Whole-number legs are the measure's own, bit for bit; the plane's and the
// sphere's within the error the meter owns to; every leg within the longest
// leg, and no floor ever above the leg it stands for, so that a tree that
// rules out a box by its floor rules out no lighter edge.
TEST(LegMeter, LegsFollowTheMeasureAndFloorsStayBelowThem)
{
    std::mt19937 random(91);
    for (const TMetric metric : EveryMetric()) {
        const TMeasure measure(metric, MakePlaces(metric, 200, random));
        const TLegMeter legs(measure);
        const auto& x = legs.SpaceX();
        const auto& y = legs.SpaceY();
        const auto& z = legs.SpaceZ();
        for (int32_t a = 0; a < 200; ++a) {
            for (int32_t b = 0; b < 200; b += 7) {
                const double leg = legs.Leg(a, b);
                const double exact = measure.Leg(a, b);
                if (legs.WholeLegs())
                    ASSERT_EQ(leg, exact) << MetricKey(metric);
                else
                    ASSERT_NEAR(leg, exact, legs.LegError() + 4e-16 * exact) << MetricKey(metric);
                ASSERT_EQ(leg, legs.Leg(b, a)) << MetricKey(metric);
                ASSERT_LE(exact, legs.LongestLeg()) << MetricKey(metric);
                const double dx = x[a] - x[b];
                const double dy = y[a] - y[b];
                const double dz = z.empty() ? 0.0 : z[a] - z[b];
                ASSERT_LE(legs.LegFloor(std::sqrt(dx * dx + dy * dy + dz * dz)), exact) << MetricKey(metric);
            }
        }
    }
}

// A part of a set keeps the measure of the whole.
TEST(LegMeter, SubsetMeasuresItsPointsAsTheWholeDoes)
{
    std::mt19937 random(92);
    for (const TMetric metric : EveryMetric()) {
        const TLegMeter whole(TMeasure(metric, MakePlaces(metric, 50, random)));
        const std::vector<int32_t> ids = {7, 3, 44, 3, 12};
        const TLegMeter part = whole.Subset(ids);
        ASSERT_EQ(part.Count(), 5);
        for (int32_t a = 0; a < 5; ++a)
            for (int32_t b = 0; b < 5; ++b)
                EXPECT_EQ(part.Leg(a, b), whole.Leg(ids[a], ids[b])) << MetricKey(metric);
        EXPECT_EQ(part.PlaneX()[2], whole.PlaneX()[44]);
    }
}
