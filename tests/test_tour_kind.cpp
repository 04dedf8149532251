#include <gtest/gtest.h>

#include "core/tour_file.h"
#include "core/tour_kind.h"
#include "support/scratch_folder.h"

// A round trip's tour says so in its header and stays a tour of the same
// route for any reader; an open route's tour is as it always was.
TEST(TourKind, ARoundTripsTourSaysSoAndReadsAsTheSameRoute)
{
    const TSpecimen route = {2, 0, 3, 1};
    const std::string plain = FormatTour("zbiór", route);
    EXPECT_EQ(TourOfKind(plain, false), plain);
    const std::string round = TourOfKind(plain, true);
    const TTourParseResult parsed = ParseTour(round, 4);
    ASSERT_TRUE(parsed.Ok()) << parsed.ErrorText;
    EXPECT_EQ(parsed.Route, route);

    TScratchFolder folder;
    const struct {
        const char* Name;
        std::string Text;
        bool RoundTrip;
    } rows[] = {
        {"round trip", round, true},
        {"open route", plain, false},
        {"comment in the section", plain + std::string(RoundTripTourComment) + "\n", false},
        {"no file", "", false},
    };
    for (const auto& row : rows) {
        const std::string name = folder.File(std::string(row.Name) + ".tour");
        if (!row.Text.empty())
            WriteBytes(name, row.Text);
        EXPECT_EQ(TourFileSaysRoundTrip(name), row.RoundTrip) << row.Name;
    }
}
