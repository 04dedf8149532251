#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QListWidget>
#include <QTemporaryDir>

#include "scripted_dialogs.h"
#include "ui/commands.h"
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
        form->State().FPoints[2].Next = 3;
        ScriptedDialogs.Boxes.clear();
        ScriptedDialogs.Inputs.push_back(answer);
        ASSERT_TRUE(Command(*form, "actRandomArray")->Execute());
        ASSERT_EQ(ScriptedDialogs.Boxes.size(), 1u);
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Caption, QStringLiteral("Losuj współrzędne punktów"));
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Text, QStringLiteral("Ile punktów wylosować?|10"));
        EXPECT_EQ(form->State().FPoints.size(), 10u) << answer.toStdString();
        for (const TMapPoint& point : form->State().FPoints) {
            EXPECT_GE(point.X, 0);
            EXPECT_LT(point.X, form->State().FMapWidth);
            EXPECT_GE(point.Y, 0);
            EXPECT_LT(point.Y, form->State().FMapHeight);
            EXPECT_EQ(point.Next, -1);
        }
        EXPECT_TRUE(form->State().FModified);
        EXPECT_EQ(form->State().FFileName, StdName(Path));
        EXPECT_EQ(form->State().FDistances.size(), 10u);
    }
}

TEST_F(EditingCommandsTest, RandomPointsGrowTheSet)
{
    auto form = OpenWith(10);
    ScriptedDialogs.Inputs.push_back(QStringLiteral("50"));
    ASSERT_TRUE(Command(*form, "actRandomArray")->Execute());
    EXPECT_EQ(form->State().FPoints.size(), 50u);
    EXPECT_EQ(Part<TPointList>(*form, "ListBox1")->ItemCount(), 50);
    EXPECT_EQ(form->State().FDistances.size(), 50u);
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
        form->State().FPoints[row.row].Next = 2;
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
    Part<TSearchTab>(*form, "TabSheet3")->lbResults->addItem(QStringLiteral("old"));
    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    ASSERT_EQ(Part<TSearchTab>(*form, "TabSheet3")->lbResults->count(), 1);
    EXPECT_EQ(Part<TSearchTab>(*form, "TabSheet3")->lbResults->item(0)->text(), QStringLiteral("Długość drogi: 0,00"));

    form->State().FPoints[0].Next = 2;
    form->State().FPoints[2].Next = 1;
    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    const double expected = form->State().FDistances[0][2] + form->State().FDistances[2][1];
    EXPECT_EQ(Part<TSearchTab>(*form, "TabSheet3")->lbResults->item(0)->text(),
              QStringLiteral("Długość drogi: ") + QLocale().toString(expected, 'f', 2));
}

TEST_F(EditingCommandsTest, ZeroRouteClearsLinksAndMarksTheSetChanged)
{
    auto form = OpenWith(3);
    form->State().FPoints[0].Next = 1;
    ASSERT_TRUE(Command(*form, "actZeroArray")->Execute());
    EXPECT_EQ(form->State().FPoints[0].Next, -1);
    EXPECT_TRUE(form->State().FModified);
}

TEST_F(EditingCommandsTest, NewSetKeepsEarlierResultLines)
{
    auto form = OpenWith(3);
    Part<TSearchTab>(*form, "TabSheet3")->lbResults->addItem(QStringLiteral("Czas przeszukiwania: 00:00:00"));
    ASSERT_TRUE(Command(*form, "actNewArray")->Execute());
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_EQ(Part<TSearchTab>(*form, "TabSheet3")->lbResults->count(), 1);
}

}  // namespace
