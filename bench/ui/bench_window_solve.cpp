// The strong solving as a user meets it, through the real main window:
// 23 random points solved exactly, and 1 000 points by the local search
// (2 s) followed by "Oszacuj jakość drogi". Prints figures, targets, ratios.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRadioButton>

#include <cstdio>
#include <random>
#include <string>

#include "ui/commands.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/search_tab.h"
#include "ui/set_views.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"

namespace {

void ShowRandomSet(TMainForm& form, int count, uint32_t seed)
{
    std::mt19937 random(seed);
    TPointArray points(static_cast<size_t>(count));
    for (TMapPoint& point : points)
        point = {static_cast<int32_t>(random() % 1000), static_cast<int32_t>(random() % 800), -1};
    form.State().FPoints = points;
    form.Views().Rebuild(TSetViews::TRebuild::Everything);
}

double RunSeconds(TCommand* command)
{
    QElapsedTimer timer;
    timer.start();
    command->Execute();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TMainForm form({QStringLiteral("tovu")});
    form.AttachMapForm(new TMapForm(form));
    form.show();
    QApplication::processEvents();

    ShowRandomSet(form, 23, 2323);
    Part<TSearchTab>(form, "TabSheet3")->cbMethod->setCurrentIndex(smExact);
    const double exact = RunSeconds(Command(form, "actGenerate"));
    std::printf("exact method, 23 points, in the window: %.2f s (target 5 s, ratio %.2f)\n", exact, exact / 5.0);

    ShowRandomSet(form, 1000, 1000);
    Part<TSearchTab>(form, "TabSheet3")->cbMethod->setCurrentIndex(smLocal);
    Part<TSearchTab>(form, "TabSheet3")->rbLocalTime->setChecked(true);
    Part<TSearchTab>(form, "TabSheet3")->seLocalTime->SetText(QStringLiteral("2"));
    const double local = RunSeconds(Command(form, "actGenerate"));
    const double estimate = RunSeconds(Command(form, "actEstimateRoute"));
    const QListWidget* results = Part<TSearchTab>(form, "TabSheet3")->lbResults;
    const QString gapLine = results->count() > 1 ? results->item(1)->text() : QString();
    const qsizetype from = gapLine.indexOf(QStringLiteral("najwyżej ")) + 9;
    const double gap = gapLine.mid(from, gapLine.indexOf(u'%') - from).replace(u',', u'.').toDouble();
    std::printf("local search, 1000 points, 2 s limit: %.2f s; estimate: %.2f s (target 1 s, ratio %.2f)\n", local,
                estimate, estimate / 1.0);
    std::printf("gap shown: %.1f %% (target 4 %%, ratio %.2f)   [%s]\n", gap, gap / 4.0, qPrintable(gapLine));
    return 0;
}
