#include <gtest/gtest.h>

#include <QComboBox>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <random>

#include "scripted_dialogs.h"
#include "ui/commands.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

// After every action: links name other existing points, the matrix belongs
// to the set, the list shows every point and the title tells the state.
void ExpectInvariants(TMainForm& form, int action)
{
    const int32_t n = static_cast<int32_t>(form.State().FPoints.size());
    for (int32_t i = 0; i < n; ++i) {
        const int32_t next = form.State().FPoints[i].Next;
        ASSERT_TRUE(next == -1 || (next >= 0 && next < n && next != i)) << "action " << action;
    }
    ASSERT_EQ(static_cast<int32_t>(Distances(form).size()), n) << "action " << action;
    for (int32_t i = 0; i < n; ++i) {
        ASSERT_EQ(static_cast<int32_t>(Distances(form)[i].size()), n) << "action " << action;
        for (int32_t j = 0; j < i; ++j)
            ASSERT_EQ(Distances(form)[i][j], Distances(form)[j][i]) << "action " << action;
    }
    ASSERT_EQ(Part<TPointList>(form, "ListBox1")->ItemCount(), n) << "action " << action;
    form.ApplicationIdle();
    QString title = QStringLiteral("Tovu");
    if (!form.State().FFileName.empty() && QFile::exists(QString::fromStdString(form.State().FFileName)))
        title += QStringLiteral(" - ") + QString::fromStdString(form.State().FFileName);
    if (form.State().FModified)
        title += QStringLiteral(" [zmieniony]");
    ASSERT_EQ(form.windowTitle(), title) << "action " << action;
}

}  // namespace

// A long run of seeded random user actions through the real windows.
TEST(Soak, RandomUserActionsKeepTheWindowConsistent)
{
    const int actions = std::getenv("TOVU_SOAK_ACTIONS") ? std::atoi(std::getenv("TOVU_SOAK_ACTIONS")) : 2000;
    QTemporaryDir folder;
    TScriptedDialogs dialogs;
    auto form = MakeWindows();
    form->show();
    Command(*form, "actShowWay")->Execute();
    form->ApplicationIdle();
    std::mt19937 random(20261208);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const QString files[] = {folder.filePath(QStringLiteral("a.tvu")), folder.filePath(QStringLiteral("b.tvu"))};

    for (int action = 0; action < actions; ++action) {
        dialogs.Answers.clear();
        dialogs.Answers.push_back(below(2) ? TDialogs::TAnswer::No : TDialogs::TAnswer::Cancel);
        const int n = static_cast<int>(form->State().FPoints.size());
        switch (below(10)) {
        case 0:
        case 1:
            form->MapForm()->Image321MouseDown(Qt::LeftButton, Qt::NoModifier, below(520) - 10, below(400) - 10);
            break;
        case 2:
            dialogs.Inputs.push_back(QString::number(below(51)));
            Command(*form, "actRandomArray")->Execute();
            break;
        case 3:
            dialogs.SaveNames.push_back(files[below(2)]);
            Command(*form, "actSaveArray")->Execute();
            break;
        case 4:
            dialogs.OpenNames.push_back(files[below(2)]);
            Command(*form, "actOpenArray")->Execute();
            break;
        case 5:
            if (n > 0) {
                QItemSelectionModel* selection = Part<TPointList>(*form, "ListBox1")->selectionModel();
                selection->clearSelection();
                selection->select(Part<TPointList>(*form, "ListBox1")->model()->index(below(n), 0),
                                  QItemSelectionModel::Select);
                dialogs.Inputs.push_back(QString::number(below(n + 3) - 2));
                Command(*form, "actSetNext")->Execute();
            }
            break;
        case 6:
            form->MapForm()->resize(200 + below(400), 150 + below(300));
            break;
        case 7:
            Command(*form, "actZeroArray")->Execute();
            break;
        default: {
            const int method = below(3);
            if (method == 0 && n > 8)
                break;
            Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(method);
            Part<TSpinEdit>(*form, "seRandomCount")->SetText(QString::number(1 + below(20000)));
            Part<TSpinEdit>(*form, "seGenCount")->SetText(QStringLiteral("32000"));
            Part<TSpinEdit>(*form, "sePopulation")->SetText(QString::number(10 + below(50)));
            const bool clickDuringRun = below(2) == 0;
            QTimer::singleShot(below(4), form.get(), [&, clickDuringRun] {
                if (clickDuringRun)
                    form->MapForm()->Image321MouseDown(Qt::RightButton, Qt::NoModifier, below(300), below(300));
                Command(*form, "actStop")->Execute();
            });
            Command(*form, "actGenerate")->Execute();
            QCoreApplication::processEvents();
            break;
        }
        }
        ExpectInvariants(*form, action);
        if (HasFatalFailure())
            return;
    }
    dialogs.Answers.assign(4, TDialogs::TAnswer::No);
}
