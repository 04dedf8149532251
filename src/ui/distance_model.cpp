#include "ui/distance_model.h"

#include <algorithm>

#include "core/distances.h"
#include "core/progress.h"
#include "ui/document.h"

TDistanceGridModel::TDistanceGridModel(const TDocument& document, TProgress& progress, QObject* parent)
    : QAbstractTableModel(parent), FState(document.SharedState()), FProgress(progress)
{
    connect(&document, &TDocument::PointsChanged, this, [this](int32_t firstNewPoint) { Rebuild(firstNewPoint); });
    connect(&document, &TDocument::PointMoved, this, [this] { Rebuild(0); });
}

void TDistanceGridModel::Rebuild(int32_t firstNewPoint)
{
    const TPointArray& points = FState->FPoints;
    if (static_cast<int32_t>(points.size()) <= KeptMatrixPoints)
        ComputeDistances(points, FDistances, FProgress, firstNewPoint);
    else
        TDistanceMatrix().swap(FDistances);
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
    const TPointArray& points = FState->FPoints;
    if (distances.empty() && high < points.size())
        return QString::fromStdString(FormatFixed2(PointDistance(points[low], points[high]), FFormat));
    // The matrix is rebuilt before the table learns of it; a repaint in
    // between must not read cells the matrix does not have yet.
    if (low >= distances.size() || high >= distances[low].size())
        return {};
    return QString::fromStdString(FormatFixed2(distances[low][high], FFormat));
}

QVariant TDistanceGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return Cells(index.column() + 1, index.row() + 1);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
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
    const QString distance = QString::fromStdString(FormatFixed2(MapHypot(maxX - minX, maxY - minY), FFormat));
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
