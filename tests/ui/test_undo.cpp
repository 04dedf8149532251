#include <gtest/gtest.h>

#include <QComboBox>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QUndoStack>

#include <algorithm>
#include <random>

#include "raster/map_fit.h"
#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/undo_commands.h"
#include "window_fixture.h"

namespace {

// (10, 20), (17, 23), (24, 26)...
QByteArray PointLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray::number(10 + 7 * i) + "; " + QByteArray::number(20 + 3 * i) + "\r\n";
    return text;
}

class UndoTest : public ::testing::Test {
protected:
    void OpenWith(int count) { OpenWith(PointLines(count)); }
    void OpenWith(const QByteArray& lines)
    {
        Path = Folder.filePath(QStringLiteral("set.tvu"));
        WriteTextFile(Path, lines);
        Form = MakeWindows({Path});
        Form->show();
        Form->actShowWay->Execute();
        Form->ApplicationIdle();
    }

    void Select(std::initializer_list<int> rows)
    {
        QItemSelectionModel* selection = Form->ListBox1->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(Form->ListBox1->model()->index(row, 0), QItemSelectionModel::Select);
    }

    // The set, its matrix (every cell MapHypot of its two points) and the
    // list, against what the step should have left.
    void ExpectShows(const TPointArray& expected, const std::string& step)
    {
        const TPointSetState& state = Form->State();
        ASSERT_EQ(state.FPoints.size(), expected.size()) << step;
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(state.FPoints[i].X, expected[i].X) << step << ", point " << i;
            EXPECT_EQ(state.FPoints[i].Y, expected[i].Y) << step << ", point " << i;
            EXPECT_EQ(state.FPoints[i].Next, expected[i].Next) << step << ", point " << i;
        }
        ASSERT_EQ(state.FDistances.size(), expected.size()) << step;
        for (size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(state.FDistances[i].size(), expected.size()) << step;
            for (size_t j = 0; j < expected.size(); ++j)
                EXPECT_EQ(state.FDistances[i][j],
                          MapHypot(int64_t{expected[i].X} - expected[j].X, int64_t{expected[i].Y} - expected[j].Y))
                    << step << ", cell " << i << ", " << j;
        }
        EXPECT_EQ(Form->ListBox1->ItemCount(), static_cast<int>(expected.size())) << step;
    }

    QString Title()
    {
        Form->ApplicationIdle();
        return Form->windowTitle();
    }

    TImage32& View() const { return *Form->MapForm->Image321; }

    QTemporaryDir Folder;
    QString Path;
    TScriptedDialogs ScriptedDialogs;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(UndoTest, EditingSequenceUndoesBackToTheLoadedSet)
{
    OpenWith(5);
    const QString loadedTitle = Title();
    std::vector<TPointArray> states{{{10, 20, -1}, {17, 23, -1}, {24, 26, -1}, {31, 29, -1}, {38, 32, -1}}};
    auto expectStep = [&](TPointArray next, const std::string& step) {
        states.push_back(std::move(next));
        ExpectShows(states.back(), step);
    };

    for (auto [row, typed] : {std::pair{3, "2"}, {2, "4"}, {4, "3"}}) {
        Select({row});
        ScriptedDialogs.Inputs.push_back(QString::fromLatin1(typed));
        ASSERT_TRUE(Form->actSetNext->Execute());
        TPointArray linked = states.back();
        linked[static_cast<size_t>(row)].Next = std::atoi(typed);
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
    const TPointArray threeClicks = states.back();
    ASSERT_TRUE(Form->actUndo->Execute());
    ASSERT_TRUE(Form->actUndo->Execute());
    states.resize(states.size() - 2);
    ExpectShows(states.back(), "two clicks undone");
    ASSERT_TRUE(Form->actRedo->Execute());
    expectStep({threeClicks.begin(), threeClicks.end() - 1}, "one click redone");

    // Point 2 goes with the link of point 3 to it; point 4's link to 3
    // follows it down.
    Select({2, 5});
    ASSERT_TRUE(Form->actDeletePoints->Execute());
    expectStep({{10, 20, -1}, {17, 23, -1}, {31, 29, -1}, {38, 32, 2}, {120, 60, -1}}, "delete");

    Select({1});
    ScriptedDialogs.Inputs.push_back(QStringLiteral("200; 150"));
    ASSERT_TRUE(Form->actEditPoint->Execute());
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Caption, QStringLiteral("Zmień współrzędne punktu"));
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Text, QStringLiteral("Podaj współrzędne punktu 1 (X; Y):|17; 23"));
    TPointArray edited = states.back();
    edited[1] = {200, 150, -1};
    expectStep(edited, "dialog");

    // Grabbed inside its square, point 0 lands where the square is let go.
    Form->actDragPoints->setChecked(true);
    QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(12, 21));
    QTest::mouseMove(&View(), QPoint(40, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(62, 81), View().mapToGlobal(QPointF(62, 81)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&View(), &move);
    ExpectShows(states.back(), "while dragging");
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(62, 81));
    TPointArray dragged = states.back();
    dragged[0] = {60, 80, -1};
    expectStep(dragged, "drag");

    while (states.size() > 1) {
        ASSERT_TRUE(Form->actUndo->Execute()) << states.size();
        states.pop_back();
        ExpectShows(states.back(), "undo to step " + std::to_string(states.size() - 1));
    }
    EXPECT_FALSE(Form->actUndo->Execute());
    EXPECT_EQ(Title(), loadedTitle);
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(ScriptedDialogs.Count(QStringLiteral("question")), 0);
}

TEST_F(UndoTest, CaptionsNameTheStepTheyTake)
{
    OpenWith(4);
    Form->SearchTab->cbMethod->setCurrentIndex(0);
    const struct {
        const char* Step;
        std::function<void()> Make;
    } rows[] = {
        {"dodanie punktu", [&] { Form->AddPoint(5, 5); }},
        {"losowanie punktów",
         [&] {
             ScriptedDialogs.Inputs.push_back(QStringLiteral("6"));
             Form->actRandomArray->Execute();
         }},
        {"wyzerowanie drogi", [&] { Form->actZeroArray->Execute(); }},
        {"ustawienie punktu docelowego",
         [&] {
             Select({0});
             ScriptedDialogs.Inputs.push_back(QStringLiteral("1"));
             Form->actSetNext->Execute();
         }},
        {"usunięcie punktu",
         [&] {
             Select({1});
             Form->actDeletePoints->Execute();
         }},
        {"usunięcie punktów",
         [&] {
             Select({0, 2});
             Form->actDeletePoints->Execute();
         }},
        {"zmiana współrzędnych punktu",
         [&] {
             Select({0});
             ScriptedDialogs.Inputs.push_back(QStringLiteral("1; 2"));
             Form->actEditPoint->Execute();
         }},
        {"szukanie drogi", [&] { Form->actGenerate->Execute(); }},
    };
    EXPECT_EQ(Form->actUndo->text(), QStringLiteral("&Cofnij"));
    EXPECT_EQ(Form->actRedo->text(), QStringLiteral("&Ponów"));
    for (const auto& row : rows) {
        const int before = Form->History().count();
        row.Make();
        ASSERT_EQ(Form->History().count(), before + 1) << row.Step;
        EXPECT_EQ(Form->actUndo->text(), QStringLiteral("&Cofnij: ") + QString::fromUtf8(row.Step));
        EXPECT_EQ(Form->actUndo->toolTip(), QStringLiteral("Cofnij: ") + QString::fromUtf8(row.Step));
        ASSERT_TRUE(Form->actUndo->Execute());
        EXPECT_EQ(Form->actRedo->text(), QStringLiteral("&Ponów: ") + QString::fromUtf8(row.Step));
        ASSERT_TRUE(Form->actRedo->Execute());
    }
    EXPECT_EQ(Form->actUndo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_EQ(Form->actRedo->shortcuts(), QKeySequence::listFromString(QStringLiteral("Ctrl+Shift+Z; Ctrl+Y")));
    EXPECT_EQ(Form->actDeletePoints->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_FALSE(Form->actUndo->icon().pixmap(16, 16).isNull());
    EXPECT_FALSE(Form->actRedo->icon().pixmap(16, 16).isNull());
}

TEST_F(UndoTest, SearchIsOneStepBackToTheLinksBeforeIt)
{
    OpenWith(6);
    Select({5});
    ScriptedDialogs.Inputs.push_back(QStringLiteral("0"));
    Form->actSetNext->Execute();
    const TPointArray linked = Form->State().FPoints;
    Form->SearchTab->cbMethod->setCurrentIndex(0);
    ASSERT_TRUE(Form->actGenerate->Execute());
    const TPointArray searched = Form->State().FPoints;
    EXPECT_TRUE(Form->State().FModified);
    ASSERT_TRUE(Form->actUndo->Execute());
    ExpectShows(linked, "search undone");
    EXPECT_FALSE(Form->State().FModified);
    EXPECT_EQ(Form->SearchTab->lbResults->count(), 2);
    ASSERT_TRUE(Form->actRedo->Execute());
    ExpectShows(searched, "search redone");
}

TEST_F(UndoTest, ModifiedFollowsTheHistoryFromTheLastLoadOrSave)
{
    OpenWith(3);
    Select({0});
    ScriptedDialogs.Inputs.push_back(QStringLiteral("2"));
    Form->actSetNext->Execute();
    EXPECT_FALSE(Form->State().FModified);
    Form->AddPoint(1, 1);
    EXPECT_TRUE(Form->State().FModified);
    ScriptedDialogs.SaveNames.push_back(Folder.filePath(QStringLiteral("saved.tvu")));
    ASSERT_TRUE(Form->actSaveArray->Execute());
    EXPECT_FALSE(Form->State().FModified);
    Form->actUndo->Execute();
    EXPECT_TRUE(Form->State().FModified);
    Form->actRedo->Execute();
    EXPECT_FALSE(Form->State().FModified);

    ScriptedDialogs.OpenNames.push_back(Path);
    ASSERT_TRUE(Form->actOpenArray->Execute());
    EXPECT_FALSE(Form->actUndo->Execute());
    Form->AddPoint(1, 1);
    ScriptedDialogs.Answers.push_back(TDialogs::TAnswer::No);
    ASSERT_TRUE(Form->actNewArray->Execute());
    EXPECT_EQ(Form->History().count(), 0);
}

TEST_F(UndoTest, EditingWaitsForTheSearchAndForASelection)
{
    OpenWith(3);
    Form->AddPoint(1, 1);
    Select({0});
    Form->State().FSearching = true;
    for (TCommand* command : {Form->actUndo, Form->actDeletePoints, Form->actEditPoint})
        EXPECT_FALSE(command->Execute()) << command->objectName().toStdString();
    Form->State().FSearching = false;
    Select({0, 1});
    EXPECT_FALSE(Form->actEditPoint->Execute());
    Select({});
    EXPECT_FALSE(Form->actDeletePoints->Execute());
}

TEST_F(UndoTest, CoordinatesTypedReadAsAPointFileLine)
{
    const struct {
        const char* Typed;
        int32_t X;
        int32_t Y;
    } rows[] = {
        {"5; 6", 5, 6}, {"  7;8", 7, 8}, {"$10; x1F", 16, 31}, {"-4; -9", -4, -9}, {"12", 0, 12},
        {"5;", 5, 0},   {"5 ; 6", 0, 6}, {"abc", 0, 0},        {"", 0, 0},
    };
    OpenWith(2);
    for (const auto& row : rows) {
        Form->State().FPoints[1].X = 99;
        Select({1});
        ScriptedDialogs.Inputs.push_back(QString::fromLatin1(row.Typed));
        Form->actEditPoint->Execute();
        EXPECT_EQ(Form->State().FPoints[1].X, row.X) << row.Typed;
        EXPECT_EQ(Form->State().FPoints[1].Y, row.Y) << row.Typed;
    }
    const int steps = Form->History().count();
    Select({1});
    ScriptedDialogs.Inputs.push_back(std::nullopt);
    Form->actEditPoint->Execute();
    EXPECT_EQ(Form->History().count(), steps);
}

TEST_F(UndoTest, OnlyALeftPressOnASquareDragsWhenDraggingIsOn)
{
    OpenWith(QByteArrayLiteral("0; 0\r\n2000; 1000\r\n"));
    // Scaled down to the map: the square is where the fit draws it.
    Form->actFitMap->setChecked(true);
    Form->actFitMap->Execute();
    const TMapFit fit = FitMapToPoints(Form->State().FPoints, View().width(), View().height());
    const QPoint square(fit.MapX(2000), fit.MapY(1000));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, square + QPoint(1, 1));
    EXPECT_EQ(Form->State().FPoints.size(), 3u);
    Form->actUndo->Execute();
    Form->actDragPoints->setChecked(true);
    QTest::mouseClick(&View(), Qt::RightButton, {}, square + QPoint(1, 1));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(Form->State().FPoints.size(), 4u);
    Form->actUndo->Execute();
    Form->actUndo->Execute();

    QTest::mousePress(&View(), Qt::LeftButton, {}, square + QPoint(1, 1));
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, square + QPoint(-29, -19));
    ASSERT_EQ(Form->State().FPoints.size(), 2u);
    EXPECT_EQ(Form->State().FPoints[1].X, fit.PointX(square.x() - 30));
    EXPECT_EQ(Form->State().FPoints[1].Y, fit.PointY(square.y() - 20));
    EXPECT_LT(Form->State().FPoints[1].X, 1900);
    EXPECT_EQ(Form->actUndo->text(), QStringLiteral("&Cofnij: przesunięcie punktu"));
}

// Random edits, undos and redos: every undo and redo shows again exactly
// the set that was there at that point of the history.
TEST_F(UndoTest, RandomEditsComeBackExactly)
{
    OpenWith(4);
    std::mt19937 random(77);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(std::max(n, 1))); };
    std::vector<TPointArray> states{Form->State().FPoints};
    size_t at = 0;
    bool moved = false;
    QObject::connect(&Form->History(), &QUndoStack::indexChanged, [&moved] { moved = true; });
    for (int action = 0; action < 300; ++action) {
        const int n = static_cast<int>(Form->State().FPoints.size());
        moved = false;
        const std::string name = "action " + std::to_string(action);
        Form->actDragPoints->setChecked(below(2) == 0);
        switch (below(9)) {
        case 0:
            QTest::mouseClick(&View(), below(2) ? Qt::LeftButton : Qt::RightButton, {}, QPoint(below(400), below(300)));
            break;
        case 1:
            ScriptedDialogs.Inputs.push_back(QString::number(1 + below(9)));
            Form->actRandomArray->Execute();
            break;
        case 2:
            Select({below(n), below(n)});
            ScriptedDialogs.Inputs.push_back(QString::number(below(n)));
            Form->actSetNext->Execute();
            break;
        case 3:
            Select({below(n), below(n)});
            Form->actDeletePoints->Execute();
            break;
        case 4:
            Select({below(n)});
            ScriptedDialogs.Inputs.push_back(QStringLiteral("%1; %2").arg(below(400)).arg(below(300)));
            Form->actEditPoint->Execute();
            break;
        case 5:
            if (n > 0 && n <= 8)
                Form->actGenerate->Execute();
            else
                Form->actZeroArray->Execute();
            break;
        case 6:
            if (n > 0) {
                const TMapPoint point = Form->State().FPoints[static_cast<size_t>(below(n))];
                QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(point.X + 1, point.Y + 1));
                QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(below(400), below(300)));
            }
            break;
        case 7:
            if (Form->actUndo->Execute())
                ExpectShows(states[--at], name + ", undo");
            continue;
        default:
            if (Form->actRedo->Execute())
                ExpectShows(states[++at], name + ", redo");
            continue;
        }
        if (moved) {
            states.resize(++at);
            states.push_back(Form->State().FPoints);
            // The oldest step goes once the history is full.
            if (at > static_cast<size_t>(HistoryLimitSteps)) {
                states.erase(states.begin());
                --at;
            }
        }
        ASSERT_EQ(Form->History().index(), static_cast<int>(at)) << name;
        if (HasFatalFailure())
            return;
    }
}

// A press that arrives while a step rebuilds the matrix (which passes
// events on) waits for the step, so the history keeps the order of the set.
TEST_F(UndoTest, PressDuringAStepComesAfterIt)
{
    OpenWith(2);
    QCoreApplication::postEvent(
        &View(), new QMouseEvent(QEvent::MouseButtonPress, QPointF(70, 80), View().mapToGlobal(QPointF(70, 80)),
                                 Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    Form->AddPoint(60, 60);
    QTest::qWait(20);
    const TPointArray both{{10, 20, -1}, {17, 23, -1}, {60, 60, -1}, {70, 80, -1}};
    ExpectShows(both, "press after the step");
    for (TCommand* command : {Form->actUndo, Form->actUndo, Form->actRedo, Form->actRedo})
        ASSERT_TRUE(command->Execute());
    ExpectShows(both, "both redone");
}

}  // namespace
