#include <gtest/gtest.h>

#include "core/set_edits.h"

// Removed points take their places with them, and a fixed start or end
// follows its point to its new number, or is free again when it went.
TEST(SetEdits, PlacesAndFixedPointsFollowRemovedPoints)
{
    const TPlaceArray places = {{0.5, 0.0}, {1.5, 0.0}, {2.5, 0.0}, {3.5, 0.0}, {4.5, 0.0}};
    const struct {
        const char* Name;
        std::vector<char> Removed;
        TRouteKind Kind;
        TRouteKind Kept;
        std::vector<double> KeptX;
    } rows[] = {
        {"nothing removed", {0, 0, 0, 0, 0}, {false, 1, 3}, {false, 1, 3}, {0.5, 1.5, 2.5, 3.5, 4.5}},
        {"before both", {1, 0, 0, 0, 0}, {false, 1, 3}, {false, 0, 2}, {1.5, 2.5, 3.5, 4.5}},
        {"the start itself", {0, 1, 0, 0, 0}, {false, 1, 3}, {false, -1, 2}, {0.5, 2.5, 3.5, 4.5}},
        {"the end and after", {0, 0, 0, 1, 1}, {false, 1, 3}, {false, 1, -1}, {0.5, 1.5, 2.5}},
        {"a round trip's start", {1, 1, 0, 0, 0}, {true, 4, -1}, {true, 2, -1}, {2.5, 3.5, 4.5}},
        {"free ends stay free", {1, 0, 1, 0, 0}, {true, -1, -1}, {true, -1, -1}, {1.5, 3.5, 4.5}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(KindWithout(row.Kind, row.Removed), row.Kept) << row.Name;
        const TPlaceArray kept = PlacesWithout(places, row.Removed);
        ASSERT_EQ(kept.size(), row.KeptX.size()) << row.Name;
        for (size_t i = 0; i < kept.size(); ++i)
            EXPECT_EQ(kept[i].X, row.KeptX[i]) << row.Name << " " << i;
    }
}
