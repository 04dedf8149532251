#pragma once

#include <QByteArray>
#include <QChartView>
#include <QSize>

#include <cstdint>
#include <optional>

#include "ui/run_history.h"

class QChart;
class QLineSeries;

// The convergence chart of the tab "Porównanie": the best length over the
// time since the start for the runs of one group (one point set, kind of
// route and measure: the selected run's, else the current one), one line
// per run in its method's colour (dashed when the group is not the current
// one), on a logarithmic time axis, with the best lower bound known for that
// group as a horizontal line. The title names the group's kind of route and
// measure when they are not the open route on the plane. The search that
// runs is drawn as it goes, when it runs in the group shown. The length
// axis starts at 0 or above and is marked at round steps.
class TRunChart : public QChartView {
    Q_OBJECT

public:
    TRunChart(const TRunHistory& history, QWidget* parent = nullptr);

    // A picture of the chart as it stands, at size, as a file's bytes.
    QByteArray PngBytes(const QSize& size) const;
    QByteArray SvgBytes(const QSize& size) const;
    // The size pictures take: the chart's on the screen, or a design size
    // when it is smaller there (or was never shown), so a saved picture
    // stays legible.
    QSize PictureSize() const;
    // The group whose runs are shown; none: the current group.
    void ShowGroup(std::optional<TRunGroup> group);
    TRunGroup ShownGroup() const;

private:
    void Rebuild();
    void AddLivePoint(const TRunPoint& point);

    const TRunHistory& FHistory;
    std::optional<TRunGroup> FShownGroup;
    QLineSeries* FLiveSeries = nullptr;
};

// Fills an empty chart from the history (the chart on the tab and the one
// drawn into a picture are the same), with the runs of group. Each run's
// series carries its number in the property "runNumber"; the bound's line
// has "bound" true and the running search's line "live" true.
void BuildRunChart(QChart& chart, const TRunHistory& history, const TRunGroup& group);
