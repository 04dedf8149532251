#pragma once

#include <QByteArray>
#include <QChartView>
#include <QSize>

class QChart;
class QLineSeries;
class TRunHistory;
struct TRunPoint;

// The convergence chart of the tab "Porównanie": the best length over the
// time since the start for every run of the history, one line per run in
// its method's colour (dashed for runs on another set), on a logarithmic
// time axis, with the best lower bound known for the current set as a
// horizontal line. The search that runs is drawn as it goes.
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

private:
    void Rebuild();
    void AddLivePoint(const TRunPoint& point);

    const TRunHistory& FHistory;
    QLineSeries* FLiveSeries = nullptr;
};

// Fills an empty chart from the history (the chart on the tab and the one
// drawn into a picture are the same). Each run's series carries its number
// in the property "runNumber"; the bound's line has "bound" true and the
// running search's line "live" true.
void BuildRunChart(QChart& chart, const TRunHistory& history);
