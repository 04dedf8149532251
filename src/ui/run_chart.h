#pragma once

#include <QByteArray>
#include <QChartView>
#include <QSize>

#include <cstdint>
#include <optional>

class QChart;
class QLineSeries;
class TRunHistory;
struct TRunPoint;

// The convergence chart of the tab "Porównanie": the best length over the
// time since the start for the runs of one point set (the selected run's,
// else the current one), one line per run in its method's colour (dashed
// when the set is not the current one), on a logarithmic time axis, with
// the best lower bound known for that set as a horizontal line. The search
// that runs is drawn as it goes, when it runs on the set shown. The length
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
    // The set whose runs are shown; none: the current set.
    void ShowSet(std::optional<int32_t> setId);
    int32_t ShownSet() const;

private:
    void Rebuild();
    void AddLivePoint(const TRunPoint& point);

    const TRunHistory& FHistory;
    std::optional<int32_t> FShownSet;
    QLineSeries* FLiveSeries = nullptr;
};

// Fills an empty chart from the history (the chart on the tab and the one
// drawn into a picture are the same), with the runs made on setId. Each
// run's series carries its number
// in the property "runNumber"; the bound's line has "bound" true and the
// running search's line "live" true.
void BuildRunChart(QChart& chart, const TRunHistory& history, int32_t setId);
