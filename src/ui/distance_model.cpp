#include "ui/distance_model.h"

#include <algorithm>
#include <cmath>

#include "core/distances.h"
#include "core/progress.h"
#include "core/set_places.h"
#include "ui/document.h"

TDistanceGridModel::TDistanceGridModel(const TDocument& document, TProgress& progress, QObject* parent)
    : QAbstractTableModel(parent), FState(document.SharedState()), FProgress(progress)
{
    connect(&document, &TDocument::PointsChanged, this, [this](int32_t firstNewPoint) { Rebuild(firstNewPoint); });
    connect(&document, &TDocument::PointMoved, this, [this] { Rebuild(0); });
    connect(&document, &TDocument::MeasureChanged, this, [this] { Rebuild(0); });
}

void TDistanceGridModel::Rebuild(int32_t firstNewPoint)
{
    const TPointArray& points = FState->FPoints;
    const TSetPlaces& places = FState->FPlaces;
    // A set whose map points are its coordinates on the plane has the
    // matrix it always had.
    const bool plain = !places.OwnPlaces() && places.ActiveMetric() == TMetric::Plane;
    if (static_cast<int32_t>(points.size()) > KeptMatrixPoints) {
        TDistanceMatrix().swap(FDistances);
    } else if (plain) {
        ComputeDistances(points, FDistances, FProgress, firstNewPoint);
    } else {
        // The events run meanwhile may add a point (a click on the map
        // during a search), rebuilding for it; this rebuild then starts
        // over with the set as it is, or its older matrix would win.
        do {
            FMeasure = MeasureOf(places, points);
            ComputeDistances(FMeasure, FDistances, FProgress, firstNewPoint);
        } while (FMeasure.Count() != static_cast<int32_t>(points.size()));
    }
    FMeasure = MeasureOf(places, points);
    FProgress.ShowStatus("Wypełnianie macierzy odległości...", 0);
    Fill(static_cast<int>(points.size()), FProgress.NumberFormat());
    FProgress.ShowStatus("", 0);
}

int TDistanceGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount() - 1;
}

int TDistanceGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount() - 1;
}

QString TDistanceGridModel::Cells(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount() || (col == 0 && row == 0))
        return {};
    if (FCount == 0) {
        if (row == 0)
            return FKept[0];
        if (col == 0)
            return FKept[1];
        return FKept[2];
    }
    if (row == 0)
        return QString::number(col - 1);
    if (col == 0)
        return QString::number(row - 1);
    if (col == row)
        return QStringLiteral("-");
    const size_t low = static_cast<size_t>(std::min(col, row) - 1);
    const size_t high = static_cast<size_t>(std::max(col, row) - 1);
    // A large set keeps no matrix: the cell is worked out as the matrix
    // would hold it.
    const TDistanceMatrix& distances = FDistances;
    if (distances.empty() && high < static_cast<size_t>(FMeasure.Count()))
        return LegText(FMeasure.Leg(static_cast<int32_t>(low), static_cast<int32_t>(high)));
    // The matrix is rebuilt before the table learns of it; a repaint in
    // between must not read cells the matrix does not have yet.
    if (low >= distances.size() || high >= distances[low].size())
        return {};
    return LegText(distances[low][high]);
}

QString TDistanceGridModel::LegText(double leg) const
{
    // Whole legs are exact: no decimals to show.
    if (FMeasure.WholeLegs())
        return QString::number(static_cast<qint64>(leg));
    return QString::fromStdString(FormatFixed2(leg, FFormat));
}

double TDistanceGridModel::Leg(int32_t a, int32_t b) const
{
    const auto low = static_cast<size_t>(std::min(a, b));
    const auto high = static_cast<size_t>(std::max(a, b));
    if (a == b)
        return 0.0;
    if (high < FDistances.size() && high < FDistances[low].size())
        return FDistances[low][high];
    return high < static_cast<size_t>(FMeasure.Count()) ? FMeasure.Leg(a, b) : 0.0;
}

QVariant TDistanceGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return Cells(index.column() + 1, index.row() + 1);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    // The unit and the measure the cell is in, where the text alone does
    // not say.
    if (role == Qt::ToolTipRole && FCount > 0 && index.row() != index.column()) {
        const QString cell = Cells(index.column() + 1, index.row() + 1);
        if (cell.isEmpty())
            return {};
        return QStringLiteral("Od punktu %1 do punktu %2: %3%4 (%5)")
            .arg(index.row())
            .arg(index.column())
            .arg(cell, FMeasure.OnEarth() ? QStringLiteral(" km") : QString(),
                 QString::fromStdString(MetricText(FMeasure.Metric())));
    }
    return {};
}

QVariant TDistanceGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return orientation == Qt::Horizontal ? Cells(section + 1, 0) : Cells(0, section + 1);
}

Qt::ItemFlags TDistanceGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QString TDistanceGridModel::WidestText() const
{
    const TPointArray& points = FState->FPoints;
    if (FCount <= 0 || points.empty())
        return QStringLiteral("0");
    double widest = 0.0;
    if (FMeasure.OnEarth()) {
        // No two places on the Earth lie further apart than half its round.
        widest = 3.141592653589793 * GeoEarthRadiusKm + 1.0;
    } else if (FMeasure.Count() == static_cast<int32_t>(points.size()) &&
               (FState->FPlaces.OwnPlaces() || FMeasure.Metric() != TMetric::Plane)) {
        double minX = INFINITY;
        double minY = INFINITY;
        double maxX = -INFINITY;
        double maxY = -INFINITY;
        for (const TPlace& place : FMeasure.Places()) {
            minX = std::min(minX, place.X);
            maxX = std::max(maxX, place.X);
            minY = std::min(minY, place.Y);
            maxY = std::max(maxY, place.Y);
        }
        // Rounded up, for the measures that round.
        widest = std::ceil(PlaceHypot(maxX - minX, maxY - minY)) + 1.0;
    } else {
        int64_t minX = INT64_MAX;
        int64_t minY = INT64_MAX;
        int64_t maxX = INT64_MIN;
        int64_t maxY = INT64_MIN;
        for (const TMapPoint& point : points) {
            minX = std::min<int64_t>(minX, point.X);
            maxX = std::max<int64_t>(maxX, point.X);
            minY = std::min<int64_t>(minY, point.Y);
            maxY = std::max<int64_t>(maxY, point.Y);
        }
        widest = MapHypot(maxX - minX, maxY - minY);
    }
    const QString distance = LegText(widest);
    const QString index = QString::number(FCount - 1);
    return distance.size() >= index.size() ? distance : index;
}

void TDistanceGridModel::Fill(int count, const TNumberFormat& format)
{
    beginResetModel();
    if (count <= 0)
        FKept = {Cells(1, 0), Cells(0, 1), Cells(1, 1)};
    FCount = std::max(count, 0);
    FFormat = format;
    endResetModel();
}
