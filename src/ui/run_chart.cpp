#include "ui/run_chart.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QLogValueAxis>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>
#include <QStringList>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <set>

#include "ui/run_texts.h"

namespace {

// A picture of a chart never shown.
constexpr QSize DesignPictureSize(800, 500);
// Times below a millisecond are drawn at one: the axis is logarithmic. It
// starts a decade lower, so that such runs stand clear of the axis line.
constexpr double LeastTimeMs = 1.0;
constexpr double AxisStartMs = 0.1;
constexpr int RunLineWidthPx = 2;
constexpr qreal MarkerSizePx = 5.0;
// The window's own text size: the chart's theme would take more room.
constexpr int TextSizePx = 11;

// One colour per method, by index: blue, orange, green, red, purple.
QColor MethodColor(TSearchMethod method)
{
    static const std::array<QRgb, 5> colors = {0xff1f77b4, 0xffff7f0e, 0xff2ca02c, 0xffd62728, 0xff9467bd};
    const auto index = static_cast<size_t>(method);
    return QColor::fromRgba(index < colors.size() ? colors[index] : 0xff000000);
}

double ChartTime(int64_t elapsedMs)
{
    return std::max(LeastTimeMs, static_cast<double>(elapsedMs));
}

// The best length holds until the next improvement: a step line.
void AppendStep(QLineSeries& series, const TRunPoint& point)
{
    const double time = ChartTime(point.ElapsedMs);
    if (series.count() > 0)
        series.append(time, series.at(series.count() - 1).y());
    series.append(time, point.Length);
}

QLineSeries* RunSeries(const std::vector<TRunPoint>& trace, const QString& name, const QColor& color,
                       Qt::PenStyle style)
{
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(color, RunLineWidthPx);
    pen.setStyle(style);
    series->setPen(pen);
    // Each improvement a dot: a run of a millisecond is a dot alone.
    series->setPointsVisible(true);
    series->setMarkerSize(MarkerSizePx);
    for (const TRunPoint& point : trace)
        AppendStep(*series, point);
    return series;
}

QLogValueAxis* TimeAxis(QChart& chart)
{
    const auto axes = chart.axes(Qt::Horizontal);
    return axes.isEmpty() ? nullptr : qobject_cast<QLogValueAxis*>(axes.constFirst());
}

QValueAxis* LengthAxis(QChart& chart)
{
    const auto axes = chart.axes(Qt::Vertical);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.constFirst());
}

// A step of 1, 2 or 5 times a power of ten that cuts span into about
// parts pieces.
double RoundStep(double span, int parts)
{
    const double raw = std::max(span, 1e-9) / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double each : {1.0, 2.0, 5.0})
        if (raw <= each * power * (1 + 1e-9))
            return each * power;
    return 10.0 * power;
}

// The lengths from least to most on round ticks, never below 0 (no route is
// shorter); labels with as many decimals as the step needs.
void FitLengthAxis(QValueAxis& axis, double least, double most)
{
    constexpr int Parts = 4;
    const double span = most - least > 0 ? most - least : std::max(std::abs(most) * 0.02, 1.0);
    const double step = RoundStep(span, Parts);
    const double low = std::max(0.0, std::floor((least - step / 4) / step) * step);
    const double high = std::ceil((most + step / 4) / step) * step;
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0.0);
    axis.setTickInterval(step);
    axis.setRange(low, std::max(high, low + step));
    const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
    axis.setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    axis.setLabelsVisible(true);
}

// The axes cover every point of every series, the time to the next power
// of ten, the lengths on round ticks; an empty chart has no length marks.
void FitAxes(QChart& chart)
{
    QLogValueAxis* timeAxis = TimeAxis(chart);
    QValueAxis* lengthAxis = LengthAxis(chart);
    if (!timeAxis || !lengthAxis)
        return;
    double latest = 10.0;
    double least = 0.0;
    double most = 0.0;
    bool any = false;
    for (QAbstractSeries* each : chart.series()) {
        auto* series = static_cast<QLineSeries*>(each);
        for (const QPointF& point : series->points()) {
            if (!series->property("bound").toBool())
                latest = std::max(latest, point.x());
            least = any ? std::min(least, point.y()) : point.y();
            most = any ? std::max(most, point.y()) : point.y();
            any = true;
        }
    }
    timeAxis->setRange(AxisStartMs, std::pow(10.0, std::ceil(std::log10(latest))));
    if (any) {
        FitLengthAxis(*lengthAxis, least, most);
    } else {
        lengthAxis->setTickType(QValueAxis::TicksFixed);
        lengthAxis->setRange(0.0, 1.0);
        lengthAxis->setLabelsVisible(false);
    }
    // The bound's line spans the whole time axis.
    for (QAbstractSeries* each : chart.series()) {
        if (!each->property("bound").toBool())
            continue;
        auto* series = static_cast<QLineSeries*>(each);
        const double value = series->at(0).y();
        series->replace({QPointF(timeAxis->min(), value), QPointF(timeAxis->max(), value)});
    }
}

// The legend names each method once, by its colour, rather than every run:
// a few entries fit beside a small chart.
void ShowMethodsInLegend(QChart& chart)
{
    std::set<int> shown;
    for (QLegendMarker* marker : chart.legend()->markers()) {
        const QVariant method = marker->series()->property("method");
        if (!method.isValid())
            continue;
        marker->setVisible(shown.insert(method.toInt()).second);
        marker->setLabel(QString::fromStdString(RunMethodName(static_cast<TSearchMethod>(method.toInt()))));
    }
}

// The chart drawn into a painter at size, in a scene of its own.
void PaintChart(const TRunHistory& history, const TRunGroup& group, const QSize& size, QPainter& painter)
{
    QGraphicsScene scene;
    auto* chart = new QChart;
    scene.addItem(chart);
    BuildRunChart(*chart, history, group);
    chart->setGeometry(0, 0, size.width(), size.height());
    chart->setBackgroundRoundness(0);
    scene.setSceneRect(0, 0, size.width(), size.height());
    scene.render(&painter, QRectF(0, 0, size.width(), size.height()), scene.sceneRect());
}

// "Drogi zamknięte", "Droga otwarta, od punktu 3; miara EUC_2D": what the
// runs of a group are, where it is not the open route on the plane.
QString GroupTitle(const TRunGroup& group)
{
    QStringList parts;
    if (group.Kind.RoundTrip)
        parts << QStringLiteral("Drogi zamknięte");
    else if (!group.Kind.FreeOpen())
        parts << QStringLiteral("Droga ") + QString::fromStdString(RouteKindText(group.Kind));
    if (group.Metric != TMetric::Plane)
        parts << QStringLiteral("miara ") + QString::fromStdString(MetricShortName(group.Metric));
    return parts.join(QStringLiteral("; "));
}

}  // namespace

void BuildRunChart(QChart& chart, const TRunHistory& history, const TRunGroup& group)
{
    chart.removeAllSeries();
    // Numbers as every other line of the program writes them, with a
    // decimal comma, whatever the system's language.
    chart.setLocale(QLocale(QLocale::Polish, QLocale::Poland));
    chart.setLocalizeNumbers(true);
    // The axes stay from one filling to the next: replaced, they leave
    // their old labels on the screen until the next full repaint.
    QLogValueAxis* timeAxis = TimeAxis(chart);
    QValueAxis* lengthAxis = LengthAxis(chart);
    if (!timeAxis || !lengthAxis) {
        timeAxis = new QLogValueAxis;
        timeAxis->setBase(10.0);
        timeAxis->setLabelFormat(QStringLiteral("%g"));
        timeAxis->setTitleText(QStringLiteral("Czas [ms]"));
        timeAxis->setMinorTickCount(-1);
        lengthAxis = new QValueAxis;
        lengthAxis->setTitleText(QStringLiteral("Długość"));
        lengthAxis->setLabelFormat(QStringLiteral("%.0f"));
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(TextSizePx);
        for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(timeAxis), static_cast<QAbstractAxis*>(lengthAxis)}) {
            axis->setLabelsFont(font);
            axis->setTitleFont(font);
        }
        chart.addAxis(timeAxis, Qt::AlignBottom);
        chart.addAxis(lengthAxis, Qt::AlignLeft);
        chart.legend()->setAlignment(Qt::AlignRight);
        chart.legend()->setFont(font);
        chart.setTitleFont(font);
    }

    const auto add = [&](QLineSeries* series) {
        chart.addSeries(series);
        series->attachAxis(timeAxis);
        series->attachAxis(lengthAxis);
    };
    const bool current = group == history.CurrentGroup();
    bool anyRun = false;
    for (const TRunRecord& run : history.Runs()) {
        if (run.Trace.empty() || !(GroupOf(run) == group))
            continue;
        anyRun = true;
        QColor color = MethodColor(run.Method);
        if (!current)
            color.setAlpha(128);
        QLineSeries* series = RunSeries(
            run.Trace, QStringLiteral("%1. %2").arg(run.Number).arg(QString::fromStdString(RunMethodName(run.Method))),
            color, current ? Qt::SolidLine : Qt::DashLine);
        series->setProperty("runNumber", run.Number);
        series->setProperty("method", static_cast<int>(run.Method));
        add(series);
    }
    const std::optional<TRunHistory::TLiveRun>& live = history.Live();
    const bool liveShown = live && live->Group == group;
    if (liveShown) {
        QLineSeries* series =
            RunSeries(live->Trace, QStringLiteral("trwa: %1").arg(QString::fromStdString(RunMethodName(live->Method))),
                      MethodColor(live->Method), Qt::SolidLine);
        series->setProperty("live", true);
        add(series);
    }
    const TLowerBound bound = history.BestBound(group);
    if (bound.Certified) {
        auto* series = new QLineSeries;
        series->setName(QStringLiteral("Dolne ograniczenie"));
        series->setPen(QPen(Qt::gray, 1, Qt::DashDotLine));
        series->append(AxisStartMs, bound.Value);
        series->append(10.0, bound.Value);
        series->setProperty("bound", true);
        add(series);
    }
    ShowMethodsInLegend(chart);
    FitAxes(chart);
    const QString title = GroupTitle(group);
    if (!current && anyRun && group.SetId != history.CurrentSet())
        chart.setTitle(QStringLiteral("Przebiegi na wcześniejszym zbiorze"));
    else if (!anyRun && !liveShown)
        chart.setTitle(QStringLiteral("Brak przebiegów na tym zbiorze"));
    else if (!current)
        chart.setTitle(QStringLiteral("Nieporównywalne z bieżącymi: ") +
                       (title.isEmpty() ? QStringLiteral("droga otwarta") : title));
    else
        chart.setTitle(title);
}

TRunChart::TRunChart(const TRunHistory& history, QWidget* parent) : QChartView(parent), FHistory(history)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->setMargins(QMargins(4, 4, 4, 4));
    connect(&history, &TRunHistory::RunsChanged, this, [this] { Rebuild(); });
    connect(&history, &TRunHistory::LiveStarted, this, [this] { Rebuild(); });
    connect(&history, &TRunHistory::LivePointAdded, this, [this](const TRunPoint& point) { AddLivePoint(point); });
    Rebuild();
}

void TRunChart::ShowGroup(std::optional<TRunGroup> group)
{
    if (group == FShownGroup)
        return;
    FShownGroup = group;
    Rebuild();
}

TRunGroup TRunChart::ShownGroup() const
{
    return FShownGroup.value_or(FHistory.CurrentGroup());
}

void TRunChart::Rebuild()
{
    BuildRunChart(*chart(), FHistory, ShownGroup());
    FLiveSeries = nullptr;
    for (QAbstractSeries* series : chart()->series())
        if (series->property("live").toBool())
            FLiveSeries = static_cast<QLineSeries*>(series);
}

void TRunChart::AddLivePoint(const TRunPoint& point)
{
    if (!FLiveSeries)
        return;
    AppendStep(*FLiveSeries, point);
    QLogValueAxis* timeAxis = TimeAxis(*chart());
    QValueAxis* lengthAxis = LengthAxis(*chart());
    if (!timeAxis || !lengthAxis)
        return;
    // Past the axes only now and then: the time by powers of ten, the
    // length when this run becomes the best.
    if (FLiveSeries->count() <= 1 || ChartTime(point.ElapsedMs) > timeAxis->max() || point.Length < lengthAxis->min() ||
        point.Length > lengthAxis->max())
        FitAxes(*chart());
}

QSize TRunChart::PictureSize() const
{
    const bool large = width() >= DesignPictureSize.width() && height() >= DesignPictureSize.height();
    return isVisible() && large ? size() : DesignPictureSize;
}

QByteArray TRunChart::PngBytes(const QSize& size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintChart(FHistory, ShownGroup(), size, painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

QByteArray TRunChart::SvgBytes(const QSize& size) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Tovu: długość najlepszej drogi w czasie"));
    generator.setDescription(QStringLiteral("Wykres zbieżności przebiegów z karty Porównanie"));
    {
        QPainter painter(&generator);
        PaintChart(FHistory, ShownGroup(), size, painter);
    }
    // The generator gives the size in millimetres of its resolution, which
    // viewers read at their own: pixels, as the chart has them.
    static const QRegularExpression sizeInMm(QStringLiteral("<svg width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""));
    QString text = QString::fromUtf8(bytes);
    text.replace(sizeInMm, QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height()));
    return text.toUtf8();
}
