// Each file's own measure and the kinds of route: lengths, proofs and
// bounds in TSPLIB's measures against the published optima, places on the
// Earth, and what the options refuse.

#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"
#include "json_fields.h"
#include "support/data_files.h"

namespace {

class MeasuresTest : public ::testing::Test {
protected:
    // A file of tests/data, copied under its own name.
    std::string DataFile(const std::string& name) const { return TextFile(name, DataFileText(name)); }
    std::string TextFile(const std::string& name, const std::string& text) const
    {
        const std::string path = Dir.Path(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    TScratchDir Dir;
};

// The published optimal tours measured as TSPLIB measures them: a tour is
// a round trip.
TEST_F(MeasuresTest, PublishedOptimalToursHaveTheirPublishedLengths)
{
    const struct {
        const char* Set;
        const char* Tour;
        const char* Metric;
        const char* Length;
    } cases[] = {
        {"att48.tsp", "att48.opt.tour", "att", "10628"},
        {"eil51.tsp", "eil51.opt.tour", "euc_2d", "426"},
        {"ulysses16.tsp", "ulysses16.opt.tour", "geo", "6859"},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli({"length", DataFile(c.Set), "--tour", DataFile(c.Tour), "--round-trip", "--json"});
        EXPECT_EQ(run.ExitCode, 0) << c.Set << run.Err;
        EXPECT_EQ(JsonField(run.Out, "length"), c.Length) << c.Set;
        EXPECT_EQ(JsonField(run.Out, "metric"), std::string("\"") + c.Metric + "\"") << c.Set;
        EXPECT_EQ(JsonField(run.Out, "round_trip"), "true") << c.Set;
    }
    const TCliRun text =
        RunCli({"length", DataFile("att48.tsp"), "--tour", DataFile("att48.opt.tour"), "--round-trip"});
    EXPECT_EQ(text.Out, "Miara: ATT (pseudoeuklidesowa)\nRodzaj drogi: zamknięta\nDługość drogi: 10\u00a0628,00\n");
}

// The exact method proves the published optima of round trips in each
// file's own measure, and the bound stays below them.
TEST_F(MeasuresTest, ExactProvesThePublishedOptimaOfRoundTrips)
{
    const std::pair<const char*, double> cases[] = {
        {"burma14.tsp", 3323},  {"ulysses16.tsp", 6859}, {"att48.tsp", 10628},   {"eil51.tsp", 426},
        {"berlin52.tsp", 7542}, {"st70.tsp", 675},       {"kroA100.tsp", 21282},
    };
    for (const auto& [file, optimum] : cases) {
        const std::string set = DataFile(file);
        const TCliRun run = RunCli({"solve", set, "--method", "exact", "--round-trip", "--json"});
        EXPECT_EQ(run.ExitCode, 0) << file << run.Err;
        EXPECT_EQ(JsonNumber(run.Out, "length"), optimum) << file;
        EXPECT_EQ(JsonField(run.Out, "proved"), "true") << file;
        const TCliRun bound = RunCli({"bound", set, "--round-trip", "--json"});
        EXPECT_EQ(bound.ExitCode, 0) << file << bound.Err;
        EXPECT_LE(JsonNumber(bound.Out, "bound"), optimum) << file;
        EXPECT_GT(JsonNumber(bound.Out, "bound"), 0.97 * optimum) << file;
    }
}

// The same file on the plane: real Euclidean legs between the coordinates,
// without TSPLIB's rounding.
TEST_F(MeasuresTest, PlaneMetricMeasuresTheCoordinatesAsWritten)
{
    const std::string set =
        TextFile("two.tsp", "EDGE_WEIGHT_TYPE : ATT\nNODE_COORD_SECTION\n1 0 0\n2 10 0\n3 10 0.5\nEOF\n");
    EXPECT_EQ(RunCli({"length", set, "--route", "0,1,2", "--json"}).Out, "{\"length\": 5, \"metric\": \"att\"}\n");
    EXPECT_EQ(RunCli({"length", set, "--route", "0,1,2", "--metric", "plane", "--json"}).Out, "{\"length\": 10.5}\n");
    const TCliRun wrong = RunCli({"length", set, "--route", "0,1", "--metric", "sphere"});
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_NE(wrong.Err.find("--metric: nieznana miara „sphere” (file albo plane)"), std::string::npos) << wrong.Err;
}

// Warszawa, Kraków and Gdańsk by their latitudes and longitudes: the round
// trip is their three great-circle legs, 252 + 485 + 284 km.
TEST_F(MeasuresTest, PlacesOnTheEarthAreMeasuredInKilometres)
{
    const std::string set =
        TextFile("miasta.csv",
                 "miasto,szerokość,długość\nWarszawa,52.2297,21.0122\nKraków,50.0647,19.945\nGdańsk,54.352,18.6466\n");
    const TCliRun run = RunCli({"solve", set, "--method", "exact", "--round-trip", "--json"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NEAR(JsonNumber(run.Out, "length"), 1021.0, 2.0);
    EXPECT_EQ(JsonField(run.Out, "metric"), "\"sphere\"");
    const TCliRun open = RunCli({"length", set, "--route", "1,0,2", "--json"});
    EXPECT_NEAR(JsonNumber(open.Out, "length"), 252.0 + 284.0, 2.0);
    const TCliRun off = RunCli({"length", TextFile("zle.csv", "lat,lon\n52,21\n95,21\n"), "--route", "0"});
    EXPECT_EQ(off.ExitCode, 1);
    EXPECT_NE(off.Err.find("wiersz 3: szerokość geograficzna „95” poza zakresem od -90 do 90 stopni"),
              std::string::npos)
        << off.Err;
}

TEST_F(MeasuresTest, KindsARouteCannotHaveAreRefused)
{
    const std::string set = Dir.WritePoints("three.tvu", {{0, 0}, {3, 4}, {6, 8}});
    const struct {
        std::vector<std::string> Args;
        const char* Error;
    } cases[] = {
        {{"solve", set, "--method", "exact", "--round-trip", "--end", "1"},
         "--end: Droga zamknięta wraca do punktu, z którego wyszła"},
        {{"solve", set, "--method", "local", "--start", "2", "--end", "2"},
         "--start, --end: Droga otwarta nie może zaczynać się i kończyć w tym samym punkcie"},
        {{"bound", set, "--end", "3"}, "--end: nie ma punktu 3"},
        {{"length", set, "--route", "0,1", "--start", "-1"}, "--start: nie ma punktu -1"},
        {{"compare", set, "--round-trip", "--end", "0"}, "--end: Droga zamknięta wraca do punktu"},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, 2) << c.Args[0] << " " << run.Err;
        EXPECT_NE(run.Err.find(c.Error), std::string::npos) << run.Err;
    }
    // A route for a kind with fixed ends must have them.
    const TCliRun length = RunCli({"length", set, "--route", "0,1,2", "--start", "1"});
    EXPECT_EQ(length.ExitCode, 1);
    EXPECT_NE(length.Err.find("droga nie jest drogą rodzaju „otwarta, od punktu 1”"), std::string::npos) << length.Err;
}

// A round trip's length counts the leg back; its route file says what it is.
TEST_F(MeasuresTest, RoundTripsAndFixedEndsAreSolvedAndWritten)
{
    const std::string set = Dir.WritePoints("four.tvu", {{0, 0}, {3, 0}, {3, 4}, {0, 4}});
    const TCliRun round =
        RunCli({"solve", set, "--method", "exact", "--round-trip", "--json", "-o", Dir.Path("r.csv")});
    EXPECT_EQ(round.ExitCode, 0) << round.Err;
    EXPECT_EQ(JsonNumber(round.Out, "length"), 14.0);
    EXPECT_EQ(JsonField(round.Out, "round_trip"), "true");
    EXPECT_EQ(JsonField(round.Out, "start"), "null");
    EXPECT_EQ(Lines(ReadFileBytes(Dir.Path("r.csv"))).at(0), "kolejność w drodze zamkniętej,indeks,x,y");
    EXPECT_EQ(RunCli({"length", set, "--tour", Dir.Path("r.csv"), "--round-trip", "--json"}).Out,
              "{\"length\": 14, \"round_trip\": true, \"start\": null, \"end\": null}\n");
    const TCliRun ends = RunCli({"solve", set, "--method", "exact", "--start", "0", "--end", "1", "--json"});
    EXPECT_EQ(ends.ExitCode, 0) << ends.Err;
    EXPECT_EQ(JsonNumber(ends.Out, "length"), 11.0);
    EXPECT_EQ(JsonField(ends.Out, "route"), "[0, 3, 2, 1]");
    EXPECT_EQ(JsonField(ends.Out, "end"), "1");
}

// What a format can't hold is said before convert writes it; what it can
// hold comes back as it was read.
TEST_F(MeasuresTest, ConvertKeepsWhatTheFormatHoldsAndWarnsOfTheRest)
{
    const std::string geo = TextFile("miasta.csv", "lat;lon\n52.2297;21.0122\n50.0647;19.945\n");
    const TCliRun tvu = RunCli({"convert", geo, Dir.Path("m.tvu")});
    EXPECT_EQ(tvu.ExitCode, 0);
    EXPECT_EQ(tvu.Err, "tovu-cli convert: " + Dir.Path("m.tvu") +
                           ": ostrzeżenie: plik .tvu nie zapisze współrzędnych geograficznych ani odległości po "
                           "kole wielkim (zapisze tylko punkty mapy, mierzone potem na płaszczyźnie)\n");
    const TCliRun csv = RunCli({"convert", geo, Dir.Path("kopia.csv")});
    EXPECT_EQ(csv.Err, "");
    EXPECT_EQ(ReadFileBytes(Dir.Path("kopia.csv")), "lat;lon\n52.2297;21.0122\n50.0647;19.945\n");
    const TCliRun tsp = RunCli({"convert", DataFile("ulysses16.tsp"), Dir.Path("u.tsp")});
    EXPECT_EQ(tsp.Err, "");
    EXPECT_EQ(
        RunCli({"length", Dir.Path("u.tsp"), "--tour", DataFile("ulysses16.opt.tour"), "--round-trip", "--json"}).Out,
        "{\"length\": 6859, \"metric\": \"geo\", \"round_trip\": true, \"start\": null, \"end\": null}\n");
    const std::string written = ReadFileBytes(Dir.Path("u.tsp"));
    EXPECT_EQ(written.rfind("NAME : ulysses16.tsp\nTYPE : TSP\nCOMMENT : Odyssey of Ulysses (Groetschel/Padberg)\n", 0),
              0u)
        << written;
}

// The map of a round trip closes its ring.
TEST_F(MeasuresTest, RenderDrawsTheClosingLegOfARoundTrip)
{
    const std::string set = Dir.WritePoints("three.tvu", {{0, 0}, {100, 0}, {100, 100}});
    const std::string closingLeg = "points=\"101,101 1,1 \"";
    const TCliRun open = RunCli({"render", set, "--route", "0,1,2", "-o", "-", "--format", "svg"});
    const TCliRun round = RunCli({"render", set, "--route", "0,1,2", "--round-trip", "-o", "-", "--format", "svg"});
    ASSERT_EQ(round.ExitCode, 0) << round.Err;
    EXPECT_EQ(open.Out.find(closingLeg), std::string::npos);
    EXPECT_NE(round.Out.find(closingLeg), std::string::npos) << round.Out;
}

}  // namespace
