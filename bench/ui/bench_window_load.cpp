// Loads a 10 000-point file into the real main window and shows it whole
// (matrix, distance table, point list, map), then prints the time and the
// peak memory against their targets.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <cstdio>
#include <random>
#include <string>

#include "core/point_file.h"
#include "core/point_set_ops.h"
#include "ui/distance_grid.h"
#include "ui/file_commands.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/window_parts.h"

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::stoi(argv[1]) : 10000;

    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("big.tvu")).toStdString();
    std::mt19937 random(12345);
    TPointArray points(static_cast<size_t>(count));
    for (TMapPoint& point : points) {
        point.X = static_cast<int32_t>(random() % 495);
        point.Y = static_cast<int32_t>(random() % 382);
    }
    if (!WriteFileReplacing(path, FormatPointSet(points)).Ok())
        return 1;

    TMainForm form({QStringLiteral("tovu")});
    form.AttachMapForm(new TMapForm(form));
    form.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    form.Files().OpenPointSet(path);
    // What the user sees: the list rows, the visible table cells, the map.
    Part<TDistanceGrid>(form, "StringGrid1")->repaint();
    Part<TPointList>(form, "ListBox1")->repaint();
    QApplication::processEvents();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    std::printf("window load of %d points: %.2f s (target 3 s, ratio %.2f)\n", count, seconds, seconds / 3.0);
    // The window keeps no matrix for a set this large; the table works out
    // the cells it shows.
    std::printf("peak memory: %.0f MB (target 150 MB, ratio %.2f)\n", peakMb, peakMb / 150.0);
    const TDistanceMatrix& matrix = Part<TDistanceGrid>(form, "StringGrid1")->Model().Distances();
    std::printf("rows %d, matrix %zu x %zu\n", Part<TPointList>(form, "ListBox1")->ItemCount(), matrix.size(),
                matrix.empty() ? size_t{0} : matrix[0].size());
    return 0;
}
