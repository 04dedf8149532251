#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/map_controller.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

class SearchCommandsTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> OpenWith(const QByteArray& content)
    {
        const QString path = Folder.filePath(QStringLiteral("set.tvu"));
        WriteTextFile(path, content);
        auto form = MakeWindows({path});
        form->show();
        form->ApplicationIdle();
        return form;
    }

    static bool IsPermutation(TSpecimen route, size_t n)
    {
        if (route.size() != n)
            return false;
        std::sort(route.begin(), route.end());
        for (size_t i = 0; i < n; ++i)
            if (route[i] != static_cast<int32_t>(i))
                return false;
        return true;
    }

    QTemporaryDir Folder;
    TScriptedDialogs ScriptedDialogs;
};

TEST_F(SearchCommandsTest, TwoPointsReportTimeAndLengthAndLinkTheRoute)
{
    auto form = OpenWith("0; 0\r\n3; 4\r\n");
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(0);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    const QStringList lines = ResultLines(*form);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Czas przeszukiwania: 00:00:00"));
    EXPECT_EQ(lines[1], QStringLiteral("Długość najkrótszej drogi: 5,00"));
    // Of the two equally long routes, [1, 0] comes first in counting order.
    EXPECT_EQ(form->State().FPoints[1].Next, 0);
    EXPECT_EQ(form->State().FPoints[0].Next, -1);
    EXPECT_FALSE(form->Runner().Searching());
    EXPECT_TRUE(form->State().FModified);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->PrBar().Position(), 0);
}

TEST_F(SearchCommandsTest, MeasuredRouteEqualsTheReportedLength)
{
    auto form = OpenWith("40; 52\r\n118; 31\r\n205; 77\r\n312; 40\r\n431; 96\r\n398; 210\r\n");
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(0);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    const QString reported = ResultLines(*form).value(1).section(QStringLiteral(": "), 1);
    ASSERT_TRUE(Command(*form, "actCountWay")->Execute());
    ASSERT_EQ(Results(*form).count(), 1);
    EXPECT_EQ(Results(*form).item(0)->text(), QStringLiteral("Długość drogi: ") + reported);
}

TEST_F(SearchCommandsTest, RefusedRunChangesNothing)
{
    struct {
        int method;
        QByteArray points;
        QString text;
    } rows[] = {
        {1, "1; 1\r\n5; 5\r\n", QStringLiteral("Za mało punktów dla wybranej metody (potrzeba co najmniej 3).")},
        {2, "1; 1\r\n5; 5\r\n9; 1\r\n",
         QStringLiteral("Za mało punktów dla wybranej metody (potrzeba co najmniej 4).")},
        {0, QByteArray().fill('\n', 21), QStringLiteral("Przeszukiwanie wyczerpujące obsługuje najwyżej 20 punktów.")},
        {0, "", QStringLiteral("Za mało punktów dla wybranej metody (potrzeba co najmniej 1).")},
    };
    for (const auto& row : rows) {
        ScriptedDialogs.Boxes.clear();
        auto form = OpenWith(row.points);
        if (!form->State().FPoints.empty())
            WritableState(*form).FPoints[0].Next = static_cast<int32_t>(form->State().FPoints.size()) - 1;
        Results(*form).addItem(QStringLiteral("earlier line"));
        Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(row.method);
        Command(*form, "actGenerate")->Execute();
        ASSERT_EQ(ScriptedDialogs.Boxes.size(), 1u) << row.text.toStdString();
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Kind, QStringLiteral("information"));
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Caption, QStringLiteral("Szukaj drogi"));
        EXPECT_EQ(ScriptedDialogs.Boxes[0].Text, row.text);
        EXPECT_FALSE(form->State().FModified);
        EXPECT_EQ(ResultLines(*form), QStringList{QStringLiteral("earlier line")});
        if (!form->State().FPoints.empty()) {
            EXPECT_EQ(form->State().FPoints[0].Next, static_cast<int32_t>(form->State().FPoints.size()) - 1);
        }
    }
}

TEST_F(SearchCommandsTest, NoTriesReportOnlyTheTimeAndLeaveLinksCleared)
{
    auto form = OpenWith("0; 0\r\n3; 4\r\n6; 8\r\n");
    WritableState(*form).FPoints[0].Next = 1;
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(1);
    Part<TSpinEdit>(*form, "seRandomCount")->SetText(QStringLiteral("0"));
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    const QStringList lines = ResultLines(*form);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Czas przeszukiwania: ")));
    for (const TMapPoint& point : form->State().FPoints)
        EXPECT_EQ(point.Next, -1);
}

TEST_F(SearchCommandsTest, StopEndsTheRunWithAWholeRouteAndIdleWindow)
{
    auto form = OpenWith("10; 10\r\n80; 30\r\n150; 90\r\n40; 200\r\n300; 120\r\n220; 260\r\n");
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
    Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("32000"));
    Part<TSpinEdit>(*form, "sePopulation")->SetText(QStringLiteral("1000"));

    bool newSetRan = true;
    bool generateRan = true;
    bool stopEnabledDuringRun = false;
    bool parametersDisabledDuringRun = false;
    QTimer::singleShot(150, form.get(), [&] {
        newSetRan = Command(*form, "actNewArray")->Execute();
        generateRan = Command(*form, "actGenerate")->Execute();
        stopEnabledDuringRun = Command(*form, "actStop")->isEnabled();
        parametersDisabledDuringRun =
            !Part<QGroupBox>(*form, "gbGenParams")->isEnabled() && !Part<QGroupBox>(*form, "gbGenResults")->isEnabled();
        Command(*form, "actStop")->Execute();
    });
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());

    EXPECT_FALSE(newSetRan);
    EXPECT_FALSE(generateRan);
    EXPECT_TRUE(stopEnabledDuringRun);
    EXPECT_TRUE(parametersDisabledDuringRun);
    EXPECT_EQ(form->State().FPoints.size(), 6u);
    EXPECT_EQ(ResultLines(*form).size(), 2);
    EXPECT_TRUE(IsPermutation(form->State().FBestRoute, 6));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->PrBar().Position(), 0);
    int withoutSuccessor = 0;
    for (size_t i = 0; i < form->State().FPoints.size(); ++i) {
        const int32_t next = form->State().FPoints[i].Next;
        withoutSuccessor += next == -1 ? 1 : 0;
        EXPECT_NE(next, static_cast<int32_t>(i));
        EXPECT_LT(next, 6);
    }
    EXPECT_EQ(withoutSuccessor, 1);
    form->ApplicationIdle();
    EXPECT_FALSE(Command(*form, "actStop")->isEnabled());
    EXPECT_TRUE(Part<QGroupBox>(*form, "gbGenParams")->isEnabled());
}

// A point added on the map while a search runs is a step of its own; the
// search goes on with its own copy of the points, and the new point keeps
// no link, also once the search's step is taken back.
TEST_F(SearchCommandsTest, APointAddedDuringARunTakesNoPart)
{
    auto form = OpenWith("10; 10\r\n80; 30\r\n150; 90\r\n40; 200\r\n300; 120\r\n220; 260\r\n");
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
    Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("32000"));
    Part<TSpinEdit>(*form, "sePopulation")->SetText(QStringLiteral("1000"));
    QTimer::singleShot(100, form.get(), [&] {
        form->Map().AddPoint(400, 400);
        Command(*form, "actStop")->Execute();
    });
    const int steps = form->Document().History().count();
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    ASSERT_EQ(form->State().FPoints.size(), 7u);
    EXPECT_EQ(form->Document().History().count(), steps + 2);
    EXPECT_TRUE(IsPermutation(form->State().FBestRoute, 6));
    EXPECT_EQ(form->State().FPoints[6].Next, -1);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_NE(form->State().FPoints[i].Next, 6) << i;
    ASSERT_TRUE(Command(*form, "actUndo")->Execute());
    EXPECT_EQ(form->State().FPoints.size(), 7u);
    EXPECT_EQ(form->State().FPoints[6].Next, -1);
}

TEST_F(SearchCommandsTest, RatesAreReadInTheUserFormatAndWrittenBack)
{
    struct {
        QString typed;
        QString shown;
    } rows[] = {
        {QStringLiteral("0,3"), QStringLiteral("0,3")},
        {QStringLiteral(" 0,25 "), QStringLiteral("0,25")},
        {QStringLiteral("0.3"), QStringLiteral("0,5")},
        {QStringLiteral("abc"), QStringLiteral("0,5")},
        {QString(), QStringLiteral("0,5")},
    };
    auto form = OpenWith("10; 10\r\n80; 30\r\n150; 90\r\n40; 200\r\n");
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
    Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("100"));
    for (const auto& row : rows) {
        Part<QLineEdit>(*form, "edtCrossover")->setText(row.typed);
        Part<QLineEdit>(*form, "edtMutation")->setText(row.typed);
        ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
        EXPECT_EQ(Part<QLineEdit>(*form, "edtCrossover")->text(), row.shown) << row.typed.toStdString();
        const QString mutationShown = row.shown == QStringLiteral("0,5") ? QStringLiteral("0,05") : row.shown;
        EXPECT_EQ(Part<QLineEdit>(*form, "edtMutation")->text(), mutationShown) << row.typed.toStdString();
    }
}

TEST_F(SearchCommandsTest, ClosingDuringARunStopsItFirstAndClosesAfterwards)
{
    auto form = OpenWith("10; 10\r\n80; 30\r\n150; 90\r\n40; 200\r\n300; 120\r\n");
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
    Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("32000"));
    Part<TSpinEdit>(*form, "sePopulation")->SetText(QStringLiteral("1000"));
    ScriptedDialogs.Answers.push_back(TDialogs::TAnswer::No);
    bool searchingAfterClose = true;
    bool visibleWhileTheSearchUnwinds = false;
    QTimer::singleShot(150, form.get(), [&] {
        form->close();
        searchingAfterClose = form->Runner().Searching();
        visibleWhileTheSearchUnwinds = form->isVisible();
    });
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    EXPECT_FALSE(searchingAfterClose);
    EXPECT_TRUE(visibleWhileTheSearchUnwinds);
    EXPECT_EQ(ScriptedDialogs.Count(QStringLiteral("question")), 1);
    EXPECT_EQ(ResultLines(*form).size(), 2);
    QApplication::processEvents();
    EXPECT_FALSE(form->isVisible());
}

// The question keeps the search waiting; each answer does what it says:
// Anuluj goes on, Nie stops and closes, Tak stops, saves the result and
// closes after the save.
TEST_F(SearchCommandsTest, ClosingDuringARunDoesWhatTheAnswerSays)
{
    const struct {
        const char* name;
        TDialogs::TAnswer answer;
        bool searchingAfterQuestion;
        bool closes;
    } rows[] = {
        {"Anuluj", TDialogs::TAnswer::Cancel, true, false},
        {"Nie", TDialogs::TAnswer::No, false, true},
        {"Tak", TDialogs::TAnswer::Yes, false, true},
    };
    for (const auto& row : rows) {
        auto form = OpenWith("10; 10\r\n80; 30\r\n150; 90\r\n40; 200\r\n300; 120\r\n");
        Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
        Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("32000"));
        Part<TSpinEdit>(*form, "sePopulation")->SetText(QStringLiteral("1000"));
        // The second answer keeps the route in a tour file beside the set.
        ScriptedDialogs.Answers = {row.answer, TDialogs::TAnswer::Yes};
        const QString saved = Folder.filePath(QStringLiteral("saved.tvu"));
        ScriptedDialogs.SaveNames.push_back(saved);
        bool searchingAfterQuestion = false;
        QTimer::singleShot(150, form.get(), [&] {
            form->close();
            searchingAfterQuestion = form->Runner().Searching();
            // Anuluj left it running: stop it by hand.
            Command(*form, "actStop")->Execute();
        });
        ASSERT_TRUE(Command(*form, "actGenerate")->Execute()) << row.name;
        EXPECT_EQ(searchingAfterQuestion, row.searchingAfterQuestion) << row.name;
        EXPECT_EQ(ResultLines(*form).size(), 2) << row.name;
        QApplication::processEvents();
        EXPECT_EQ(form->isVisible(), !row.closes) << row.name;
        if (row.answer == TDialogs::TAnswer::Yes) {
            // The file holds the points; the links of the result are on them.
            EXPECT_EQ(ReadTextFile(saved).count('\n'), 5) << row.name;
            EXPECT_TRUE(ReadTextFile(Folder.filePath(QStringLiteral("saved.tour"))).contains("TOUR_SECTION"));
            EXPECT_FALSE(form->State().FModified) << row.name;
            EXPECT_NE(std::count_if(form->State().FPoints.begin(), form->State().FPoints.end(),
                                    [](const TMapPoint& point) { return point.Next >= 0; }),
                      0);
        }
        ScriptedDialogs.SaveNames.clear();
        ScriptedDialogs.Answers.clear();
    }
}

// The stop rule of the genetic search is the user's choice: a search that
// ends leaves it as it was and gives the focus back to "Szukaj drogi".
TEST_F(SearchCommandsTest, SearchEndKeepsTheStopRuleAndFocusesTheSearchButton)
{
    auto form = OpenWith("10; 10\r\n80; 30\r\n150; 90\r\n40; 200\r\n300; 120\r\n");
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(2);
    Part<QTabWidget>(*form, "PageControl1")->setCurrentWidget(Part<TSearchTab>(*form, "TabSheet3"));
    Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("100"));
    Part<QPushButton>(*form, "Button1")->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(Part<QPushButton>(*form, "Button1")->hasFocus());
    Part<QPushButton>(*form, "Button1")->click();
    EXPECT_TRUE(Part<QRadioButton>(*form, "rbGenCount")->isChecked());
    EXPECT_FALSE(Part<QRadioButton>(*form, "rbGenTreshold")->isChecked());
    form->ApplicationIdle();
    EXPECT_TRUE(Part<QPushButton>(*form, "Button1")->hasFocus());
}

// The exact method takes no more than megabytes at any size it accepts, so
// a run of 25 points (once a table of 3.4 GB) asks nothing and proves its
// route the shortest.
TEST_F(SearchCommandsTest, ExactMethodRunsTwentyFivePointsWithoutAsking)
{
    QByteArray content;
    for (int i = 0; i < 25; ++i)
        content += QByteArray::number(i * 17 % 97) + "; " + QByteArray::number(i * 29 % 89) + "\r\n";
    auto form = OpenWith(content);
    Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(smExact);
    ASSERT_TRUE(Command(*form, "actGenerate")->Execute());
    EXPECT_EQ(ScriptedDialogs.Count(QStringLiteral("question")), 0);
    ASSERT_EQ(ResultLines(*form).size(), 2);
    EXPECT_TRUE(ResultLines(*form)[1].startsWith(QStringLiteral("Długość najkrótszej drogi: ")));
}

}  // namespace
