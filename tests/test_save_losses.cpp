#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/csv_points.h"
#include "core/save_losses.h"
#include "core/tsplib_file.h"

namespace {

struct TLossCase {
    const char* Name;
    TPointFormat Read;
    const char* Text;
    TPointFormat Saved;
    std::vector<TSaveLossKind> Losses;
};

std::vector<TSaveLossKind> Kinds(const std::vector<TSaveLoss>& losses)
{
    std::vector<TSaveLossKind> kinds;
    for (const TSaveLoss& loss : losses)
        kinds.push_back(loss.Kind);
    return kinds;
}

// What each format can't hold of a set, and only that: a set saved in the
// format it came from loses nothing it had.
TEST(SaveLosses, EachFormatNamesWhatItCannotHold)
{
    using enum TSaveLossKind;
    const char* const geoCsv = "miasto,lat,lon\nWarszawa,52.2297,21.0122\n";
    const char* const realCsv = "x,y\n0.5,1\n";
    const char* const wholeCsv = "x,y\n1,2\n";
    const char* const geoTsp = "NAME : g\nEDGE_WEIGHT_TYPE : GEO\nNODE_COORD_SECTION\n1 52.14 21.01\nEOF\n";
    const char* const attTsp = "EDGE_WEIGHT_TYPE : ATT\nNODE_COORD_SECTION\n1 3 4\nEOF\n";
    const TLossCase cases[] = {
        {"geo CSV to tvu", TPointFormat::Csv, geoCsv, TPointFormat::Tvu, {Degrees, OtherColumns}},
        {"geo CSV to tsp", TPointFormat::Csv, geoCsv, TPointFormat::Tsplib, {EarthMeasure, OtherColumns}},
        {"geo CSV to csv", TPointFormat::Csv, geoCsv, TPointFormat::Csv, {OtherColumns}},
        {"real CSV to tvu", TPointFormat::Csv, realCsv, TPointFormat::Tvu, {Decimals}},
        {"real CSV to csv", TPointFormat::Csv, realCsv, TPointFormat::Csv, {}},
        {"whole CSV to tvu", TPointFormat::Csv, wholeCsv, TPointFormat::Tvu, {}},
        {"whole CSV to tsp", TPointFormat::Csv, wholeCsv, TPointFormat::Tsplib, {PlaneMeasure}},
        {"GEO to tvu", TPointFormat::Tsplib, geoTsp, TPointFormat::Tvu, {Degrees, TsplibHeader}},
        {"GEO to csv", TPointFormat::Tsplib, geoTsp, TPointFormat::Csv, {EarthMeasure, TsplibHeader}},
        {"GEO to tsp", TPointFormat::Tsplib, geoTsp, TPointFormat::Tsplib, {}},
        {"ATT to tvu", TPointFormat::Tsplib, attTsp, TPointFormat::Tvu, {PlaneMeasure}},
        {"ATT to tsp", TPointFormat::Tsplib, attTsp, TPointFormat::Tsplib, {}},
    };
    for (const TLossCase& c : cases) {
        const TPointParseResult read = c.Read == TPointFormat::Csv ? ParseCsvPoints(c.Text) : ParseTsplib(c.Text);
        ASSERT_TRUE(read.Ok()) << c.Name << ": " << read.ErrorText;
        const std::vector<TSaveLoss> losses = SaveLosses(c.Saved, read.Points, read.Places);
        EXPECT_EQ(Kinds(losses), c.Losses) << c.Name;
    }
}

TEST(SaveLosses, TheQuestionNamesTheFormatAndEveryLoss)
{
    const TPointParseResult read = ParseCsvPoints("nazwa;lat;lon\nA;1.5;2.5\n");
    const std::vector<TSaveLoss> losses = SaveLosses(TPointFormat::Tvu, read.Points, read.Places);
    EXPECT_TRUE(AnySeriousLoss(losses));
    EXPECT_EQ(SaveLossQuestion(TPointFormat::Tvu, losses),
              "Plik .tvu nie zapisze wszystkiego, co ma ten zbiór. Nie zapisze:\n"
              "– współrzędnych geograficznych ani odległości po kole wielkim (zapisze tylko punkty mapy, mierzone "
              "potem na płaszczyźnie)\n"
              "– kolumny „nazwa” pliku CSV (program czyta tylko współrzędne)\n\nZapisać mimo to?");
    const TPointParseResult att = ParseTsplib("EDGE_WEIGHT_TYPE : ATT\nNODE_COORD_SECTION\n1 3 4\nEOF\n");
    EXPECT_FALSE(AnySeriousLoss(SaveLosses(TPointFormat::Tvu, att.Points, att.Places)));
}

}  // namespace
