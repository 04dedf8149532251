// The kind of route and the measure in the window: chosen on the search
// tab, refused before a run when the set can't have it, found by every
// method, drawn with a round trip's way back, and kept apart in the
// history of runs.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <cmath>

#include "core/route_kind.h"
#include "core/route_links.h"
#include "core/route_problem.h"
#include "raster/map_render.h"
#include "scripted_dialogs.h"
#include "search/exact/exact_search.h"
#include "support/kind_reference.h"
#include "ui/commands.h"
#include "ui/compare_tab.h"
#include "ui/map_controller.h"
#include "ui/map_round_trip.h"
#include "ui/point_list.h"
#include "ui/run_chart.h"
#include "ui/run_table.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

const TPointArray EightPoints = {{10, 10, -1},  {200, 40, -1}, {90, 300, -1},  {310, 220, -1},
                                 {400, 20, -1}, {50, 150, -1}, {260, 330, -1}, {150, 120, -1}};

class RouteKindsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = MakeWindows();
        Form->show();
        Form->Document().ReplacePoints(EightPoints);
    }

    void ChooseKind(bool roundTrip, const QString& start, const QString& end)
    {
        Part<QComboBox>(*Form, "cbRouteKind")->setCurrentIndex(roundTrip ? 1 : 0);
        Part<QComboBox>(*Form, "cbStartPoint")->setCurrentText(start);
        Part<QComboBox>(*Form, "cbEndPoint")->setCurrentText(end);
    }

    void Search(TSearchMethod method)
    {
        Part<QComboBox>(*Form, "cbMethod")->setCurrentIndex(method);
        Part<TSpinEdit>(*Form, "seRandomCount")->SetText(QStringLiteral("300"));
        Part<TSpinEdit>(*Form, "seGenCount")->SetText(QStringLiteral("50"));
        Part<TSpinEdit>(*Form, "seLocalTries")->SetText(QStringLiteral("20"));
        Part<QRadioButton>(*Form, "rbLocalTries")->setChecked(true);
        ASSERT_TRUE(Command(*Form, "actGenerate")->Execute());
    }

    const TRunHistory& History() const { return Form->Document().Runs(); }
    QAbstractItemModel& RunTable() const { return *Part<TCompareTab>(*Form, "TabSheet4")->tvRuns->model(); }

    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
};

// Every method looks among the routes of the kind chosen: its route fits
// the kind, is kept with it in the document and the history, and the length
// line names a round trip; the exact method's is the shortest of the kind.
TEST_F(RouteKindsTest, EveryMethodFindsARouteOfTheKindChosen)
{
    const struct {
        const char* Name;
        bool RoundTrip;
        const char* Start;
        const char* End;
        TRouteKind Kind;
    } rows[] = {
        {"open, free", false, "brak", "brak", {false, -1, -1}},  {"round trip", true, "brak", "brak", {true, -1, -1}},
        {"round trip from 3", true, "3", "brak", {true, 3, -1}}, {"open from 2 to 5", false, "2", "5", {false, 2, 5}},
        {"open to 6", false, "brak", "6", {false, -1, 6}},
    };
    const int32_t n = static_cast<int32_t>(EightPoints.size());
    for (const auto& row : rows) {
        for (const TSearchMethod method : {smExhaustive, smRandom, smGenetic, smExact, smLocal}) {
            const std::string name = std::string(row.Name) + ", method " + std::to_string(method);
            ChooseKind(row.RoundTrip, QString::fromUtf8(row.Start), QString::fromUtf8(row.End));
            Search(method);
            ASSERT_TRUE(Dialogs.Boxes.empty()) << name << ": " << Dialogs.Boxes.front().Text.toStdString();
            const TPointSetState& state = Form->State();
            EXPECT_EQ(state.FRouteKind, row.Kind) << name;
            EXPECT_EQ(History().Runs().back().Settings.Kind, row.Kind) << name;
            const std::optional<TSpecimen> route = RouteFromLinks(state.FPoints);
            ASSERT_TRUE(route.has_value()) << name;
            EXPECT_TRUE(RouteFitsKind(*route, row.Kind, n)) << name;
            const QString lengthLine = ResultLines(*Form).value(1);
            EXPECT_EQ(lengthLine.contains(QStringLiteral("drogi zamkniętej: ")), row.RoundTrip)
                << name << ": " << lengthLine.toStdString();
            if (method == smExact) {
                const TRouteProblem problem = ProblemOfState(state, row.Kind, false);
                EXPECT_NEAR(History().Runs().back().Length, ReferenceShortestOfKind(problem), 1e-6) << name;
            }
        }
    }
}

// A kind the set can't have is refused with the reason before anything
// changes: no run, the links as they were.
TEST_F(RouteKindsTest, AKindTheSetCantHaveIsRefusedBeforeARun)
{
    const struct {
        const char* Name;
        bool RoundTrip;
        const char* Start;
        const char* End;
        const char* Says;
    } rows[] = {
        {"end on a round trip", true, "brak", "3", "nie ma osobnego punktu końcowego"},
        {"start is the end", false, "4", "4", "nie może zaczynać się i kończyć w tym samym punkcie"},
        {"start past the set", false, "8", "brak", "Punkt początkowy 8 nie należy do zbioru (punkty od 0 do 7)"},
        {"end past the set", false, "brak", "12", "Punkt końcowy 12 nie należy do zbioru"},
        {"no number", false, "pierwszy", "brak", "\u201epierwszy\u201d nie jest numerem punktu"},
        {"selected end", false, "brak", "zaznaczony", "Koniec w punkcie"},
        {"nothing selected", false, "zaznaczony", "brak", "Zaznacz na liście jeden punkt"},
    };
    WritableState(*Form).FPoints[0].Next = 1;
    for (const auto& row : rows) {
        Dialogs.Boxes.clear();
        ChooseKind(row.RoundTrip, QString::fromUtf8(row.Start), QString::fromUtf8(row.End));
        Search(smExact);
        ASSERT_EQ(Dialogs.Boxes.size(), 1u) << row.Name;
        EXPECT_TRUE(Dialogs.Boxes[0].Text.contains(QString::fromUtf8(row.Says)))
            << row.Name << ": " << Dialogs.Boxes[0].Text.toStdString();
        EXPECT_TRUE(History().Runs().empty()) << row.Name;
        EXPECT_EQ(Form->State().FPoints[0].Next, 1) << row.Name;
        EXPECT_EQ(Form->State().FPoints[1].Next, -1) << row.Name;
    }
}

// The map draws a round trip with its way back from the last point to the
// first; an open route of the same links without it.
TEST_F(RouteKindsTest, TheMapDrawsARoundTripsWayBack)
{
    Command(*Form, "actShowWay")->Execute();
    TImage32& view = *Form->MapForm()->Image321;
    const auto picture = [&view] {
        const TBitmap32& surface = view.Bitmap();
        return std::string(reinterpret_cast<const char*>(surface.Bits()),
                           static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()) * 4);
    };
    const auto rendered = [&view](const TPointArray& points) {
        TBitmap32 surface;
        RenderMap(surface, view.width(), view.height(), points, {});
        return std::string(reinterpret_cast<const char*>(surface.Bits()),
                           static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()) * 4);
    };
    for (const bool roundTrip : {false, true}) {
        ChooseKind(roundTrip, QStringLiteral("brak"), QStringLiteral("brak"));
        Search(smExact);
        Form->Map().DrawMap();
        const TPointArray& points = Form->State().FPoints;
        const TClosedRoute closed = CloseRoundTrip(points, Form->State().FRouteKind);
        EXPECT_EQ(closed.First >= 0, roundTrip);
        TPointArray wayBack = points;
        const TSpecimen route = *RouteFromLinks(points);
        wayBack[static_cast<size_t>(route.back())].Next = route.front();
        EXPECT_EQ(picture() == rendered(wayBack), roundTrip) << roundTrip;
        EXPECT_EQ(picture() == rendered(points), !roundTrip) << roundTrip;
    }
}

// Runs of another kind of route are rows of the history that do not
// compare: grey, saying why, their kind in a column of its own, left out of
// the chart of the current runs; a round trip's start does not matter.
TEST_F(RouteKindsTest, TheHistoryMarksRunsOfAnotherKindNotComparable)
{
    ChooseKind(false, QStringLiteral("brak"), QStringLiteral("brak"));
    Search(smExact);
    ChooseKind(true, QStringLiteral("brak"), QStringLiteral("brak"));
    Search(smExact);
    ChooseKind(true, QStringLiteral("5"), QStringLiteral("brak"));
    Search(smExact);
    ASSERT_EQ(RunTable().rowCount(), 3);
    const auto cell = [this](int row, int column, int role = Qt::DisplayRole) {
        return RunTable().data(RunTable().index(row, column), role);
    };
    EXPECT_EQ(cell(0, TRunTableModel::colKind).toString(), QStringLiteral("otwarta"));
    EXPECT_EQ(cell(1, TRunTableModel::colKind).toString(), QStringLiteral("zamknięta"));
    EXPECT_EQ(cell(2, TRunTableModel::colKind).toString(), QStringLiteral("zamknięta, od punktu 5"));
    EXPECT_TRUE(cell(0, TRunTableModel::colLength, Qt::ForegroundRole).isValid());
    EXPECT_TRUE(
        cell(0, TRunTableModel::colLength, Qt::ToolTipRole).toString().contains(QStringLiteral("innego rodzaju")));
    for (const int row : {1, 2}) {
        EXPECT_FALSE(cell(row, TRunTableModel::colLength, Qt::ForegroundRole).isValid()) << row;
        EXPECT_FALSE(cell(row, TRunTableModel::colLength, Qt::ToolTipRole).isValid()) << row;
    }
    // The same shortest round trip, whichever point it is read from.
    EXPECT_NEAR(History().Runs()[1].Length, History().Runs()[2].Length, 1e-9);
    // The chart of the current runs holds the two round trips.
    std::vector<int> charted;
    for (QAbstractSeries* series : Part<TCompareTab>(*Form, "TabSheet4")->chRuns->chart()->series())
        if (series->property("runNumber").isValid())
            charted.push_back(series->property("runNumber").toInt());
    EXPECT_EQ(charted, (std::vector<int>{2, 3}));
}

// For a set whose file defines its measure, "Miara odległości" chooses
// between it and the plane: the distance table, the lengths and the history
// follow, and no step of the history is made.
TEST_F(RouteKindsTest, TheMeasureOfAFileCanBeExchangedForThePlane)
{
    auto* measure = Part<QComboBox>(*Form, "cbMeasure");
    EXPECT_FALSE(measure->isEnabled());
    EXPECT_EQ(measure->currentText(), QStringLiteral("euklidesowa na płaszczyźnie"));
    // A set of places of its own, measured as TSPLIB's EUC_2D, as a reader
    // gives it.
    TPointSetState opened;
    opened.FPoints = {{0, 0, -1}, {1, 0, -1}, {0, 4, -1}};
    opened.FPlaces.FileMetric = TMetric::Euc2d;
    opened.FPlaces.Places = {{0.0, 0.0}, {1.4, 0.0}, {0.0, 3.6}};
    Form->Document().Open(std::move(opened));
    ASSERT_TRUE(measure->isEnabled());
    EXPECT_EQ(measure->currentText(), QStringLiteral("z pliku: EUC_2D"));
    const auto& table = Part<TDistanceGrid>(*Form, "StringGrid1")->Model();
    EXPECT_EQ(table.Cells(2, 1), QStringLiteral("1"));
    EXPECT_EQ(History().CurrentGroup().Metric, TMetric::Euc2d);
    const int steps = Form->Document().History().count();
    const bool modified = Form->State().FModified;

    measure->setCurrentIndex(1);
    EXPECT_TRUE(Form->State().FPlaces.PlaneChosen);
    EXPECT_EQ(table.Cells(2, 1), QLocale().toString(1.4, 'f', 2));
    EXPECT_EQ(History().CurrentGroup().Metric, TMetric::Plane);
    EXPECT_EQ(Form->Document().History().count(), steps);
    EXPECT_EQ(Form->State().FModified, modified);
}

// "Oblicz długość drogi" counts a round trip's way back and says so: the
// length the search found.
TEST_F(RouteKindsTest, TheLengthOfARoundTripCountsItsWayBack)
{
    ChooseKind(true, QStringLiteral("brak"), QStringLiteral("brak"));
    Search(smExact);
    const QString found = ResultLines(*Form).value(1).section(QStringLiteral(": "), 1);
    ASSERT_TRUE(Command(*Form, "actCountWay")->Execute());
    EXPECT_EQ(ResultLines(*Form), QStringList{QStringLiteral("Długość drogi zamkniętej: ") + found});
}

// A TSPLIB tour is read as a round trip when the user says so, as an open
// route otherwise; either is one step, undone to the kind before.
TEST_F(RouteKindsTest, ATourIsReadAsARoundTripWhenTheUserSaysSo)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("route.tour"));
    WriteTextFile(path, "TYPE : TOUR\nDIMENSION : 8\nTOUR_SECTION\n1\n2\n5\n4\n7\n3\n6\n8\n-1\nEOF\n");
    for (const bool roundTrip : {true, false}) {
        Dialogs.RouteNames = {path};
        Dialogs.Answers = {roundTrip ? TDialogs::TAnswer::Yes : TDialogs::TAnswer::No};
        ASSERT_TRUE(Command(*Form, "actLoadRoute")->Execute());
        EXPECT_EQ(Form->State().FRouteKind.RoundTrip, roundTrip);
        EXPECT_EQ(RouteFromLinks(Form->State().FPoints), (TSpecimen{0, 1, 4, 3, 6, 2, 5, 7}));
        ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
        EXPECT_FALSE(Form->State().FRouteKind.RoundTrip);
        EXPECT_FALSE(RouteFromLinks(Form->State().FPoints).has_value());
    }
}

// A round trip exported as a route CSV says so in its header and is read
// back as one, without a question of its kind.
TEST_F(RouteKindsTest, ARoundTripExportedAsARouteCsvComesBackAsOne)
{
    ChooseKind(true, QStringLiteral("brak"), QStringLiteral("brak"));
    Search(smExact);
    const std::optional<TSpecimen> found = RouteFromLinks(Form->State().FPoints);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("droga.csv"));
    Dialogs.ExportChoices.push_back({path, TDialogs::TExportKind::RouteCsv});
    ASSERT_TRUE(Command(*Form, "actExport")->Execute());
    ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
    ASSERT_FALSE(Form->State().FRouteKind.RoundTrip);

    Dialogs.Boxes.clear();
    Dialogs.RouteNames = {path};
    ASSERT_TRUE(Command(*Form, "actLoadRoute")->Execute());
    EXPECT_TRUE(Form->State().FRouteKind.RoundTrip);
    EXPECT_EQ(RouteFromLinks(Form->State().FPoints), found);
    EXPECT_TRUE(std::none_of(Dialogs.Boxes.begin(), Dialogs.Boxes.end(), [](const TScriptedDialogs::TBox& box) {
        return box.Text.contains(QStringLiteral("jako drogę zamkniętą?"));
    }));
}

// A round trip saved beside its set comes back as a round trip when the set
// is opened again, without a question of its kind.
TEST_F(RouteKindsTest, ARoundTripSavedBesideItsSetComesBackAsOne)
{
    ChooseKind(true, QStringLiteral("3"), QStringLiteral("brak"));
    Search(smExact);
    const std::optional<TSpecimen> found = RouteFromLinks(Form->State().FPoints);
    QTemporaryDir folder;
    const QString setName = folder.filePath(QStringLiteral("zbiór.tvu"));
    Dialogs.SaveNames = {setName};
    Dialogs.Answers = {TDialogs::TAnswer::Yes};
    ASSERT_TRUE(Command(*Form, "actSaveArray")->Execute());
    ASSERT_TRUE(ReadTextFile(folder.filePath(QStringLiteral("zbiór.tour"))).contains("TOUR_SECTION"));

    Command(*Form, "actNewArray")->Execute();
    Dialogs.Boxes.clear();
    Dialogs.OpenNames = {setName};
    Dialogs.Answers = {TDialogs::TAnswer::Yes};
    ASSERT_TRUE(Command(*Form, "actOpenArray")->Execute());
    EXPECT_TRUE(Form->State().FRouteKind.RoundTrip);
    EXPECT_EQ(RouteFromLinks(Form->State().FPoints), found);
    const auto asked = [this](const QString& words) {
        return std::count_if(Dialogs.Boxes.begin(), Dialogs.Boxes.end(),
                             [&words](const TScriptedDialogs::TBox& box) { return box.Text.contains(words); });
    };
    EXPECT_EQ(asked(QStringLiteral("Wczytać także drogę?")), 1);
    EXPECT_EQ(asked(QStringLiteral("jako drogę zamkniętą?")), 0);
}

// Past a hundred points the exact method says its proof may take long;
// past two hundred it asks first, and a "Nie" starts nothing.
TEST_F(RouteKindsTest, TheExactMethodWarnsAndAsksBeforeALongProof)
{
    const auto circle = [](int count) {
        TPointArray points;
        for (int i = 0; i < count; ++i)
            points.push_back({static_cast<int32_t>(500 + std::lround(400 * std::cos(i * 0.0621))),
                              static_cast<int32_t>(500 + std::lround(400 * std::sin(i * 0.0621))), -1});
        return points;
    };
    Form->Document().ReplacePoints(circle(201));
    Search(smExact);
    ASSERT_EQ(Dialogs.Boxes.size(), 1u);
    EXPECT_EQ(Dialogs.Boxes[0].Text.toStdString(), ExactLongProofQuestion(201));
    EXPECT_TRUE(History().Runs().empty());

    Dialogs.Boxes.clear();
    Form->Document().ReplacePoints(circle(101));
    // Stopped as soon as it starts: the warning stays above the result.
    QTimer::singleShot(0, [this] { Command(*Form, "actStop")->Execute(); });
    Search(smExact);
    EXPECT_TRUE(Dialogs.Boxes.empty());
    EXPECT_EQ(ResultLines(*Form).value(0).toStdString(), ExactLongProofWarning(101));
    EXPECT_EQ(History().Runs().size(), 1u);
}

}  // namespace
