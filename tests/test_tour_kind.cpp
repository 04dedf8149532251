#include <gtest/gtest.h>

#include <algorithm>

#include "core/csv_points.h"
#include "core/route_file.h"
#include "core/tour_file.h"
#include "core/tour_kind.h"
#include "support/scratch_folder.h"

// A round trip's tour or route CSV says so in its header and stays a file
// of the same route for any reader; an open route's file is as it always was.
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
    const TPointArray points = {{0, 0, -1}, {3, 0, -1}, {3, 4, -1}, {0, 4, -1}};
    const std::string roundCsv = FormatRouteCsv(points, route, true);
    std::string semicolons = roundCsv;
    std::replace(semicolons.begin(), semicolons.end(), ',', ';');
    const struct {
        const char* Name;
        std::string Text;
        bool RoundTrip;
    } rows[] = {
        {"round trip.tour", round, true},
        {"open route.tour", plain, false},
        {"comment in the section.tour", plain + std::string(RoundTripTourComment) + "\n", false},
        {"no file.tour", "", false},
        {"round trip.CSV", roundCsv, true},
        {"round trip with semicolons.csv", semicolons, true},
        {"open route.csv", FormatRouteCsv(points, route, false), false},
        {"round trip's comment in a csv.csv", std::string(RoundTripTourComment) + "\n", false},
        {"tour text named csv.csv", round, false},
    };
    for (const auto& row : rows) {
        const std::string name = folder.File(row.Name);
        if (!row.Text.empty())
            WriteBytes(name, row.Text);
        EXPECT_EQ(RouteFileSaysRoundTrip(name), row.RoundTrip) << row.Name;
        if (std::string(row.Name).ends_with(".tour")) {
            EXPECT_EQ(TourFileSaysRoundTrip(name), row.RoundTrip) << row.Name;
        }
    }
    // The round trip's header does not stop the CSV being read as a route.
    TSpecimen read;
    ASSERT_TRUE(ReadRouteFile(folder.File("round trip.CSV"), points, read).Ok());
    EXPECT_EQ(read, route);
}
