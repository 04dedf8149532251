#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTest>
#include <QUndoStack>

#include "raster/map_fit.h"
#include "scripted_dialogs.h"
#include "support/scripted_host.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/map_controller.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

class UndoTest : public ::testing::Test {
protected:
    void OpenWith(const QByteArray& lines)
    {
        Path = Folder.filePath(QStringLiteral("set.tvu"));
        WriteTextFile(Path, lines);
        Form = MakeWindows({Path});
        Form->show();
        Command(*Form, "actShowWay")->Execute();
    }

    void Select(const std::vector<int>& rows)
    {
        QItemSelectionModel* selection = Part<TPointList>(*Form, "ListBox1")->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(Part<TPointList>(*Form, "ListBox1")->model()->index(row, 0), QItemSelectionModel::Select);
    }

    // The set, its matrix (every cell MapHypot of its two points) and the
    // list, against what the step should have left.
    void ExpectShows(const TPointArray& expected, const std::string& step)
    {
        const TPointSetState& state = Form->State();
        const size_t n = expected.size();
        ASSERT_EQ(state.FPoints.size(), n) << step;
        ASSERT_EQ(Distances(*Form).size(), n) << step;
        for (size_t i = 0; i < n; ++i) {
            const TMapPoint& point = state.FPoints[i];
            EXPECT_TRUE(point.X == expected[i].X && point.Y == expected[i].Y && point.Next == expected[i].Next)
                << step << ", point " << i;
            ASSERT_EQ(Distances(*Form)[i].size(), n) << step;
            for (size_t j = 0; j < n; ++j)
                ASSERT_EQ(Distances(*Form)[i][j],
                          MapHypot(int64_t{expected[i].X} - expected[j].X, int64_t{expected[i].Y} - expected[j].Y))
                    << step << ", cell " << i << ", " << j;
        }
        EXPECT_EQ(Part<TPointList>(*Form, "ListBox1")->ItemCount(), static_cast<int>(n)) << step;
    }

    QString Title()
    {
        Form->ApplicationIdle();
        return Form->windowTitle();
    }

    TImage32& View() const { return *Form->MapForm()->Image321; }

    QTemporaryDir Folder;
    QString Path;
    TScriptedDialogs ScriptedDialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(UndoTest, EditingSequenceUndoesBackToTheLoadedSet)
{
    OpenWith("10; 20\r\n17; 23\r\n24; 26\r\n31; 29\r\n38; 32\r\n");
    const QString loadedTitle = Title();
    std::vector<TPointArray> states{{{10, 20, -1}, {17, 23, -1}, {24, 26, -1}, {31, 29, -1}, {38, 32, -1}}};
    auto expectStep = [&](TPointArray next, const std::string& step) {
        states.push_back(std::move(next));
        ExpectShows(states.back(), step);
    };
    for (auto [row, next] : {std::pair{3, 2}, {2, 4}, {4, 3}}) {
        Select({row});
        ScriptedDialogs.Inputs.push_back(QString::number(next));
        ASSERT_TRUE(Command(*Form, "actSetNext")->Execute());
        TPointArray linked = states.back();
        linked[static_cast<size_t>(row)].Next = next;
        expectStep(linked, "link");
    }
    EXPECT_EQ(Title(), loadedTitle);

    for (const QPoint at : {QPoint(100, 50), QPoint(120, 60), QPoint(140, 70)}) {
        QTest::mouseClick(&View(), Qt::LeftButton, {}, at);
        TPointArray grown = states.back();
        grown.push_back({at.x(), at.y(), -1});
        expectStep(grown, "click");
    }
    EXPECT_EQ(Title(), loadedTitle + QStringLiteral(" [zmieniony]"));
    ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
    ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
    const TPointArray threeClicks = states.back();
    states.resize(states.size() - 2);
    ExpectShows(states.back(), "two clicks undone");
    ASSERT_TRUE(Command(*Form, "actRedo")->Execute());
    expectStep({threeClicks.begin(), threeClicks.end() - 1}, "one click redone");

    // Point 2 goes with point 3's link to it; point 4's link to 3 follows
    // it down.
    Select({2, 5});
    ASSERT_TRUE(Command(*Form, "actDeletePoints")->Execute());
    expectStep({{10, 20, -1}, {17, 23, -1}, {31, 29, -1}, {38, 32, 2}, {120, 60, -1}}, "delete");

    Select({1});
    ScriptedDialogs.Inputs.push_back(QStringLiteral("200; 150"));
    ASSERT_TRUE(Command(*Form, "actEditPoint")->Execute());
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Caption, QStringLiteral("Zmień współrzędne punktu"));
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Text, QStringLiteral("Podaj współrzędne punktu 1 (X; Y):|17; 23"));
    TPointArray edited = states.back();
    edited[1] = {200, 150, -1};
    expectStep(edited, "dialog");

    // Grabbed inside its square, point 0 lands where the square is let go;
    // the set itself waits for the release.
    Command(*Form, "actDragPoints")->setChecked(true);
    QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(12, 21));
    QMouseEvent move(QEvent::MouseMove, QPointF(62, 81), View().mapToGlobal(QPointF(62, 81)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&View(), &move);
    ExpectShows(states.back(), "while dragging");
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(62, 81));
    TPointArray dragged = states.back();
    dragged[0] = {60, 80, -1};
    expectStep(dragged, "drag");

    while (states.size() > 1) {
        ASSERT_TRUE(Command(*Form, "actUndo")->Execute()) << states.size();
        states.pop_back();
        ExpectShows(states.back(), "undo to step " + std::to_string(states.size() - 1));
    }
    EXPECT_FALSE(Command(*Form, "actUndo")->Execute());
    EXPECT_EQ(Title(), loadedTitle);
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(ScriptedDialogs.Count(QStringLiteral("question")), 0);
}

// Each kind of step names itself in both captions and is taken back and
// made again exactly.
TEST_F(UndoTest, EveryKindOfStepNamesItselfAndComesBackExactly)
{
    OpenWith("1; 1\r\n9; 4\r\n3; 7\r\n5; 5\r\n");
    Part<QComboBox>(*Form, "cbMethod")->setCurrentIndex(0);
    // The random points, and so the route found, the same on every run: a
    // successor set by hand must differ from the route's to make a step.
    const TClockScript clock(4321);
    // No command: a click on the map.
    const struct {
        const char* Step;
        std::vector<int> Rows;
        const char* Typed;
        TCommand* Command;
    } rows[] = {
        {"dodanie punktu", {}, nullptr, nullptr},
        {"losowanie punktów", {}, "6", Command(*Form, "actRandomArray")},
        {"szukanie drogi", {}, nullptr, Command(*Form, "actGenerate")},
        {"ustawienie punktu docelowego", {0}, "1", Command(*Form, "actSetNext")},
        {"usunięcie punktu", {1}, nullptr, Command(*Form, "actDeletePoints")},
        {"wyzerowanie drogi", {}, nullptr, Command(*Form, "actZeroArray")},
        {"usunięcie punktów", {0, 2}, nullptr, Command(*Form, "actDeletePoints")},
        {"zmiana współrzędnych punktu", {0}, "1; 2", Command(*Form, "actEditPoint")},
    };
    EXPECT_EQ(Command(*Form, "actUndo")->text(), QStringLiteral("&Cofnij"));
    EXPECT_EQ(Command(*Form, "actRedo")->text(), QStringLiteral("&Ponów"));
    for (const auto& row : rows) {
        const QString step = QString::fromUtf8(row.Step);
        const TPointArray before = Form->State().FPoints;
        Select(row.Rows);
        if (row.Typed)
            ScriptedDialogs.Inputs.push_back(QString::fromLatin1(row.Typed));
        if (row.Command)
            ASSERT_TRUE(row.Command->Execute()) << row.Step;
        else
            QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(5, 8));
        const TPointArray after = Form->State().FPoints;
        EXPECT_EQ(Command(*Form, "actUndo")->text(), QStringLiteral("&Cofnij: ") + step);
        EXPECT_EQ(Command(*Form, "actUndo")->toolTip(), QStringLiteral("Cofnij: ") + step);
        ASSERT_TRUE(Command(*Form, "actUndo")->Execute()) << row.Step;
        ExpectShows(before, row.Step);
        EXPECT_EQ(Command(*Form, "actRedo")->text(), QStringLiteral("&Ponów: ") + step);
        ASSERT_TRUE(Command(*Form, "actRedo")->Execute()) << row.Step;
        ExpectShows(after, row.Step);
    }
    EXPECT_EQ(Command(*Form, "actUndo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(Command(*Form, "actRedo")->shortcuts(),
              QKeySequence::listFromString(QStringLiteral("Ctrl+Shift+Z; Ctrl+Y")));
    EXPECT_EQ(Command(*Form, "actDeletePoints")->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_FALSE(Command(*Form, "actRedo")->icon().pixmap(16, 16).isNull());
    Form->Runner().Begin();
    EXPECT_FALSE(Command(*Form, "actUndo")->Execute());
}

TEST_F(UndoTest, SavedStateIsTheUnchangedOneAndLoadingForgetsTheHistory)
{
    OpenWith("1; 1\r\n");
    Form->Map().AddPoint(1, 1);
    ScriptedDialogs.SaveNames.push_back(Folder.filePath(QStringLiteral("saved.tvu")));
    ASSERT_TRUE(Command(*Form, "actSaveArray")->Execute());
    Command(*Form, "actUndo")->Execute();
    EXPECT_TRUE(Form->State().FModified);
    Command(*Form, "actRedo")->Execute();
    EXPECT_FALSE(Form->State().FModified);
    ScriptedDialogs.OpenNames.push_back(Path);
    ASSERT_TRUE(Command(*Form, "actOpenArray")->Execute());
    EXPECT_EQ(Form->Document().History().count(), 0);
}

// Two numbers and a semicolon move the point; anything else says what is
// expected, leaves the point where it was and asks again with the text kept.
TEST_F(UndoTest, CoordinatesTypedAreTwoNumbersOrAskedAgain)
{
    const struct {
        const char* Typed;
        bool Reads;
        int32_t X;
        int32_t Y;
    } rows[] = {
        {"5; 6", true, 5, 6},   {" 7 ; 8 ", true, 7, 8},    {"$10; x1F", true, 16, 31},  {"-4;-9", true, -4, -9},
        {"abc", false, 99, 99}, {"100 200", false, 99, 99}, {"1,5; 2,5", false, 99, 99}, {"12; abc", false, 99, 99},
        {"7", false, 99, 99},   {"", false, 99, 99},
    };
    OpenWith("1; 1\r\n99; 99\r\n");
    for (const auto& row : rows) {
        WritableState(*Form).FPoints[1] = {99, 99, -1};
        Select({1});
        const int steps = Form->Document().History().count();
        ScriptedDialogs.Boxes.clear();
        // A refused text is asked for again; cancelling then changes nothing.
        ScriptedDialogs.Inputs = {QString::fromLatin1(row.Typed), std::nullopt};
        Command(*Form, "actEditPoint")->Execute();
        const TMapPoint& point = Form->State().FPoints[1];
        EXPECT_TRUE(point.X == row.X && point.Y == row.Y) << row.Typed;
        EXPECT_EQ(Form->Document().History().count(), steps + (row.Reads ? 1 : 0)) << row.Typed;
        ASSERT_EQ(ScriptedDialogs.Count("input"), row.Reads ? 1 : 2) << row.Typed;
        if (row.Reads)
            continue;
        ASSERT_EQ(ScriptedDialogs.Count("error"), 1) << row.Typed;
        EXPECT_TRUE(
            ScriptedDialogs.Boxes[1].Text.contains(QStringLiteral("dwie liczby całkowite rozdzielone średnikiem")))
            << row.Typed;
        EXPECT_TRUE(ScriptedDialogs.Boxes[2].Text.endsWith(u'|' + QString::fromLatin1(row.Typed))) << row.Typed;
    }
}

TEST_F(UndoTest, OnlyALeftPressOnASquareDragsAndTheFitMapsItBack)
{
    OpenWith("0; 0\r\n2000; 1000\r\n");
    Command(*Form, "actFitMap")->setChecked(true);
    Command(*Form, "actFitMap")->Execute();
    Command(*Form, "actDragPoints")->setChecked(true);
    const TMapFit fit = FitMapToPoints(Form->State().FPoints, View().width(), View().height());
    const QPoint square(fit.MapX(2000), fit.MapY(1000));
    QTest::mouseClick(&View(), Qt::RightButton, {}, square + QPoint(1, 1));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(Form->State().FPoints.size(), 4u);
    Command(*Form, "actUndo")->Execute();
    Command(*Form, "actUndo")->Execute();
    QTest::mousePress(&View(), Qt::LeftButton, {}, square + QPoint(1, 1));
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, square + QPoint(-29, -19));
    ASSERT_EQ(Form->State().FPoints.size(), 2u);
    EXPECT_EQ(Form->State().FPoints[1].X, fit.PointX(square.x() - 30));
    EXPECT_EQ(Form->State().FPoints[1].Y, fit.PointY(square.y() - 20));
    EXPECT_LT(Form->State().FPoints[1].X, 1900);
    EXPECT_EQ(Command(*Form, "actUndo")->text(), QStringLiteral("&Cofnij: przesunięcie punktu"));
}

// A press that arrives while a step rebuilds the matrix (which passes
// events on) waits for the step, so the history keeps the set's order.
TEST_F(UndoTest, PressDuringAStepComesAfterIt)
{
    OpenWith("10; 20\r\n");
    QCoreApplication::postEvent(
        &View(), new QMouseEvent(QEvent::MouseButtonPress, QPointF(70, 80), View().mapToGlobal(QPointF(70, 80)),
                                 Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    Form->Map().AddPoint(60, 60);
    QTest::qWait(20);
    for (TCommand* command :
         {Command(*Form, "actUndo"), Command(*Form, "actUndo"), Command(*Form, "actRedo"), Command(*Form, "actRedo")})
        ASSERT_TRUE(command->Execute());
    ExpectShows({{10, 20, -1}, {60, 60, -1}, {70, 80, -1}}, "both redone");
}

// A search's route is one ordinary step: undone, the links from before the
// search and their kind come back; redone, the route and the kind asked for.
TEST_F(UndoTest, ASearchsRouteIsOneStepWithItsKind)
{
    OpenWith("10; 20\r\n200; 40\r\n90; 300\r\n310; 220\r\n");
    WritableState(*Form).FPoints[2].Next = 0;
    const TRouteKind before{true, 1, -1};
    WritableState(*Form).FRouteKind = before;
    Select({2});
    Part<QComboBox>(*Form, "cbMethod")->setCurrentIndex(smExact);
    Part<QComboBox>(*Form, "cbStartPoint")->setCurrentText(QStringLiteral("zaznaczony"));
    const int steps = Form->Document().History().count();
    ASSERT_TRUE(Command(*Form, "actGenerate")->Execute());
    EXPECT_EQ(Form->Document().History().count(), steps + 1);
    EXPECT_EQ(Command(*Form, "actUndo")->text(), QStringLiteral("&Cofnij: szukanie drogi"));
    const TPointArray found = Form->State().FPoints;
    EXPECT_EQ(Form->State().FRouteKind.Start, 2);
    EXPECT_FALSE(Form->State().FRouteKind.RoundTrip);
    int linked = 0;
    for (const TMapPoint& point : found)
        linked += point.Next >= 0 ? 1 : 0;
    EXPECT_EQ(linked, 3);

    ASSERT_TRUE(Command(*Form, "actUndo")->Execute());
    EXPECT_EQ(Form->State().FPoints[2].Next, 0);
    EXPECT_EQ(Form->State().FPoints[0].Next, -1);
    EXPECT_TRUE(Form->State().FRouteKind.RoundTrip);
    EXPECT_EQ(Form->State().FRouteKind.Start, 1);
    ASSERT_TRUE(Command(*Form, "actRedo")->Execute());
    for (size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(Form->State().FPoints[i].Next, found[i].Next) << i;
    EXPECT_EQ(Form->State().FRouteKind.Start, 2);
}

// A point held on the map is let go when the set changes under it, by a
// step of the history or any other change: its release moves nothing.
TEST_F(UndoTest, AChangeOfTheSetLetsGoOfADraggedPoint)
{
    OpenWith("10; 20\r\n60; 60\r\n");
    Command(*Form, "actDragPoints")->setChecked(true);
    QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(12, 21));
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 90), View().mapToGlobal(QPointF(100, 90)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&View(), &move);
    // The map follows the pointer; the set waits for the release.
    EXPECT_EQ(Form->State().FPoints[0].X, 10);
    Form->Document().ReplacePoints({{10, 20, -1}});
    const int steps = Form->Document().History().count();
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(100, 90));
    EXPECT_EQ(Form->Document().History().count(), steps);
    ExpectShows({{10, 20, -1}}, "after the release");
}

}  // namespace
