// The strong solving as a user meets it, through the real main window:
// 23 random points solved exactly, and 1 000 points by the local search
// (2 s) followed by "Oszacuj jakość drogi"; then what drawing the best route
// during the search costs ("Pokazuj drogę podczas szukania" on against off,
// in turns): the same route, and the time within 5 %. Prints figures,
// targets, ratios.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRadioButton>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/random_source.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/live_route.h"
#include "ui/main_form.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/result_list.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/window_parts.h"

namespace {

void ShowRandomSet(TMainForm& form, int count, uint32_t seed)
{
    std::mt19937 random(seed);
    TPointArray points(static_cast<size_t>(count));
    for (TMapPoint& point : points)
        point = {static_cast<int32_t>(random() % 1000), static_cast<int32_t>(random() % 800), -1};
    form.Document().ReplacePoints(points);
}

double RunSeconds(TCommand* command)
{
    QElapsedTimer timer;
    timer.start();
    command->Execute();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the search set up on the tab with the live route off and on in
// turns; prints the medians, whether every run found the same route, and
// how often the map drew.
void CompareLiveRoute(TMainForm& form, const char* name, int turns)
{
    std::vector<double> times[2];
    int64_t steps[2] = {0, 0};
    int64_t drawings = 0;
    std::set<TSpecimen> routes[2];
    for (int turn = 0; turn < 2 * turns; ++turn) {
        const bool live = turn % 2 == 1;
        Command(form, "actLiveRoute")->setChecked(live);
        times[live].push_back(RunSeconds(Command(form, "actGenerate")));
        steps[live] += form.Document().LastRun().Outcome.Steps;
        if (live)
            drawings += form.Map().LiveRoute().Drawings();
        routes[live].insert(form.State().FBestRoute);
    }
    const double off = Median(times[0]);
    const double on = Median(times[1]);
    const bool same = routes[0].size() == 1 && routes[0] == routes[1];
    std::printf(
        "%s: live route off %.3f s, on %.3f s (median of %d; ratio %.3f, target 1.05), %lld drawings a run; "
        "%s (routes: %zu off, %zu on); steps on/off %.4f\n",
        name, off, on, turns, on / off, static_cast<long long>(drawings / turns),
        same ? "the same route every run" : "routes differ", routes[0].size(), routes[1].size(),
        static_cast<double>(steps[1]) / static_cast<double>(std::max<int64_t>(steps[0], 1)));
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
    form.MapForm()->show();
    QApplication::processEvents();
    TSearchTab* tab = Part<TSearchTab>(form, "TabSheet3");

    ShowRandomSet(form, 23, 2323);
    Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(smExact);
    const double exact = RunSeconds(Command(form, "actGenerate"));
    std::printf("exact method, 23 points, in the window: %.2f s (target 5 s, ratio %.2f)\n", exact, exact / 5.0);

    ShowRandomSet(form, 1000, 1000);
    Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(smLocal);
    Part<QRadioButton>(*tab, "rbLocalTime")->setChecked(true);
    Part<TSpinEdit>(*tab, "seLocalTime")->SetText(QStringLiteral("2"));
    const double local = RunSeconds(Command(form, "actGenerate"));
    const double estimate = RunSeconds(Command(form, "actEstimateRoute"));
    const QListWidget* results = Part<TResultList>(*tab, "lbResults");
    const QString gapLine = results->count() > 1 ? results->item(1)->text() : QString();
    const qsizetype from = gapLine.indexOf(QStringLiteral("najwyżej ")) + 9;
    const double gap = gapLine.mid(from, gapLine.indexOf(u'%') - from).replace(u',', u'.').toDouble();
    std::printf("local search, 1000 points, 2 s limit: %.2f s; estimate: %.2f s (target 1 s, ratio %.2f)\n", local,
                estimate, estimate / 1.0);
    std::printf("gap shown: %.1f %% (target 4 %%, ratio %.2f)   [%s]\n", gap, gap / 4.0, qPrintable(gapLine));

    // The random choices of the local search repeat from one clock reading.
    SetReseedClock([] { return 4242u; });
    ShowRandomSet(form, 12, 1212);
    Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(smExhaustive);
    CompareLiveRoute(form, "exhaustive search, 12 points", 5);
    // The exhaustive search rules out most routes of a random set within
    // milliseconds; searches of seconds show the drawing's share better.
    ShowRandomSet(form, 100, 100);
    Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(smGenetic);
    CompareLiveRoute(form, "genetic search, 100 points, 2000 generations", 3);
    ShowRandomSet(form, 200, 200);
    Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(smRandom);
    Part<TSpinEdit>(*tab, "seRandomCount")->SetText(QStringLiteral("32000"));
    CompareLiveRoute(form, "random search, 200 points, 32000 tries", 3);
    ShowRandomSet(form, 1000, 1000);
    Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(smLocal);
    Part<QRadioButton>(*tab, "rbLocalTries")->setChecked(true);
    Part<TSpinEdit>(*tab, "seLocalTries")->SetText(QStringLiteral("4000"));
    CompareLiveRoute(form, "local search, 1000 points, 4000 tries", 3);
    // Under a time limit the number of tries, and so the route, changes from
    // run to run with the machine's load, with or without the map.
    Part<QRadioButton>(*tab, "rbLocalTime")->setChecked(true);
    CompareLiveRoute(form, "local search, 1000 points, 2 s limit", 3);
    return 0;
}
