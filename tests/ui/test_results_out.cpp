// The window's new ways with a point set: the exact method and the local
// search, the route's quality, other formats in and results out.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "core/csv_points.h"
#include "core/tour_file.h"
#include "raster/map_view.h"
#include "scripted_dialogs.h"
#include "search/bound/bound_texts.h"
#include "search/exhaustive/exhaustive_search.h"
#include "support/quiet_host.h"
#include "support/scripted_host.h"
#include "support/state_searches.h"
#include "ui/commands.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/status_bar.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

class ResultsOutTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> ShowSet(const TPointArray& points)
    {
        auto form = MakeWindows();
        form->show();
        form->Document().ReplacePoints(points);
        return form;
    }

    static double ExhaustiveLength(const TPointArray& points)
    {
        TPointSetState state;
        SetPoints(state, points);
        TScriptedHost host(state);
        state.FSearching = true;
        SearchExhaustive(state, host, false, 1);
        return RouteLength(state.FDistances, state.FBestRoute);
    }

    QTemporaryDir Folder;
    TScriptedDialogs ScriptedDialogs;
};

const TPointArray EightPoints = {{10, 10, -1},  {200, 40, -1}, {90, 300, -1},  {310, 220, -1},
                                 {400, 20, -1}, {50, 150, -1}, {260, 330, -1}, {150, 120, -1}};

// Both new methods report like the others; the exact one finds the
// exhaustive search's length, and a checked start point is where the route
// begins.
TEST_F(ResultsOutTest, ExactAndLocalMethodsRunFromTheSearchTab)
{
    const double optimum = ExhaustiveLength(EightPoints);
    for (const int method : {3, 4}) {
        auto form = ShowSet(EightPoints);
        Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(method);
        Part<TSpinEdit>(*form, "seLocalTries")->SetText(QStringLiteral("50"));
        Part<QRadioButton>(*form, "rbLocalTries")->setChecked(true);
        Part<QComboBox>(*form, "cbStartPoint")->setCurrentText(QStringLiteral("zaznaczony"));
        Part<TPointList>(*form, "ListBox1")->setCurrentIndex(Part<TPointList>(*form, "ListBox1")->model()->index(5, 0));
        ASSERT_EQ(Part<TPointList>(*form, "ListBox1")->SelCount(), 1);
        ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
        ASSERT_EQ(ResultLines(*form).size(), 2) << method;
        const TSpecimen& route = form->State().FBestRoute;
        EXPECT_EQ(route.front(), 5) << method;
        if (method == 3) {
            // Fixed to start at 5, the route can't be shorter than the free optimum.
            EXPECT_GE(RouteLength(Distances(*form), route), optimum - 1e-9);
        }
    }
    // Without a start point the exact method reaches the optimum.
    auto form = ShowSet(EightPoints);
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(3);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    EXPECT_NEAR(RouteLength(Distances(*form), form->State().FBestRoute), optimum, 1e-9 * optimum);
}

TEST_F(ResultsOutTest, EstimateShowsTheBoundAndTheGapOfTheLinkedRoute)
{
    auto form = ShowSet(EightPoints);
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(3);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    ASSERT_TRUE(Command(*form, "actEstimateRoute")->Execute());
    const QStringList lines = ResultLines(*form);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Dolne ograniczenie długości drogi: "))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Długość drogi: "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("% więcej niż najkrótsza"))) << lines[1].toStdString();
    // The command-line tool's lines for the same numbers, word for word.
    // The window's state is idle now: a host that read its stop flag
    // would cut the bound short whenever the ascent polled it.
    TQuietHost host;
    const TLowerBound bound = ComputeLowerBound(form->State().FPoints, host);
    const double length = RouteLengthOfPoints(form->State().FPoints, form->State().FBestRoute);
    EXPECT_EQ(lines[0].toStdString(), BoundLine(bound, form->NumberFormat()));
    EXPECT_EQ(lines[1].toStdString(), GapLine(length, bound, form->NumberFormat()));
    EXPECT_FALSE(form->Runner().Searching());
    // Links that form no route: only the bound.
    Command(*form, "actZeroArray")->Execute();
    ASSERT_TRUE(Command(*form, "actEstimateRoute")->Execute());
    EXPECT_EQ(ResultLines(*form).size(), 1);
}

// Started while another tab is in front, the estimate says its result in
// the status bar too.
TEST_F(ResultsOutTest, EstimateFromAnotherTabShowsItsResultInTheStatusBar)
{
    auto form = ShowSet(EightPoints);
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(3);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    Part<QTabWidget>(*form, "PageControl1")->setCurrentIndex(0);
    ASSERT_TRUE(Command(*form, "actEstimateRoute")->Execute());
    const QStringList lines = ResultLines(*form);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0), lines[1]);
    Command(*form, "actZeroArray")->Execute();
    ASSERT_TRUE(Command(*form, "actEstimateRoute")->Execute());
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0), ResultLines(*form).constLast());
}

TEST_F(ResultsOutTest, ExportWritesEachFormatAndRefusesARouteThatIsNone)
{
    auto form = ShowSet(EightPoints);
    using TKind = TDialogs::TExportKind;
    // No links yet: the route formats say so and write nothing.
    ScriptedDialogs.ExportChoices.push_back({Folder.filePath(QStringLiteral("none.tour")), TKind::RouteTour});
    Command(*form, "actExport")->Execute();
    EXPECT_EQ(ScriptedDialogs.Count(QStringLiteral("information")), 1);
    EXPECT_FALSE(QFile::exists(Folder.filePath(QStringLiteral("none.tour"))));

    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(3);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    const struct {
        const char* file;
        TKind kind;
        const char* starts;
    } rows[] = {
        {"route.tour", TKind::RouteTour, "NAME"},    {"route.csv", TKind::RouteCsv, "kolejność,indeks,x,y"},
        {"points.tsp", TKind::PointsTsplib, "NAME"}, {"points.csv", TKind::PointsCsv, "x,y"},
        {"map.png", TKind::MapPng, "\x89PNG"},       {"map.svg", TKind::MapSvg, "<?xml"},
    };
    for (const auto& row : rows) {
        const QString path = Folder.filePath(QString::fromLatin1(row.file));
        ScriptedDialogs.ExportChoices.push_back({path, row.kind});
        Command(*form, "actExport")->Execute();
        EXPECT_TRUE(ReadTextFile(path).startsWith(row.starts)) << row.file;
    }
    // The tour reads back as the found route.
    const TTourParseResult tour =
        ParseTour(ReadTextFile(Folder.filePath(QStringLiteral("route.tour"))).toStdString(), EightPoints.size());
    ASSERT_TRUE(tour.Ok()) << tour.ErrorText;
    EXPECT_EQ(tour.Route, form->State().FBestRoute);
}

// "Przerwij" during the estimate: its line says the bound is not the full
// ascent's (or that none was certain yet).
TEST_F(ResultsOutTest, StoppedEstimateSaysItWasInterrupted)
{
    TPointArray points;
    for (int32_t i = 0; i < 3000; ++i)
        points.push_back({(i * 7919) % 10007, (i * 104729) % 9973, -1});
    auto form = ShowSet(points);
    QTimer::singleShot(20, form.get(), [&form] { Command(*form, "actStop")->Execute(); });
    ASSERT_TRUE(Command(*form, "actEstimateRoute")->Execute());
    const QStringList lines = ResultLines(*form);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("przerwan"))) << lines[0].toStdString();
}

// A picture of the map shows the whole set at the size the user confirms,
// first proposed from the set's proportions; PDF is an A4 page, unasked.
TEST_F(ResultsOutTest, ExportAsksThePicturesSizeAndWritesAPdfPage)
{
    auto form = ShowSet({{0, 0, 1}, {4000, 0, 2}, {4000, 2000, -1}});
    using TKind = TDialogs::TExportKind;
    const TPictureSize proposed = FittedPictureSize(form->State().FPoints, 2000);
    const struct {
        const char* File;
        TKind Kind;
        std::optional<QSize> Size;
        bool Asked;
        const char* Starts;
    } rows[] = {
        {"map.png", TKind::MapPng, QSize(300, 160), true, "\x89PNG"},
        {"cancelled.png", TKind::MapPng, std::nullopt, true, nullptr},
        {"map.svg", TKind::MapSvg, QSize(500, 250), true, "<?xml"},
        {"map.pdf", TKind::MapPdf, std::nullopt, false, "%PDF-"},
    };
    for (const auto& row : rows) {
        const QString path = Folder.filePath(QString::fromLatin1(row.File));
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.ExportChoices = {{path, row.Kind}};
        ScriptedDialogs.Sizes = {row.Size};
        Command(*form, "actExport")->Execute();
        ASSERT_EQ(ScriptedDialogs.Count(QStringLiteral("size")), row.Asked ? 1 : 0) << row.File;
        if (row.Asked) {
            EXPECT_EQ(ScriptedDialogs.Boxes.back().Text,
                      QStringLiteral("%1x%2").arg(proposed.Width).arg(proposed.Height));
        }
        EXPECT_EQ(QFile::exists(path), row.Starts != nullptr) << row.File;
        if (row.Starts) {
            EXPECT_TRUE(ReadTextFile(path).startsWith(row.Starts)) << row.File;
        }
    }
    QImage png;
    ASSERT_TRUE(png.load(Folder.filePath(QStringLiteral("map.png"))));
    EXPECT_EQ(png.size(), QSize(300, 160));
    EXPECT_TRUE(ReadTextFile(Folder.filePath(QStringLiteral("map.svg"))).contains("<svg width=\"500\" height=\"250\""));
}

// A TSPLIB set opens by its extension: its points, its name in the title and
// the rounded coordinates counted in panel 0.
TEST_F(ResultsOutTest, OpenReadsTsplibByItsExtension)
{
    const QString path = Folder.filePath(QStringLiteral("three.tsp"));
    WriteTextFile(path,
                  "NAME : three\nTYPE : TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n"
                  "1 10.4 20\n2 2.00000e+02 3.5e1\n3 100 100\nEOF\n");
    auto form = MakeWindows();
    form->show();
    ScriptedDialogs.OpenNames = {path};
    Command(*form, "actOpenArray")->Execute();
    const TPointArray& points = form->State().FPoints;
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].X, 10);
    EXPECT_EQ(points[1].X, 200);
    EXPECT_EQ(points[1].Y, 35);
    form->ApplicationIdle();
    EXPECT_TRUE(form->windowTitle().endsWith(QStringLiteral("three.tsp")));
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0),
              QStringLiteral("1 współrzędną zaokrąglono do liczby całkowitej tylko na mapie; długości liczone są z "
                             "wartości z pliku"));
}

// A .tvu line that lost one of its numbers reads as before (that number
// 0), and panel 0 says how many lines did, with the lines without numbers.
TEST_F(ResultsOutTest, OpenTellsOfTvuLinesWithAnUnreadableNumber)
{
    const QString path = Folder.filePath(QStringLiteral("odd.tvu"));
    WriteTextFile(path, "12; abc\r\n7; 8\r\n45\r\nx; y\r\n");
    auto form = MakeWindows();
    form->show();
    ScriptedDialogs.OpenNames = {path};
    Command(*form, "actOpenArray")->Execute();
    const TPointArray& points = form->State().FPoints;
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[0].X, 12);
    EXPECT_EQ(points[0].Y, 0);
    EXPECT_EQ(points[2].Y, 45);
    EXPECT_EQ(
        Part<TStatusBar>(*form, "StatusBar1")->PanelText(0),
        QStringLiteral("2 wiersze z nieczytelną liczbą (przyjęto 0); 1 wiersz bez liczb; czy to na pewno plik .tvu?"));
}

}  // namespace
