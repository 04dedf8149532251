#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/csv_points.h"
#include "core/point_formats.h"
#include "core/set_places.h"

namespace {

using TXy = std::vector<std::pair<int32_t, int32_t>>;

TXy Coordinates(const TPointArray& points)
{
    TXy xy;
    for (const TMapPoint& point : points)
        xy.emplace_back(point.X, point.Y);
    return xy;
}

struct TCsvCase {
    const char* Text;
    TXy Expected;
    int32_t Rounded;
};

TEST(CsvPoints, ReadsSeparatorsHeadersDecimalsAndLineEnds)
{
    const TCsvCase cases[] = {
        {"1,2\n3,4\n", {{1, 2}, {3, 4}}, 0},
        {"1;2\r\n3;4\r\n", {{1, 2}, {3, 4}}, 0},
        {"x,y\n1,2\n", {{1, 2}}, 0},
        {"X ; Y\n1.5;-2.5\n", {{2, -3}}, 2},
        {"  1 ,\t2  \n\n\n3,4", {{1, 2}, {3, 4}}, 0},
        {"\xEF\xBB\xBFx;y\r\n\r\n1e2;-2.4e0\r\n", {{100, -2}}, 1},
        {"\nszerokość;wysokość\n7;8\n\n", {{7, 8}}, 0},
        {"", {}, 0},
        {"x,y\n", {}, 0},
    };
    for (const TCsvCase& c : cases) {
        const TPointParseResult result = ParseCsvPoints(c.Text);
        ASSERT_TRUE(result.Ok()) << c.Text << ": " << result.ErrorText;
        EXPECT_EQ(Coordinates(result.Points), c.Expected) << c.Text;
        EXPECT_EQ(result.RoundedCount, c.Rounded) << c.Text;
    }
}

TEST(CsvPoints, RefusesAMalformedLineByItsNumber)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1,2\n3;4\n", "wiersz 2: oczekiwano dwóch liczb rozdzielonych „,”"},
        {"x,y\na,b\n", "wiersz 2: nieprawidłowa liczba „a”"},
        {"x,y\nab\n", "wiersz 2: oczekiwano dwóch liczb „x,y” lub „x;y”"},
        {"x,y\nx,y\n", "wiersz 2:"},
        {"1,5;2,5\n", "wiersz 1:"},
        {"1,2,3\n", "wiersz 1:"},
        {"1;2\n\n3\n", "wiersz 3:"},
        {"1;2\n3;4;\n", "wiersz 2:"},
        {"1;abc\n", "wiersz 1:"},
        {"1;2\n3;y\n", "wiersz 2: nieprawidłowa liczba „y”"},
        {"1;2\n3;3000000000\n", "wiersz 2: współrzędna poza zakresem liczb 32-bitowych: „3000000000”"},
    };
    for (const auto& [text, expected] : cases) {
        const TPointParseResult result = ParseCsvPoints(text);
        EXPECT_EQ(result.ErrorText.rfind(expected, 0), 0u) << text << "\n" << result.ErrorText;
        EXPECT_TRUE(result.Points.empty()) << text;
    }
}

// The first data line, which also decides the separator, is told what is
// wrong with it just as a later line would be.
TEST(CsvPoints, BadFirstDataLineGetsTheMessageOfALaterLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.5.3,2", "1,2"}, {"1e99,2", "1,2"}, {"3,-x", "1,2"},     {"1,5;2,5", "1;2"},
        {"1;2;3", "1;2"},   {"\"1,2", "1,2"},  {"\"1\"x,2", "1,2"},
    };
    for (const auto& [bad, good] : cases) {
        const std::string first = ParseCsvPoints(bad).ErrorText;
        const std::string later = ParseCsvPoints(std::string(good) + "\n" + bad).ErrorText;
        ASSERT_EQ(first.rfind("wiersz 1: ", 0), 0u) << bad << ": " << first;
        ASSERT_EQ(later.rfind("wiersz 2: ", 0), 0u) << bad << ": " << later;
        EXPECT_EQ(first.substr(10), later.substr(10)) << bad;
    }
}

// Spreadsheets put fields in double quotes: they are read, "" inside one
// standing for a quote; a quote left open or followed by more is refused
// with a word about the quotes.
TEST(CsvPoints, QuotedFieldsAreReadOrRefusedForTheirQuotes)
{
    const TCsvCase read[] = {
        {"\"x\",\"y\"\n\"1.5\",\"2\"\n", {{2, 2}}, 1},
        {"\"1\";\"2\"\r\n\"3\" ; \" 4 \"\r\n", {{1, 2}, {3, 4}}, 0},
        {"\"a \"\"x\"\"\",b\n5,6\n", {{5, 6}}, 0},
        {"\"1\",2\n", {{1, 2}}, 0},
    };
    for (const TCsvCase& c : read) {
        const TPointParseResult result = ParseCsvPoints(c.Text);
        ASSERT_TRUE(result.Ok()) << c.Text << ": " << result.ErrorText;
        EXPECT_EQ(Coordinates(result.Points), c.Expected) << c.Text;
        EXPECT_EQ(result.RoundedCount, c.Rounded) << c.Text;
    }
    const std::pair<const char*, const char*> refused[] = {
        {"1,2\n\"3,4\n", "wiersz 2: niedomknięty cudzysłów"},
        {"\"x,y\n1,2\n", "wiersz 1: niedomknięty cudzysłów"},
        {"1;2\n\"3\"4;5\n", "wiersz 2: po zamykającym cudzysłowie oczekiwano „;”"},
        {"1,2\n\"1,5\",2\n", "wiersz 2: nieprawidłowa liczba „1,5”"},
    };
    for (const auto& [text, expected] : refused) {
        const TPointParseResult result = ParseCsvPoints(text);
        EXPECT_EQ(result.ErrorText.rfind(expected, 0), 0u) << text << "\n" << result.ErrorText;
    }
}

TEST(CsvPoints, MoreThanMaxPointsAreRefusedWithTheUsualText)
{
    std::string text = "x;y\n";
    for (int i = 0; i <= MaxPoints; ++i)
        text += "1;1\n";
    EXPECT_EQ(ParseCsvPoints(text).ErrorText, "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)");
    text.resize(text.size() - 4);
    EXPECT_EQ(ParseCsvPoints(text).Points.size(), static_cast<size_t>(MaxPoints));
}

TEST(CsvPoints, WritesPointsAndRoutesAndReadsPointsBack)
{
    const TPointArray points = {{5, -6, 2}, {-2147483648, 2147483647, -1}, {0, 7, 1}};
    const std::string text = FormatPointsCsv(points);
    EXPECT_EQ(text, "x,y\n5,-6\n-2147483648,2147483647\n0,7\n");
    EXPECT_EQ(Coordinates(ParseCsvPoints(text).Points), Coordinates(points));
    EXPECT_EQ(FormatRouteCsv(points, {0, 2, 1}),
              "kolejność,indeks,x,y\n1,0,5,-6\n2,2,0,7\n3,1,-2147483648,2147483647\n");
    EXPECT_EQ(FormatRouteCsv(points, {-1, 2, 9}), "kolejność,indeks,x,y\n1,2,0,7\n");
}

// Three Polish cities in decimal degrees, in the column orders and names a
// file may have; great-circle legs against the published distances.
TEST(CsvPoints, LatitudeAndLongitudeColumnsArePlacesOnTheEarth)
{
    const TPlaceArray cities = {{52.2297, 21.0122}, {50.0647, 19.945}, {54.352, 18.6466}};
    const char* texts[] = {
        "lat,lon\n52.2297,21.0122\n50.0647,19.9450\n54.352,18.6466\n",
        "Miasto;Długość;Szerokość\nWarszawa;21.0122;52.2297\nKraków;19.9450;50.0647\nGdańsk;18.6466;54.352\n",
        "\"LNG\", name, LATITUDE\r\n21.0122, \"Warszawa, stolica\", 52.2297\r\n19.945,Kraków,50.0647\r\n"
        "18.6466,Gdańsk,54.3520\r\n",
    };
    for (const char* text : texts) {
        const TPointParseResult read = ParseCsvPoints(text);
        ASSERT_TRUE(read.Ok()) << text << read.ErrorText;
        EXPECT_EQ(read.Places.FileMetric, TMetric::Sphere) << text;
        EXPECT_EQ(read.Places.Places, cities) << text;
        ASSERT_EQ(read.Points.size(), 3u) << text;
        // North up: Gdańsk above Warsaw above Kraków on the map.
        EXPECT_LT(read.Points[2].Y, read.Points[0].Y) << text;
        EXPECT_LT(read.Points[0].Y, read.Points[1].Y) << text;
        const TMeasure measure = MeasureOf(read.Places, read.Points);
        EXPECT_NEAR(measure.Leg(0, 1), 252.0, 1.0) << text;  // Warszawa - Kraków
        EXPECT_NEAR(measure.Leg(0, 2), 284.0, 1.0) << text;  // Warszawa - Gdańsk
        EXPECT_NEAR(measure.Leg(1, 2), 485.0, 1.0) << text;  // Kraków - Gdańsk
    }
}

TEST(CsvPoints, PlacesOffTheEarthAreRefusedByTheirLine)
{
    const std::pair<const char*, const char*> refused[] = {
        {"lat,lon\n52,21\n\n90.5,0\n", "wiersz 4: szerokość geograficzna „90.5” poza zakresem od -90 do 90 stopni"},
        {"lon;lat\n-180.01;0\n", "wiersz 2: długość geograficzna „-180.01” poza zakresem od -180 do 180 stopni"},
        {"lat,lon\n52,x\n", "wiersz 2: nieprawidłowa liczba „x”"},
        {"lat,lon,lng\n1,2,3\n", "wiersz 1: nagłówek nazywa dwie kolumny długości geograficznej"},
    };
    for (const auto& [text, expected] : refused)
        EXPECT_EQ(ParseCsvPoints(text).ErrorText.rfind(expected, 0), 0u) << text << "\n"
                                                                         << ParseCsvPoints(text).ErrorText;
    EXPECT_TRUE(ParseCsvPoints("lat,lon\n-90,180\n90,-180\n").Ok());
}

// A CSV read and saved is the same file: its column names and order, its
// separator, and every value as written.
TEST(CsvPoints, SavedSetKeepsItsColumnsAndValues)
{
    const char* texts[] = {
        "lat,lon\n52.2297,21.0122\n50.0647,19.945\n",
        "Długość;Szerokość\n21.0122;52.2297\n-0.1276;51.5072\n",
        "x,y\n0.5,1.25\n-3,1e-05\n",
        "east;north\n1;2\n3;4\n",
    };
    for (const char* text : texts) {
        const TPointParseResult read = ParseCsvPoints(text);
        ASSERT_TRUE(read.Ok()) << text << read.ErrorText;
        EXPECT_EQ(FormatSetCsv(read.Points, read.Places), text);
    }
    // Other columns are not written back.
    const TPointParseResult named = ParseCsvPoints("name,lat,lon\nA,1.5,2.5\n");
    EXPECT_EQ(FormatSetCsv(named.Points, named.Places), "lat,lon\n1.5,2.5\n");
}

TEST(PointFormats, ExtensionChoosesTheReader)
{
    EXPECT_EQ(PointFormatOfFile("a.tsp"), TPointFormat::Tsplib);
    EXPECT_EQ(PointFormatOfFile("/x/B.TsP"), TPointFormat::Tsplib);
    EXPECT_EQ(PointFormatOfFile("punkty.CSV"), TPointFormat::Csv);
    EXPECT_EQ(PointFormatOfFile("zbiór.tvu"), TPointFormat::Tvu);
    EXPECT_EQ(PointFormatOfFile("a.csv.tvu"), TPointFormat::Tvu);
    EXPECT_EQ(PointFormatOfFile("dir.tsp/plik"), TPointFormat::Tvu);
    EXPECT_EQ(PointFormatOfFile("tsp"), TPointFormat::Tvu);
    // A .tvu text keeps the lenient reading: a CSV line becomes a point of its own.
    const TPointParseResult tvu = ParsePointText(TPointFormat::Tvu, "1,5\r\n7; 8\r\n");
    EXPECT_EQ(Coordinates(tvu.Points), (TXy{{0, 0}, {7, 8}}));
    EXPECT_EQ(ParsePointText(TPointFormat::Tvu, std::string(MaxPoints + 1, '\n')).ErrorText,
              "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)");
}

// Lines where one number was read and the other became 0 by the lenient
// rule: the read stays the same, the user hears of them.
TEST(PointFormats, CountsTvuLinesWithOneUnreadableNumber)
{
    EXPECT_EQ(CountLinesWithUnreadableNumber("1; 2\r\n$FF; 0x10\r\n-0; +0\r\n"), 0u);
    EXPECT_EQ(CountLinesWithUnreadableNumber("12; abc\r\n45\r\n; 7\r\n120 ; 45\r\n1;2;3\r\n1,5; 2\r\n"), 6u);
    // No number at all is the other count's.
    EXPECT_EQ(CountLinesWithUnreadableNumber("x; y\r\n\r\nabc\r\n"), 0u);
    EXPECT_EQ(LinesWithUnreadableNumberText(1), "1 wiersz z nieczytelną liczbą (przyjęto 0)");
    EXPECT_EQ(LinesWithUnreadableNumberText(2), "2 wiersze z nieczytelną liczbą (przyjęto 0)");
    EXPECT_EQ(LinesWithUnreadableNumberText(5), "5 wierszy z nieczytelną liczbą (przyjęto 0)");
}

TEST(PointFormats, CountsTvuLinesThatYieldNoNumber)
{
    EXPECT_EQ(CountLinesWithoutNumbers("1; 2\r\n$FF; x\r\n; 7\r\n0; 0\r\n"), 0u);
    EXPECT_EQ(CountLinesWithoutNumbers("NAME : a\nx,y\n1,5\n\n1 ; 2\n"), 4u);
    EXPECT_EQ(LinesWithoutNumbersText(1), "1 wiersz bez liczb; czy to na pewno plik .tvu?");
    EXPECT_EQ(LinesWithoutNumbersText(3), "3 wiersze bez liczb; czy to na pewno plik .tvu?");
    EXPECT_EQ(LinesWithoutNumbersText(12), "12 wierszy bez liczb; czy to na pewno plik .tvu?");
    EXPECT_EQ(RoundedCoordinatesText(1), "1 współrzędną zaokrąglono do liczby całkowitej");
    EXPECT_EQ(RoundedCoordinatesText(22), "22 współrzędne zaokrąglono do liczb całkowitych");
    EXPECT_EQ(RoundedCoordinatesText(5), "5 współrzędnych zaokrąglono do liczb całkowitych");
}

}  // namespace
