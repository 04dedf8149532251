// Takes steps back and forth in the editing history of a 10 000-point set
// through the real windows: a map click undone and redone (the matrix only
// shrinks and grows by one point) and a moved point undone (the whole
// matrix again). Prints each time against its target.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/point_file.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/file_commands.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/window_parts.h"

namespace {

// The median of runs of an action, in seconds.
double MedianSeconds(int runs, const std::function<void()>& action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        action();
        QApplication::processEvents();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* what, double seconds, double targetSeconds)
{
    std::printf("%s: %.3f s (target %.0f s, ratio %.3f)\n", what, seconds, targetSeconds, seconds / targetSeconds);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::stoi(argv[1]) : 10000;

    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("big.tvu")).toStdString();
    std::mt19937 random(12345);
    // One point short, so the click makes the set full.
    TPointArray points(static_cast<size_t>(count - 1));
    for (TMapPoint& point : points) {
        point.X = static_cast<int32_t>(random() % 495);
        point.Y = static_cast<int32_t>(random() % 382);
    }
    if (!WriteFileReplacing(path, FormatPointSet(points)).Ok())
        return 1;

    TMainForm form({QStringLiteral("tovu")});
    form.AttachMapForm(new TMapForm(form));
    form.show();
    Command(form, "actShowWay")->Execute();
    form.Files().OpenPointSet(path);
    QApplication::processEvents();

    const double click = MedianSeconds(5, [&] {
        form.MapForm()->Image321MouseDown(Qt::LeftButton, Qt::NoModifier, 100, 100);
        Command(form, "actUndo")->Execute();
    });
    form.MapForm()->Image321MouseDown(Qt::LeftButton, Qt::NoModifier, 100, 100);
    const double undo = MedianSeconds(5, [&] {
        Command(form, "actUndo")->Execute();
        Command(form, "actRedo")->Execute();
    });
    // The pair above is an undo and a redo; time the undo alone too.
    const double undoAlone = MedianSeconds(1, [&] { Command(form, "actUndo")->Execute(); });
    Command(form, "actRedo")->Execute();

    Command(form, "actDragPoints")->setChecked(true);
    const TMapPoint first = form.State().FPoints[0];
    form.MapForm()->Image321MouseDown(Qt::LeftButton, Qt::NoModifier, first.X + 1, first.Y + 1);
    form.MapForm()->Image321MouseUp(Qt::LeftButton, first.X + 41, first.Y + 31);
    const double undoMove = MedianSeconds(1, [&] { Command(form, "actUndo")->Execute(); });

    std::printf("points: %zu, steps: %d\n", form.State().FPoints.size(), form.Document().History().count());
    Report("map click and its undo at 10 000 points", click, 1.0);
    Report("undo and redo of a map click at 10 000 points", undo, 1.0);
    Report("undo of a map click at 10 000 points", undoAlone, 1.0);
    Report("undo of a dragged point (whole matrix) at 10 000 points", undoMove, 3.0);
    return 0;
}
