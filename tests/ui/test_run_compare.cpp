// The tab "Porównanie": the history of runs, its table, the chart, and the
// route of a past run looked at and used.
#include <gtest/gtest.h>

#include <QChart>
#include <QComboBox>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineSeries>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QValueAxis>

#include <cmath>
#include <functional>

#include "core/route_links.h"
#include "raster/map_render.h"
#include "scripted_dialogs.h"
#include "ui/compare_tab.h"
#include "ui/document.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/run_chart.h"
#include "ui/run_history.h"
#include "ui/run_table.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/status_bar.h"
#include "ui/undo_commands.h"
#include "ui/window_parts.h"
#include "ui/window_progress.h"
#include "window_fixture.h"

namespace {

// Nine scattered points: every method can take them, the exhaustive search
// in a moment.
const QByteArray NinePoints =
    "40; 52\r\n118; 31\r\n205; 77\r\n312; 40\r\n431; 96\r\n398; 210\r\n260; 300\r\n"
    "120; 250\r\n60; 160\r\n";

// A method with the parameters a test sets on the search tab, and a piece of
// what the table must say of them.
struct TMethodCase {
    const char* Name;
    TSearchMethod Method;
    std::function<void(TSearchTab&)> Set;
    QString Parameters;
};

const TMethodCase MethodCases[] = {
    {"random", smRandom, [](TSearchTab& tab) { Part<TSpinEdit>(tab, "seRandomCount")->SetText(QStringLiteral("500")); },
     QStringLiteral("próby: 500")},
    {"genetic", smGenetic, [](TSearchTab& tab) { Part<TSpinEdit>(tab, "seGenCount")->SetText(QStringLiteral("300")); },
     QStringLiteral("populacja: 100, krosowanie: 0,5, mutacja: 0,05, pokolenia: 300")},
    {"local", smLocal,
     [](TSearchTab& tab) {
         Part<QRadioButton>(tab, "rbLocalTries")->setChecked(true);
         Part<TSpinEdit>(tab, "seLocalTries")->SetText(QStringLiteral("40"));
     },
     QStringLiteral("próby: 40, start: dowolny")},
    {"exact", smExact, [](TSearchTab&) {}, QStringLiteral("start: dowolny")},
    {"exhaustive", smExhaustive, [](TSearchTab&) {}, QStringLiteral("wątki: ")},
};

class RunCompareTest : public ::testing::Test {
protected:
    void OpenWith(const QByteArray& content)
    {
        const QString path = Folder.filePath(QStringLiteral("set.tvu"));
        WriteTextFile(path, content);
        Form = MakeWindows({path});
        Form->show();
        Form->ApplicationIdle();
    }

    TSearchTab& SearchTab() { return *Part<TSearchTab>(*Form, "TabSheet3"); }
    TCompareTab& CompareTab() { return *Part<TCompareTab>(*Form, "TabSheet4"); }
    TRunHistory& History() { return Form->Document().Runs(); }

    void Search(const TMethodCase& c)
    {
        Part<QComboBox>(SearchTab(), "cbMethod")->setCurrentIndex(c.Method);
        c.Set(SearchTab());
        ASSERT_TRUE(Command(*Form, "actGenerate")->Execute()) << c.Name;
    }

    QString Cell(int row, int column)
    {
        const QAbstractItemModel* model = CompareTab().tvRuns->model();
        return model->data(model->index(row, column)).toString();
    }

    void SelectRow(int row)
    {
        QTabWidget* pages = Part<QTabWidget>(*Form, "PageControl1");
        pages->setCurrentWidget(&CompareTab());
        CompareTab().tvRuns->selectRow(row);
    }

    // The series of the runs in the chart on the tab.
    std::vector<QLineSeries*> RunSeries()
    {
        std::vector<QLineSeries*> series;
        for (QAbstractSeries* each : CompareTab().chRuns->chart()->series())
            if (each->property("runNumber").isValid())
                series.push_back(static_cast<QLineSeries*>(each));
        return series;
    }

    QTemporaryDir Folder;
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
};

// The fields of a CSV line; quoted fields may hold commas and doubled quotes.
QStringList CsvFields(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
            field += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u',' && !quoted) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    return fields << field;
}

}  // namespace

TEST_F(RunCompareTest, EveryMethodAddsARowWithItsParametersAndReportedLength)
{
    OpenWith(NinePoints);
    int row = 0;
    for (const TMethodCase& c : MethodCases) {
        Search(c);
        ASSERT_EQ(CompareTab().tvRuns->model()->rowCount(), row + 1) << c.Name;
        EXPECT_EQ(Cell(row, TRunTableModel::colNumber), QString::number(row + 1)) << c.Name;
        EXPECT_TRUE(Cell(row, TRunTableModel::colParameters).startsWith(c.Parameters))
            << c.Name << ": " << Cell(row, TRunTableModel::colParameters).toStdString();
        EXPECT_EQ(Cell(row, TRunTableModel::colPoints), QStringLiteral("9")) << c.Name;
        // The same figure as the result list's length line.
        EXPECT_EQ(Cell(row, TRunTableModel::colLength), ResultLines(*Form).value(1).section(QStringLiteral(": "), 1))
            << c.Name;
        EXPECT_EQ(Cell(row, TRunTableModel::colStopped), QStringLiteral("nie")) << c.Name;
        EXPECT_EQ(Cell(row, TRunTableModel::colSet), QStringLiteral("bieżący")) << c.Name;
        ++row;
    }
    // The proved methods come last: from then on every run has a gap, and
    // theirs is none.
    const double shortest = History().Runs().back().Length;
    for (int i = 0; i < row; ++i) {
        const TRunRecord& run = History().Runs()[static_cast<size_t>(i)];
        EXPECT_GE(run.Length, shortest) << i;
        EXPECT_FALSE(Cell(i, TRunTableModel::colGap).isEmpty()) << i;
    }
    EXPECT_EQ(Cell(row - 1, TRunTableModel::colGap), QStringLiteral("0,0%"));
    EXPECT_EQ(Cell(row - 2, TRunTableModel::colGap), QStringLiteral("0,0%"));
}

TEST_F(RunCompareTest, ASelectedRowDrawsItsRouteAndUsingItIsOneStep)
{
    OpenWith(NinePoints);
    Search(MethodCases[0]);
    Search(MethodCases[3]);
    const TSpecimen randomRoute = History().Runs()[0].Route;
    const std::vector<int32_t> exactLinks = LinksOf(Form->State().FPoints);
    const int stepsBefore = Form->Document().History().count();

    SelectRow(0);
    EXPECT_TRUE(Form->Map().ShowsRoute());
    // The map shows the set with that route as its links, the links kept.
    TPointArray expected = Form->State().FPoints;
    for (TMapPoint& point : expected)
        point.Next = -1;
    ApplyBestRoute(expected, randomRoute);
    const TBitmap32& shown = Form->MapForm()->Image321->Bitmap();
    TBitmap32 drawn;
    RenderMap(
        drawn, shown.Width(), shown.Height(), expected, [](int32_t) { return false; }, Form->Map().Fit());
    ASSERT_EQ(drawn.Width(), shown.Width());
    EXPECT_TRUE(std::equal(drawn.Bits(), drawn.Bits() + drawn.Width() * drawn.Height(), shown.Bits()));
    EXPECT_EQ(LinksOf(Form->State().FPoints), exactLinks);

    ASSERT_TRUE(Command(*Form, "actUseRun")->Execute());
    EXPECT_FALSE(Form->Map().ShowsRoute());
    EXPECT_EQ(LinksOf(Form->State().FPoints), LinksOf(expected));
    EXPECT_EQ(Form->Document().History().count(), stepsBefore + 1);
    ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
    EXPECT_EQ(LinksOf(Form->State().FPoints), exactLinks);
}

TEST_F(RunCompareTest, ChangingTheSetMarksEarlierRowsAndTheirRoutesCantBeUsed)
{
    const struct {
        const char* Name;
        std::function<void(TMainForm&)> Change;
    } rows[] = {
        {"point added", [](TMainForm& form) { form.Map().AddPoint(300, 300); }},
        {"point moved",
         [](TMainForm& form) {
             form.Document().Push(new TMovePointCommand(form.Document(), QStringLiteral("move"), 2, 7, 7));
         }},
        {"new set", [](TMainForm& form) { Command(form, "actNewArray")->Execute(); }},
    };
    for (const auto& row : rows) {
        // "Nie" to the question about the changed set.
        Dialogs.Answers = {TDialogs::TAnswer::No};
        OpenWith(NinePoints);
        Search(MethodCases[0]);
        row.Change(*Form);
        EXPECT_EQ(Cell(0, TRunTableModel::colSet), QStringLiteral("inny")) << row.Name;
        SelectRow(0);
        EXPECT_FALSE(Command(*Form, "actUseRun")->Execute()) << row.Name;
        EXPECT_FALSE(Form->Map().ShowsRoute()) << row.Name;
        // The chart still has the run, drawn as one of another set.
        EXPECT_EQ(RunSeries().size(), 1u) << row.Name;
    }
    // A change taken back gives the set, and its runs, back.
    OpenWith(NinePoints);
    Search(MethodCases[0]);
    Form->Map().AddPoint(300, 300);
    ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
    EXPECT_EQ(Cell(0, TRunTableModel::colSet), QStringLiteral("bieżący"));
}

// While a run's route is looked at, presses on the map change nothing and
// the status bar says why; with no row selected they add points again.
TEST_F(RunCompareTest, ALookedAtRouteLeavesTheMapReadOnly)
{
    OpenWith(NinePoints);
    Search(MethodCases[0]);
    Command(*Form, "actShowWay")->Execute();
    SelectRow(0);
    ASSERT_TRUE(Form->Map().ShowsRoute());
    TImage32& view = *Form->MapForm()->Image321;
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(150, 150));
    QTest::mouseClick(&view, Qt::MiddleButton, {}, QPoint(160, 150));
    EXPECT_EQ(Form->State().FPoints.size(), 9u);
    EXPECT_EQ(Cell(0, TRunTableModel::colSet), QStringLiteral("bieżący"));
    EXPECT_TRUE(Part<TStatusBar>(*Form, "StatusBar1")->PanelText(0).contains(QStringLiteral("Porównanie")));
    CompareTab().ClearSelection();
    EXPECT_FALSE(Form->Map().ShowsRoute());
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(Form->State().FPoints.size(), 10u);
}

// The chart shows one set's runs, the selected row's or else the current
// set's; its length axis starts at 0 or above on round steps, and an empty
// chart has no length marks.
TEST_F(RunCompareTest, ChartShowsOneSetsRunsOnRoundLengths)
{
    OpenWith(NinePoints);
    TRunChart& chart = *CompareTab().chRuns;
    const auto lengthAxis = [&chart] { return static_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).first()); };
    EXPECT_TRUE(RunSeries().empty());
    EXPECT_FALSE(lengthAxis()->labelsVisible());

    // A route far longer than the best first: the old margin went below 0.
    TRunRecord record;
    record.Method = smRandom;
    record.Evaluated = true;
    record.Length = 1002.0;
    record.SetId = History().CurrentSet();
    record.Trace = {{1, 45542.3}, {30, 1002.0}};
    History().Add(record);
    ASSERT_EQ(RunSeries().size(), 1u);
    const QValueAxis& axis = *lengthAxis();
    EXPECT_TRUE(axis.labelsVisible());
    EXPECT_GE(axis.min(), 0.0);
    EXPECT_LE(axis.min(), 1002.0);
    EXPECT_GE(axis.max(), 45542.3);
    const double step = axis.tickInterval();
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    const double leading = step / power;
    EXPECT_TRUE(leading == 1.0 || leading == 2.0 || leading == 5.0) << step;
    EXPECT_EQ(std::fmod(axis.min(), step), 0.0);
    EXPECT_EQ(std::fmod(axis.max(), step), 0.0);
    EXPECT_LE((axis.max() - axis.min()) / step, 8.0);

    // Runs on another set leave the chart unless their row is selected.
    Form->Map().AddPoint(300, 300);
    Search(MethodCases[0]);
    ASSERT_EQ(RunSeries().size(), 1u);
    EXPECT_EQ(RunSeries()[0]->property("runNumber").toInt(), History().Runs().back().Number);
    SelectRow(0);
    ASSERT_EQ(RunSeries().size(), 1u);
    EXPECT_EQ(RunSeries()[0]->property("runNumber").toInt(), History().Runs().front().Number);
}

// At the window's design size the table shows each run's length and gap
// without scrolling.
TEST_F(RunCompareTest, TableShowsLengthAndGapWithoutScrolling)
{
    OpenWith(NinePoints);
    Search(MethodCases[4]);
    Search(MethodCases[0]);
    Part<QTabWidget>(*Form, "PageControl1")->setCurrentWidget(&CompareTab());
    QApplication::processEvents();
    QTableView& table = *CompareTab().tvRuns;
    for (const int column : {TRunTableModel::colLength, TRunTableModel::colGap}) {
        EXPECT_LE(table.columnViewportPosition(column) + table.columnWidth(column), table.viewport()->width())
            << table.model()->headerData(column, Qt::Horizontal).toString().toStdString();
    }
}

TEST_F(RunCompareTest, ExportedTableReadsBack)
{
    OpenWith(NinePoints);
    Search(MethodCases[1]);
    Search(MethodCases[2]);
    const QString path = Folder.filePath(QStringLiteral("runs.csv"));
    Dialogs.RunsChoices.push_back({path, TDialogs::TRunsExport::TableCsv});
    ASSERT_TRUE(Command(*Form, "actExportRuns")->Execute());
    const QStringList lines = QString::fromUtf8(ReadTextFile(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(CsvFields(lines[0]).size(), TRunTableModel::ColumnCount);
    for (int i = 0; i < 2; ++i) {
        const TRunRecord& run = History().Runs()[static_cast<size_t>(i)];
        const QStringList fields = CsvFields(lines[i + 1]);
        ASSERT_EQ(fields.size(), TRunTableModel::ColumnCount) << lines[i + 1].toStdString();
        EXPECT_EQ(fields[TRunTableModel::colNumber].toInt(), run.Number);
        EXPECT_EQ(fields[TRunTableModel::colMethod], Cell(i, TRunTableModel::colMethod));
        EXPECT_EQ(fields[TRunTableModel::colPoints].toInt(), run.PointCount);
        // C-locale numbers, the length exact.
        EXPECT_EQ(fields[TRunTableModel::colLength].toDouble(), run.Length);
        EXPECT_EQ(fields[TRunTableModel::colTime].toLongLong(), run.ElapsedMs);
        EXPECT_EQ(fields[TRunTableModel::colSteps].toLongLong(), run.Steps);
        EXPECT_EQ(fields[TRunTableModel::colStopped], QStringLiteral("nie"));
        EXPECT_EQ(fields[TRunTableModel::colSet], QStringLiteral("bieżący"));
    }
    // Rates with a decimal point.
    EXPECT_TRUE(
        CsvFields(lines[1])[TRunTableModel::colParameters].contains(QStringLiteral("krosowanie: 0.5, mutacja: 0.05")))
        << lines[1].toStdString();
}

TEST_F(RunCompareTest, ChartHasASeriesPerRunEndingAtItsLength)
{
    OpenWith(NinePoints);
    for (const TMethodCase& c : MethodCases) {
        Search(c);
        const std::vector<QLineSeries*> series = RunSeries();
        ASSERT_EQ(series.size(), History().Runs().size()) << c.Name;
        const QLineSeries& last = *series.back();
        ASSERT_GT(last.count(), 0) << c.Name;
        EXPECT_EQ(last.at(last.count() - 1).y(), History().Runs().back().Length) << c.Name;
        // A step line: the best length never grows.
        for (int i = 1; i < last.count(); ++i)
            EXPECT_LE(last.at(i).y(), last.at(i - 1).y()) << c.Name << " point " << i;
    }
    // The proved length is the bound's line.
    bool bound = false;
    for (QAbstractSeries* each : CompareTab().chRuns->chart()->series())
        if (each->property("bound").toBool())
            bound = static_cast<QLineSeries*>(each)->at(0).y() == History().Runs().back().Length;
    EXPECT_TRUE(bound);
}

TEST_F(RunCompareTest, ChartFollowsTheRoutesTheProgressOffers)
{
    OpenWith(NinePoints);
    TWindowProgress& progress = *Form->findChild<TWindowProgress*>();
    ASSERT_TRUE(progress.WatchesRoutes());
    History().BeginLive(smRandom);
    const TSpecimen route = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    for (const double length : {900.0, 800.0, 850.0, 700.0})
        progress.OfferRoute({route, length, static_cast<int64_t>(length) / 10});
    QLineSeries* live = nullptr;
    for (QAbstractSeries* each : CompareTab().chRuns->chart()->series())
        if (each->property("live").toBool())
            live = static_cast<QLineSeries*>(each);
    ASSERT_NE(live, nullptr);
    // Only improvements count: 900, 800, 700, each a step down.
    ASSERT_EQ(live->count(), 5);
    EXPECT_EQ(live->at(4).y(), 700.0);
}

TEST_F(RunCompareTest, ChartIsSavedAsPngOrSvg)
{
    OpenWith(NinePoints);
    Search(MethodCases[0]);
    const struct {
        const char* Name;
        TDialogs::TRunsExport Kind;
    } rows[] = {{"chart.png", TDialogs::TRunsExport::ChartPng}, {"chart.svg", TDialogs::TRunsExport::ChartSvg}};
    for (const auto& row : rows) {
        const QString path = Folder.filePath(QString::fromLatin1(row.Name));
        Dialogs.RunsChoices.push_back({path, row.Kind});
        ASSERT_TRUE(Command(*Form, "actSaveChart")->Execute()) << row.Name;
        const QByteArray bytes = ReadTextFile(path);
        const QImage image = QImage::fromData(bytes, row.Kind == TDialogs::TRunsExport::ChartPng ? "PNG" : "SVG");
        EXPECT_FALSE(image.isNull()) << row.Name;
        EXPECT_EQ(image.size(), CompareTab().chRuns->PictureSize()) << row.Name;
    }
}

TEST_F(RunCompareTest, OnlyRunsThatRanAreKeptAndAStopIsMarked)
{
    OpenWith("1; 1\r\n5; 5\r\n9; 1\r\n");
    // Three points are too few for the genetic search: refused, no row.
    Search(MethodCases[1]);
    EXPECT_TRUE(History().Empty());
    // "Przerwij" in the first pass of events of the search.
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [this, &stopper] {
        if (Form->Runner().Searching() && Command(*Form, "actStop")->Execute())
            stopper.stop();
    });
    stopper.start(0);
    Part<TSpinEdit>(SearchTab(), "seRandomCount")->SetText(QStringLiteral("32000"));
    Part<QComboBox>(SearchTab(), "cbMethod")->setCurrentIndex(smRandom);
    ASSERT_TRUE(Command(*Form, "actGenerate")->Execute());
    ASSERT_EQ(History().Runs().size(), 1u);
    EXPECT_EQ(Cell(0, TRunTableModel::colStopped), QStringLiteral("tak"));
}

TEST_F(RunCompareTest, ClearingAsksAndEmptiesTheHistory)
{
    OpenWith(NinePoints);
    Search(MethodCases[0]);
    Dialogs.Answers = {TDialogs::TAnswer::No, TDialogs::TAnswer::Yes};
    ASSERT_TRUE(Command(*Form, "actClearRuns")->Execute());
    EXPECT_EQ(History().Runs().size(), 1u);
    ASSERT_TRUE(Command(*Form, "actClearRuns")->Execute());
    EXPECT_TRUE(History().Empty());
    EXPECT_TRUE(RunSeries().empty());
    EXPECT_FALSE(Command(*Form, "actExportRuns")->Execute());
    // Numbering starts again.
    Search(MethodCases[0]);
    EXPECT_EQ(Cell(0, TRunTableModel::colNumber), QStringLiteral("1"));
}
