#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "core/route_links.h"
#include "core/tour_file.h"

namespace {

TEST(TourFile, WritesTsplibTourWithNumbersFromOne)
{
    EXPECT_EQ(FormatTour("wyspa", {2, 0, 1}),
              "NAME : wyspa\nTYPE : TOUR\nDIMENSION : 3\nTOUR_SECTION\n3\n1\n2\n-1\nEOF\n");
}

TEST(TourFile, EveryRouteOfSmallSetsComesBackAsWritten)
{
    for (int32_t n = 0; n <= 6; ++n) {
        TSpecimen route(static_cast<size_t>(n));
        std::iota(route.begin(), route.end(), 0);
        do {
            const TTourParseResult read = ParseTour(FormatTour("t", route), route.size());
            ASSERT_TRUE(read.Ok()) << read.ErrorText;
            ASSERT_EQ(read.Route, route);
        } while (std::next_permutation(route.begin(), route.end()));
    }
}

TEST(TourFile, ReadsLooserLayouts)
{
    const char* texts[] = {
        "TOUR_SECTION\n2 3 1 -1\n",
        "NAME: t\r\nTYPE: tour\r\nDIMENSION: 03\r\nTOUR_SECTION\r\n  2\r\n\r\n3\t1\r\n-1\r\nEOF\r\n",
        "COMMENT : no end mark\nTOUR_SECTION\n2\n3\n1",
        "TOUR_SECTION\n2\n3\n1\n-1\n4\n",
    };
    for (const char* text : texts) {
        const TTourParseResult read = ParseTour(text, 3);
        EXPECT_TRUE(read.Ok()) << text << "\n" << read.ErrorText;
        EXPECT_EQ(read.Route, (TSpecimen{1, 2, 0})) << text;
    }
}

TEST(TourFile, RefusesBadToursAndSaysWhy)
{
    const std::pair<const char*, const char*> cases[] = {
        {"TOUR_SECTION\n1\n2\n2\n-1\n", "wiersz 4: punkt 2 powtarza się w trasie"},
        {"TOUR_SECTION\n1 2 0 -1\n", "wiersz 2: numer punktu „0” spoza zakresu 1..3"},
        {"TOUR_SECTION\n1 2 4 -1\n", "wiersz 2: numer punktu „4” spoza zakresu 1..3"},
        {"TOUR_SECTION\n1 2 x -1\n", "wiersz 2: numer punktu „x” nie jest liczbą całkowitą"},
        {"TOUR_SECTION\n1 2.0 3 -1\n", "wiersz 2: numer punktu „2.0” nie jest liczbą całkowitą"},
        {"TOUR_SECTION\n+1 2 3 -1\n", "wiersz 2: numer punktu „+1” nie jest liczbą całkowitą"},
        {"TOUR_SECTION\n1 2 -3 -1\n", "wiersz 2: numer punktu „-3” spoza zakresu 1..3"},
        {"DIMENSION : 2\nTOUR_SECTION\n1 2 3 -1\n", "Trasa ma DIMENSION „2”, a zbiór ma 3 punkty"},
        {"TOUR_SECTION\n1 2 99999999999999999999\n", "wiersz 2: numer punktu „99999999999999999999”"},
        {"TOUR_SECTION\n1 2 -1\n", "Trasa odwiedza 2 z 3 punktów zbioru"},
        {"DIMENSION : 4\nTOUR_SECTION\n1 2 3 -1\n", "Trasa ma DIMENSION „4”, a zbiór ma 3 punkty"},
        {"TYPE : TSP\nTOUR_SECTION\n1 2 3 -1\n", "To nie jest plik trasy: TYPE „TSP”"},
        {"NAME : t\nEOF\n", "W pliku trasy brak sekcji TOUR_SECTION"},
        {"1 2 3\n", "wiersz 1: dane poza sekcją TOUR_SECTION"},
    };
    for (const auto& [text, expected] : cases) {
        const TTourParseResult read = ParseTour(text, 3);
        EXPECT_EQ(read.ErrorText.rfind(expected, 0), 0u) << text << "\n" << read.ErrorText;
        EXPECT_TRUE(read.Route.empty()) << text;
    }
}

// Slow reference: try every start, follow the links, accept a walk that
// meets every point once and then ends.
std::optional<TSpecimen> ReferenceRoute(const TPointArray& points)
{
    const int32_t n = static_cast<int32_t>(points.size());
    for (int32_t start = 0; start < n; ++start) {
        TSpecimen walk;
        int32_t at = start;
        while (at >= 0 && at < n && static_cast<int32_t>(walk.size()) < n &&
               std::find(walk.begin(), walk.end(), at) == walk.end()) {
            walk.push_back(at);
            at = points[static_cast<size_t>(at)].Next;
        }
        if (static_cast<int32_t>(walk.size()) == n && at == -1)
            return walk;
    }
    return std::nullopt;
}

TEST(RouteFromLinks, AgreesWithTheSlowReferenceOnEveryLinkingOfSmallSets)
{
    int routes = 0;
    for (int32_t n = 0; n <= 5; ++n) {
        TPointArray points(static_cast<size_t>(n));
        // Every Next in -1..n (n names no point) for every point, as an odometer.
        std::vector<int32_t> digits(static_cast<size_t>(n), -1);
        for (;;) {
            for (int32_t i = 0; i < n; ++i)
                points[static_cast<size_t>(i)].Next = digits[static_cast<size_t>(i)];
            const std::optional<TSpecimen> route = RouteFromLinks(points);
            ASSERT_EQ(route, ReferenceRoute(points)) << "n " << n;
            routes += route ? 1 : 0;
            size_t i = 0;
            while (i < digits.size() && digits[i] == n)
                digits[i++] = -1;
            if (i == digits.size())
                break;
            ++digits[i];
        }
    }
    EXPECT_EQ(routes, 1 + 2 + 6 + 24 + 120);
}

TEST(RouteFromLinks, NamedShapes)
{
    EXPECT_EQ(RouteFromLinks({}), std::nullopt);
    EXPECT_EQ(RouteFromLinks({{0, 0, -1}}), (TSpecimen{0}));
    EXPECT_EQ(RouteFromLinks({{0, 0, -1}, {0, 0, 2}, {0, 0, 0}}), (TSpecimen{1, 2, 0}));
    EXPECT_EQ(RouteFromLinks({{0, 0, 1}, {0, 0, 2}, {0, 0, 0}}), std::nullopt);
    EXPECT_EQ(RouteFromLinks({{0, 0, 2}, {0, 0, 2}, {0, 0, -1}}), std::nullopt);
}

}  // namespace
