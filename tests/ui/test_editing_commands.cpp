#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUndoStack>

#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/map_controller.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

QByteArray PointLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(10 + 7 * i) + "; " + QByteArray::number(20 + 3 * i) + "\r\n";
    return text;
}

class EditingCommandsTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> OpenWith(int count)
    {
        Path = Folder.filePath(QStringLiteral("set.tvu"));
        WriteTextFile(Path, PointLines(count));
        auto form = MakeWindows({Path});
        form->show();
        form->ApplicationIdle();
        return form;
    }

    static void SelectRows(TMainForm& form, std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = Part<TPointList>(form, "ListBox1")->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(Part<TPointList>(form, "ListBox1")->model()->index(row, 0), QItemSelectionModel::Select);
        if (rows.size() > 0)
            selection->setCurrentIndex(Part<TPointList>(form, "ListBox1")->model()->index(*rows.begin(), 0),
                                       QItemSelectionModel::NoUpdate);
    }

    QTemporaryDir Folder;
    QString Path;
    TScriptedDialogs ScriptedDialogs;
};

TEST_F(EditingCommandsTest, RandomPointsKeepTheCountForUnusableAnswers)
{
    const QString answers[] = {QStringLiteral("10"), QStringLiteral("0"), QStringLiteral("-3"), QStringLiteral("abc"),
                               QString()};
    for (const QString& answer : answers) {
        auto form = OpenWith(10);
        WritableState(*form).FPoints[2].Next = 3;
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.Inputs.push_back(answer);
        ASSERT_TRUE(Command(*form, "actRandomArray")->Execute());
        ASSERT_EQ(ScriptedDialogs.Boxes.size(), 1u);
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Caption, QStringLiteral("Losuj współrzędne punktów"));
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Text, QStringLiteral("Ile punktów wylosować?|10"));
        EXPECT_EQ(form->State().FPoints.size(), 10u) << answer.toStdString();
        for (const TMapPoint& point : form->State().FPoints) {
            EXPECT_GE(point.X, 0);
            EXPECT_LT(point.X, form->Map().View().Width);
            EXPECT_GE(point.Y, 0);
            EXPECT_LT(point.Y, form->Map().View().Height);
            EXPECT_EQ(point.Next, -1);
        }
        EXPECT_TRUE(form->State().FModified);
        EXPECT_EQ(form->State().FFileName, StdName(Path));
        EXPECT_EQ(Distances(*form).size(), 10u);
    }
}

TEST_F(EditingCommandsTest, RandomPointsGrowTheSet)
{
    auto form = OpenWith(10);
    ScriptedDialogs.Inputs.push_back(QStringLiteral("50"));
    ASSERT_TRUE(Command(*form, "actRandomArray")->Execute());
    EXPECT_EQ(form->State().FPoints.size(), 50u);
    EXPECT_EQ(Part<TPointList>(*form, "ListBox1")->ItemCount(), 50);
    EXPECT_EQ(Distances(*form).size(), 50u);
}

TEST_F(EditingCommandsTest, RandomPointsRefuseMoreThanTheLimitAndCancelChangesNothing)
{
    auto form = OpenWith(3);
    const TPointArray before = form->State().FPoints;
    ScriptedDialogs.Inputs.push_back(QStringLiteral("10001"));
    ScriptedDialogs.Inputs.push_back(std::nullopt);
    Command(*form, "actRandomArray")->Execute();
    Command(*form, "actRandomArray")->Execute();
    ASSERT_EQ(ScriptedDialogs.Count(QStringLiteral("information")), 1);
    EXPECT_EQ(ScriptedDialogs.Boxes[1].Caption, QStringLiteral("Losuj współrzędne punktów"));
    EXPECT_EQ(ScriptedDialogs.Boxes[1].Text, QStringLiteral("Najwyżej 10000 punktów."));
    EXPECT_FALSE(form->State().FModified);
    ASSERT_EQ(form->State().FPoints.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(form->State().FPoints[i].X, before[i].X);
}

TEST_F(EditingCommandsTest, SetNextClampsAndNeverLinksAPointToItself)
{
    struct {
        int row;
        QString typed;
        int32_t next;
    } rows[] = {
        {3, QStringLiteral("4"), 4},   {3, QStringLiteral("99"), 4}, {3, QStringLiteral("3"), -1},
        {3, QStringLiteral("-7"), -1}, {3, QString(), -1},           {3, QStringLiteral("x"), -1},
        {4, QStringLiteral("99"), -1}, {3, QStringLiteral("$1"), 1},
    };
    auto form = OpenWith(5);
    for (const auto& row : rows) {
        WritableState(*form).FPoints[row.row].Next = 2;
        SelectRows(*form, {row.row});
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.Inputs.push_back(row.typed);
        ASSERT_TRUE(Command(*form, "actSetNext")->Execute()) << row.typed.toStdString();
        ASSERT_EQ(ScriptedDialogs.Boxes.size(), 1u);
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Caption, QStringLiteral("Ustal kolejny punkt"));
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Text, QStringLiteral("Podaj indeks kolejnego punktu:|2"));
        EXPECT_EQ(form->State().FPoints[row.row].Next, row.next)
            << "point " << row.row << ", typed " << row.typed.toStdString();
        EXPECT_FALSE(form->State().FModified);
    }
}

TEST_F(EditingCommandsTest, SetNextNeedsExactlyOneSelectedRow)
{
    auto form = OpenWith(5);
    SelectRows(*form, {});
    EXPECT_FALSE(Command(*form, "actSetNext")->Execute());
    SelectRows(*form, {1, 2});
    EXPECT_FALSE(Command(*form, "actSetNext")->Execute());
    SelectRows(*form, {1});
    ScriptedDialogs.Inputs.push_back(std::nullopt);
    EXPECT_TRUE(Command(*form, "actSetNext")->Execute());
    EXPECT_EQ(form->State().FPoints[1].Next, -1);
    EXPECT_EQ(ScriptedDialogs.Count(QStringLiteral("input")), 1);
}

TEST_F(EditingCommandsTest, CountWayMeasuresTheLinksAndReplacesTheResults)
{
    auto form = OpenWith(3);
    Results(*form).addItem(QStringLiteral("old"));
    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    ASSERT_EQ(Results(*form).count(), 1);
    EXPECT_EQ(Results(*form).item(0)->text(), QStringLiteral("Długość drogi: 0,00"));

    WritableState(*form).FPoints[0].Next = 2;
    WritableState(*form).FPoints[2].Next = 1;
    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    const double expected = Distances(*form)[0][2] + Distances(*form)[2][1];
    EXPECT_EQ(Results(*form).item(0)->text(), QStringLiteral("Długość drogi: ") + QLocale().toString(expected, 'f', 2));
}

TEST_F(EditingCommandsTest, ZeroRouteClearsLinksAndMarksTheSetChanged)
{
    auto form = OpenWith(3);
    WritableState(*form).FPoints[0].Next = 1;
    ASSERT_TRUE(Command(*form, "actZeroArray")->Execute());
    EXPECT_EQ(form->State().FPoints[0].Next, -1);
    EXPECT_TRUE(form->State().FModified);
}

TEST_F(EditingCommandsTest, NewSetKeepsEarlierResultLines)
{
    auto form = OpenWith(3);
    Results(*form).addItem(QStringLiteral("Czas przeszukiwania: 00:00:00"));
    ASSERT_TRUE(Command(*form, "actNewArray")->Execute());
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_EQ(Results(*form).count(), 1);
}

// A route through deleted points closes over them, in one step of the
// history.
TEST_F(EditingCommandsTest, DeletingPointsClosesTheRouteInOneStep)
{
    auto form = OpenWith(7);
    // The route 6, 0, 5, 1, 4, 2, 3.
    const std::vector<int32_t> route = {6, 0, 5, 1, 4, 2, 3};
    for (size_t i = 0; i + 1 < route.size(); ++i)
        WritableState(*form).FPoints[static_cast<size_t>(route[i])].Next = route[i + 1];
    const TPointArray before = form->State().FPoints;
    const int steps = form->Document().History().count();
    SelectRows(*form, {0, 1, 3});
    ASSERT_TRUE(Command(*form, "actDeletePoints")->Execute());
    // Left: 2, 4, 5, 6 as 0, 1, 2, 3, on the route 6, 5, 4, 2.
    const TPointArray& points = form->State().FPoints;
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[3].Next, 2);
    EXPECT_EQ(points[2].Next, 1);
    EXPECT_EQ(points[1].Next, 0);
    EXPECT_EQ(points[0].Next, -1);
    EXPECT_EQ(form->Document().History().count(), steps + 1);
    ASSERT_TRUE(Command(*form, "actUndo")->Execute());
    ASSERT_EQ(form->State().FPoints.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(form->State().FPoints[i].Next, before[i].Next) << i;
}

// Result lines stay when the set or its links change, greyed and saying
// which; the lines of a new search or measurement are the current ones.
TEST_F(EditingCommandsTest, ResultLinesOfAnEarlierSetOrRouteAreMarked)
{
    auto form = OpenWith(4);
    TSearchTab& tab = *Part<TSearchTab>(*form, "TabSheet3");
    const auto earlier = [&tab] {
        QString marks;
        for (int row = 0; row < Part<TResultList>(tab, "lbResults")->count(); ++row)
            marks += tab.ResultIsEarlier(row) ? u'e' : u'c';
        return marks.toStdString();
    };
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    const int lines = Part<TResultList>(tab, "lbResults")->count();
    ASSERT_GE(lines, 2);
    EXPECT_EQ(earlier(), std::string(static_cast<size_t>(lines), 'c'));
    ASSERT_TRUE(Command(*form, "actZeroArray")->Execute());
    EXPECT_EQ(earlier(), std::string(static_cast<size_t>(lines), 'e'));
    EXPECT_TRUE(
        Part<TResultList>(tab, "lbResults")->item(0)->toolTip().contains(QStringLiteral("wcześniejszej drogi")));
    EXPECT_EQ(ResultLines(*form).size(), lines);

    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    EXPECT_EQ(earlier(), "c");
    ScriptedDialogs.Inputs.push_back(QStringLiteral("4"));
    ASSERT_TRUE(Command(*form, "actRandomArray")->Execute());
    EXPECT_EQ(earlier(), "e");
    EXPECT_TRUE(
        Part<TResultList>(tab, "lbResults")->item(0)->toolTip().contains(QStringLiteral("wcześniejszego zbioru")));

    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    SelectRows(*form, {1});
    ASSERT_TRUE(Command(*form, "actDeletePoints")->Execute());
    EXPECT_EQ(earlier(), "e");
    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    ScriptedDialogs.Answers.push_back(TDialogs::TAnswer::No);
    ASSERT_TRUE(Command(*form, "actNewArray")->Execute());
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_EQ(earlier(), "e");
}

// A long line wraps within the list: no part of it hides to the right.
TEST_F(EditingCommandsTest, LongResultLinesWrapInsteadOfScrolling)
{
    auto form = OpenWith(3);
    TSearchTab& tab = *Part<TSearchTab>(*form, "TabSheet3");
    Part<QTabWidget>(*form, "PageControl1")->setCurrentWidget(&tab);
    tab.AddResultLine(QStringLiteral("Długość najlepszej znalezionej drogi: 3 489,09"));
    tab.AddResultLine(QStringLiteral("Dolne ograniczenie długości drogi: 3 412,77 (szacowanie przerwane)"));
    QApplication::processEvents();
    QListWidget* list = Part<TResultList>(tab, "lbResults");
    const int room = list->viewport()->width();
    for (int row = 0; row < list->count(); ++row) {
        const QRect place = list->visualItemRect(list->item(row));
        EXPECT_LE(place.right(), room) << row;
        EXPECT_GT(place.height(), list->fontMetrics().height()) << row;
    }
    EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
