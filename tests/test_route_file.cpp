#include <gtest/gtest.h>

#include <string>

#include "core/csv_points.h"
#include "core/route_file.h"
#include "core/tour_file.h"
#include "support/scratch_folder.h"

namespace {

const TPointArray Five{{10, 20, -1}, {30, 5, -1}, {-7, 8, -1}, {0, 0, -1}, {44, 44, -1}};
const TSpecimen Route{2, 0, 4, 1, 3};

TEST(RouteFile, RouteCsvOfExportComesBack)
{
    const TTourParseResult read = ParseRouteCsv(FormatRouteCsv(Five, Route), Five);
    ASSERT_TRUE(read.Ok()) << read.ErrorText;
    EXPECT_EQ(read.Route, Route);
}

TEST(RouteFile, RouteCsvTakesSemicolonsAnyLineOrderAndNoHeader)
{
    const TTourParseResult read = ParseRouteCsv(
        "\xEF\xBB\xBF\r\n3;4;44;44\r\n1;2;-7;8\r\n\r\n2 ; 0 ; 10 ; 20\r\n"
        "5;3;0;0\r\n4;1;30;5\r\n",
        Five);
    ASSERT_TRUE(read.Ok()) << read.ErrorText;
    EXPECT_EQ(read.Route, Route);
}

TEST(RouteFile, RouteCsvRefusesWhatIsNoRouteOfTheSetAndSaysWhy)
{
    const std::string header = "kolejność,indeks,x,y\n";
    const std::string good = "1,2,-7,8\n2,0,10,20\n3,4,44,44\n4,1,30,5\n";
    const struct {
        const char* name;
        std::string text;
        std::string error;
    } rows[] = {
        {"three fields", header + "1,2,-7\n", "wiersz 2: oczekiwano czterech pól „kolejność,indeks,x,y”: „1,2,-7”"},
        {"position past the end", header + "6,2,-7,8\n", "wiersz 2: kolejność „6” spoza zakresu 1..5"},
        {"position zero", header + "0,2,-7,8\n", "wiersz 2: kolejność „0” spoza zakresu 1..5"},
        {"index past the end", header + "1,5,-7,8\n", "wiersz 2: indeks „5” spoza zakresu 0..4"},
        {"signed index", header + "1,-2,-7,8\n", "wiersz 2: indeks „-2” spoza zakresu 0..4"},
        {"fraction", header + "1,2,-7.5,8\n", "wiersz 2: współrzędna „-7.5” nie jest liczbą całkowitą"},
        {"another set", header + "1,2,-7,9\n",
         "wiersz 2: punkt 2 leży w zbiorze w (-7; 8), a w pliku w (-7; 9); to droga innego zbioru"},
        {"position twice", header + good + "4,3,0,0\n", "wiersz 6: kolejność 4 powtarza się"},
        {"point twice", header + good + "5,1,30,5\n", "wiersz 6: punkt 1 powtarza się w drodze"},
        {"point left out", header + good, "Droga odwiedza 4 z 5 punktów zbioru"},
        {"empty", "", "Droga odwiedza 0 z 5 punktów zbioru"},
    };
    for (const auto& row : rows) {
        const TTourParseResult read = ParseRouteCsv(row.text, Five);
        EXPECT_EQ(read.ErrorText, row.error) << row.name;
    }
}

TEST(RouteFile, ReadsByExtensionAndRefusesAnotherSize)
{
    TScratchFolder folder;
    const struct {
        const char* name;
        std::string content;
    } rows[] = {
        {"set.tour", FormatTour("set", Route)},
        {"set.CSV", FormatRouteCsv(Five, Route)},
        {"route.txt", FormatTour("set", Route)},
    };
    for (const auto& row : rows) {
        WriteBytes(folder.File(row.name), row.content);
        TSpecimen route;
        const TFileResult read = ReadRouteFile(folder.File(row.name), Five, route);
        ASSERT_TRUE(read.Ok()) << row.name << ": " << read.ErrorText;
        EXPECT_EQ(route, Route) << row.name;
    }
    TSpecimen route{7};
    const TPointArray four(Five.begin(), Five.begin() + 4);
    EXPECT_EQ(ReadRouteFile(folder.File("set.tour"), four, route).ErrorText,
              "Trasa ma DIMENSION „5”, a zbiór ma 4 punkty");
    EXPECT_FALSE(ReadRouteFile(folder.File("missing.tour"), Five, route).Ok());
    EXPECT_EQ(route, TSpecimen{7});
}

TEST(RouteFile, TourBesideASetTakesThePlaceOfItsExtension)
{
    const struct {
        const char* set;
        const char* tour;
    } rows[] = {
        {"a/zbiór.tsp", "a/zbiór.tour"},
        {"x.tvu", "x.tour"},
        {"dane.d/punkty", "dane.d/punkty.tour"},
        {"/tmp/p.tar.csv", "/tmp/p.tar.tour"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(RouteFileBeside(row.set), row.tour) << row.set;
}

}  // namespace
