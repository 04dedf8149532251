#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/point_file.h"
#include "core/point_formats.h"
#include "core/set_places.h"
#include "core/tsplib_file.h"
#include "support/data_files.h"

namespace {

std::vector<std::pair<int32_t, int32_t>> Coordinates(const TPointArray& points)
{
    std::vector<std::pair<int32_t, int32_t>> xy;
    for (const TMapPoint& point : points)
        xy.emplace_back(point.X, point.Y);
    return xy;
}

const std::vector<std::pair<int32_t, int32_t>> ThreePoints = {{1, 2}, {3, 4}, {5, 6}};

TEST(TsplibFile, HeaderVariantsAllReadTheSameSet)
{
    const char* texts[] = {
        "NAME : a\nTYPE : TSP\nDIMENSION : 3\nNODE_COORD_TYPE : TWOD_COORDS\nEDGE_WEIGHT_TYPE : EUC_2D\n"
        "NODE_COORD_SECTION\n1 1 2\n2 3 4\n3 5 6\nEOF\n",
        "NAME :a\nDIMENSION: 3\nEDGE_WEIGHT_TYPE :CEIL_2D\nNODE_COORD_SECTION :\n1 1 2\n2 3 4\n3 5 6\n",
        "EDGE_WEIGHT_TYPE : ATT\nCOMMENT : keys: any order\nFOO_BAR : 7\nDIMENSION : 3\nTYPE : TSP\nNAME : "
        "a\nNODE_COORD_SECTION\n1 1 2\n2 3 4\n3 5 6",
        "NAME:a\r\nDIMENSION:3\r\nEDGE_WEIGHT_TYPE:EUC_2D\r\nNODE_COORD_SECTION\r\n1 1 2\r\n2 3 4\r\n3 5 6\r\n",
        "\xEF\xBB\xBF  edge_weight_type : euc_2d \n\nNODE_COORD_SECTION\n  1\t1   2 \n2 3 4\n\n3 5 6\nEOF\n",
        "EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 1 2\n2 3 4\n3 5 6\nDISPLAY_DATA_SECTION\n1 9 9\nEOF\nX\n",
    };
    for (const char* text : texts) {
        const TPointParseResult result = ParseTsplib(text);
        EXPECT_TRUE(result.Ok()) << text << "\n" << result.ErrorText;
        EXPECT_EQ(Coordinates(result.Points), ThreePoints) << text;
        EXPECT_EQ(result.RoundedCount, 0) << text;
    }
}

struct TCoordinateCase {
    const char* Text;
    int32_t X;
    int32_t Y;
    int32_t Rounded;
};

TEST(TsplibFile, CoordinatesRoundToNearestWithHalvesAwayFromZero)
{
    const TCoordinateCase cases[] = {
        {"200 350", 200, 350, 0},
        {"2.00000e+02 3.50000e+02", 200, 350, 0},
        {"2.5 -2.5", 3, -3, 2},
        {"0.5 -0.5", 1, -1, 2},
        {"-0.4 0.49", 0, 0, 2},
        {"1.49999 2.50001", 1, 3, 2},
        {"1e3 1E-1", 1000, 0, 1},
        {"1.5e1 25e-1", 15, 3, 1},
        {".5 5.", 1, 5, 1},
        {"+7 -0", 7, 0, 0},
        {"2147483647 -2147483648", 2147483647, -2147483648, 0},
        {"2147483647.4 -2147483648.4", 2147483647, -2147483648, 2},
        {"12345678901234567890e-10 0.000000000000000000001", 1234567890, 0, 2},
        {"0e999999999999 7e-99999999999", 0, 0, 1},
    };
    for (const TCoordinateCase& c : cases) {
        const TPointParseResult result =
            ParseTsplib(std::string("EDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n1 ") + c.Text + "\n");
        ASSERT_TRUE(result.Ok()) << c.Text << ": " << result.ErrorText;
        EXPECT_EQ(Coordinates(result.Points), (std::vector<std::pair<int32_t, int32_t>>{{c.X, c.Y}})) << c.Text;
        EXPECT_EQ(result.RoundedCount, c.Rounded) << c.Text;
    }
}

struct TRefusalCase {
    const char* Text;
    const char* Expected;
};

TEST(TsplibFile, RefusesWhatItCannotTakeAndSaysWhy)
{
    const TRefusalCase cases[] = {
        {"EDGE_WEIGHT_TYPE : EUC_3D\nNODE_COORD_SECTION\n1 1 2\n", "EDGE_WEIGHT_TYPE „EUC_3D”"},
        {"EDGE_WEIGHT_TYPE: EXPLICIT\nEDGE_WEIGHT_SECTION\n0 1 1 0\n", "EDGE_WEIGHT_TYPE „EXPLICIT”"},
        {"EDGE_WEIGHT_TYPE:MAN_2D\n", "„MAN_2D”"},
        {"NODE_COORD_TYPE : THREED_COORDS\n", "NODE_COORD_TYPE „THREED_COORDS”"},
        {"DIMENSION : 2\nEDGE_WEIGHT_SECTION\n0 1\n1 0\nEOF\n", "brak sekcji NODE_COORD_SECTION"},
        {"", "brak sekcji NODE_COORD_SECTION"},
        {"NODE_COORD_SECTION\n1 1 2\n", "brak EDGE_WEIGHT_TYPE"},
        {"DIMENSION : abc\n", "DIMENSION w pliku TSPLIB: „abc”"},
        {"DIMENSION : 3\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 1 2\n2 3 4\n",
         "DIMENSION wynosi 3, a wierszy"},
        {"DIMENSION : 1\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 1 2\n2 3 4\n", "DIMENSION wynosi 1"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 1 2\n3 3 4\n", "wiersz 4: węzeł numer „3”, oczekiwano 2"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n2 1 2\n1 3 4\n", "wiersz 3: węzeł numer „2”, oczekiwano 1"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 1,5 2\n", "wiersz 3: nieprawidłowa współrzędna: „1,5”"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 2\n", "wiersz 3: oczekiwano numeru węzła"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 2 3 4\n", "wiersz 3: oczekiwano numeru węzła"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 2147483648 0\n", "poza zakresem liczb 32-bitowych"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 0 -2147483648.5\n", "poza zakresem liczb 32-bitowych"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\n1 1 2\n", "wiersz 2: dane poza sekcją"},
        {"EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 1 2\nNODE_COORD_SECTION\n", "wiersz 4: druga sekcja"},
    };
    for (const TRefusalCase& c : cases) {
        const TPointParseResult result = ParseTsplib(c.Text);
        EXPECT_NE(result.ErrorText.find(c.Expected), std::string::npos) << c.Text << "\n" << result.ErrorText;
        EXPECT_TRUE(result.Points.empty()) << c.Text;
    }
}

TEST(TsplibFile, LargeDimensionIsRefusedBeforeAnyCoordinate)
{
    const std::string header = "NAME : big\nDIMENSION : 10001\nEDGE_WEIGHT_TYPE : EUC_2D\n";
    // The broken coordinate line would be the refusal had the reader got that far.
    EXPECT_EQ(ParseTsplib(header + "NODE_COORD_SECTION\n1 x y\n").ErrorText,
              "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)");
    EXPECT_EQ(TsplibHeaderError(header), "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)");
    EXPECT_EQ(TsplibHeaderError("DIMENSION: 000099999999999999999999\n"),
              "Zbyt wiele punktów w pliku: 99999999999999999999 (najwyżej 10000)");
    EXPECT_NE(TsplibHeaderError("EDGE_WEIGHT_TYPE : EUC_3D\r\n").find("EUC_3D"), std::string::npos);
    // An unfinished last line of a prefix may still grow, so it is not judged.
    EXPECT_EQ(TsplibHeaderError("NAME : a\nDIMENSION : 2"), "");
    EXPECT_EQ(TsplibHeaderError("DIMENSION : 10000\nEDGE_WEIGHT_TYPE : ATT\nNODE_COORD_SECTION\n1 x"), "");

    // Without DIMENSION the coordinate lines are counted.
    std::string text = "EDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n";
    for (int i = 1; i <= MaxPoints + 1; ++i)
        text += std::to_string(i) + " 1 1\n";
    EXPECT_EQ(ParseTsplib(text).ErrorText, "Zbyt wiele punktów w pliku: 10001 (najwyżej 10000)");
}

struct TDataCase {
    const char* File;
    size_t Count;
    int32_t Rounded;
    TMapPoint First;
    TMapPoint Last;
};

TEST(TsplibFile, ReadsTheSampleInstancesAndKeepsThemThroughTvu)
{
    const TDataCase cases[] = {
        {"grid12.tsp", 12, 0, {0, 0, -1}, {3950, 4000, -1}},
        {"decimal9.tsp", 9, 11, {13, 7, -1}, {77, 88, -1}},
        {"exponent8.tsp", 8, 6, {200, 350, -1}, {4000, 4000, -1}},
        {"att10.tsp", 10, 0, {120, 4310, -1}, {505, 1890, -1}},
    };
    for (const TDataCase& c : cases) {
        const std::string text = DataFileText(c.File);
        ASSERT_EQ(PointFormatOfFile(c.File), TPointFormat::Tsplib);
        const TPointParseResult read = ParsePointText(TPointFormat::Tsplib, text);
        ASSERT_TRUE(read.Ok()) << c.File << ": " << read.ErrorText;
        ASSERT_EQ(read.Points.size(), c.Count) << c.File;
        EXPECT_EQ(read.RoundedCount, c.Rounded) << c.File;
        EXPECT_EQ(Coordinates({read.Points.front(), read.Points.back()}), Coordinates({c.First, c.Last})) << c.File;

        const TPointArray throughTvu = ParsePointSet(FormatPointSet(read.Points));
        const std::string written = FormatPointsTsplib(TsplibName(c.File), throughTvu);
        const TPointParseResult again = ParseTsplib(written);
        ASSERT_TRUE(again.Ok()) << written;
        EXPECT_EQ(Coordinates(again.Points), Coordinates(read.Points)) << c.File;
        EXPECT_EQ(FormatPointsTsplib(TsplibName(c.File), again.Points), written);
    }
}

struct TMeasureCase {
    const char* Type;
    TMetric Metric;
    TPlace A;
    TPlace B;
    // The leg by TSPLIB's definition of the type, worked out by hand from
    // the coordinates as written (rounded ones would give another).
    double Leg;
};

// Each type is the set's measure, over the coordinates as written.
TEST(TsplibFile, EachEdgeWeightTypeMeasuresTheCoordinatesAsWritten)
{
    const TMeasureCase cases[] = {
        {"EUC_2D", TMetric::Euc2d, {0.4, 0}, {3.6, 0}, 3.0},    // 3.2 to the nearest; 4 between 0 and 4
        {"CEIL_2D", TMetric::Ceil2d, {0.6, 0}, {3.4, 0}, 3.0},  // 2.8 up; 2 between 1 and 3
        {"ATT", TMetric::Att, {0, 0}, {10, 0}, 4.0},            // sqrt(10) = 3.16, nint 3 < 3.16: 4
        {"ATT", TMetric::Att, {0, 0}, {30, 40}, 16.0},          // sqrt(250) = 15.8, nint 16
        {"GEO", TMetric::Geo, {52.14, 21.01}, {50.04, 19.56}, 253.0},
        {"GEO", TMetric::Geo, {38.24, 20.42}, {39.57, 26.15}, 509.0},
    };
    for (const TMeasureCase& c : cases) {
        const std::string text = std::string("NAME : n\nEDGE_WEIGHT_TYPE : ") + c.Type + "\nNODE_COORD_SECTION\n1 " +
                                 std::to_string(c.A.X) + " " + std::to_string(c.A.Y) + "\n2 " + std::to_string(c.B.X) +
                                 " " + std::to_string(c.B.Y) + "\nEOF\n";
        const TPointParseResult read = ParseTsplib(text);
        ASSERT_TRUE(read.Ok()) << text << read.ErrorText;
        EXPECT_EQ(read.Places.FileMetric, c.Metric) << text;
        const TMeasure measure = MeasureOf(read.Places, read.Points);
        ASSERT_EQ(measure.Count(), 2) << text;
        EXPECT_EQ(measure.Place(0), c.A) << text;
        EXPECT_EQ(measure.Place(1), c.B) << text;
        EXPECT_EQ(measure.Leg(0, 1), c.Leg) << text;
    }
}

// The published optimal tour, measured as a round trip in its file's own
// measure, gives the published optimum.
TEST(TsplibFile, PublishedOptimalTourHasItsPublishedLength)
{
    const struct {
        const char* File;
        TSpecimen Tour;  // from 1, as the .opt.tour files number them
        double Length;
    } cases[] = {
        {"ulysses16.tsp", {1, 14, 13, 12, 7, 6, 15, 5, 11, 9, 10, 16, 3, 2, 4, 8}, 6859.0},
    };
    for (const auto& c : cases) {
        const TPointParseResult read = ParseTsplib(DataFileText(c.File));
        ASSERT_TRUE(read.Ok()) << c.File << read.ErrorText;
        TSpecimen route = c.Tour;
        for (int32_t& point : route)
            --point;
        EXPECT_EQ(KindRouteLength(MeasureOf(read.Places, read.Points), route, {.RoundTrip = true}), c.Length) << c.File;
    }
}

// A set saved as TSPLIB reads back as the same set: places at full
// precision, measure, NAME and COMMENT.
TEST(TsplibFile, SavedSetReadsBackWithItsNameCommentMeasureAndPlaces)
{
    for (const char* file : {"att48.tsp", "ulysses16.tsp", "burma14.tsp", "decimal9.tsp", "exponent8.tsp"}) {
        const TPointParseResult read = ParseTsplib(DataFileText(file));
        ASSERT_TRUE(read.Ok()) << file << read.ErrorText;
        const std::string written = FormatSetTsplib("inna", read.Points, read.Places);
        const TPointParseResult again = ParseTsplib(written);
        ASSERT_TRUE(again.Ok()) << written;
        EXPECT_EQ(again.Places.FileMetric, read.Places.FileMetric) << file;
        EXPECT_EQ(again.Places.Places, read.Places.Places) << file;
        EXPECT_EQ(Coordinates(again.Points), Coordinates(read.Points)) << file;
        EXPECT_EQ(again.Places.File.TsplibName, read.Places.File.TsplibName) << file;
        EXPECT_EQ(again.Places.File.TsplibComments, read.Places.File.TsplibComments) << file;
        EXPECT_EQ(FormatSetTsplib("inna", again.Points, again.Places), written) << file;
    }
    const TPointParseResult att = ParseTsplib(DataFileText("att48.tsp"));
    EXPECT_EQ(att.Places.File.TsplibName, "att48");
    EXPECT_EQ(att.Places.File.TsplibComments, std::vector<std::string>{"48 capitals of the US (Padberg/Rinaldi)"});
}

TEST(TsplibFile, WritesEuc2dWithLfAndNumbersFromOne)
{
    EXPECT_EQ(FormatPointsTsplib("set", {{5, -6, 1}, {0, 7, -1}}),
              "NAME : set\nTYPE : TSP\nDIMENSION : 2\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n"
              "1 5 -6\n2 0 7\nEOF\n");
    EXPECT_EQ(TsplibName("/home/ala/Mapy/wyspa.v2.tvu"), "wyspa.v2");
    EXPECT_EQ(TsplibName("dziwna\nnazwa"), "dziwna_nazwa");
    EXPECT_EQ(TsplibName("/tmp/.tsp"), ".tsp");
    EXPECT_EQ(TsplibName("/tmp/"), "punkty");
}

}  // namespace
