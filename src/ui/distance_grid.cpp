#include "ui/distance_grid.h"

#include <QHeaderView>

#include <algorithm>

#include "core/distances.h"

TDistanceGridModel::TDistanceGridModel(std::shared_ptr<const TPointSetState> document, QObject* parent)
    : QAbstractTableModel(parent), FDocument(std::move(document))
{
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
    const TDistanceMatrix& distances = FDocument->FDistances;
    const TPointArray& points = FDocument->FPoints;
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
    const TPointArray& points = FDocument->FPoints;
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

TDistanceGrid::TDistanceGrid(std::shared_ptr<const TPointSetState> document, QWidget* parent)
    : QTableView(parent), FModel(new TDistanceGridModel(std::move(document), this))
{
    setModel(FModel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* top = horizontalHeader();
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setDefaultSectionSize(ColWidth);
    top->setMinimumSectionSize(1);
    top->setFixedHeight(RowHeight);
    top->setSectionsMovable(false);
    top->setSectionsClickable(false);
    top->setHighlightSections(false);
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QHeaderView* left = verticalHeader();
    left->setSectionResizeMode(QHeaderView::Fixed);
    left->setDefaultSectionSize(RowHeight);
    left->setMinimumSectionSize(1);
    left->setFixedWidth(ColWidth);
    left->setSectionsMovable(false);
    left->setSectionsClickable(false);
    left->setHighlightSections(false);
    left->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    MoveTo(1, 1);
}

void TDistanceGrid::Fill(int count, const TNumberFormat& format)
{
    const int col = Col();
    const int row = Row();
    FModel->Fill(count, format);
    FitColumns();
    MoveTo(std::min(col, ColCount() - 1), std::min(row, RowCount() - 1));
}

void TDistanceGrid::FitColumns()
{
    // The delegate leaves a focus-frame margin and a pixel on each side of
    // the text, and the grid line takes one more.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    const int width = std::max(ColWidth, fontMetrics().horizontalAdvance(FModel->WidestText()) + margin);
    horizontalHeader()->setDefaultSectionSize(width);
    verticalHeader()->setFixedWidth(
        std::max(ColWidth, fontMetrics().horizontalAdvance(QString::number(std::max(0, RowCount() - 2))) + margin));
}

int TDistanceGrid::Col() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() + 1 : 1;
}

int TDistanceGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TDistanceGrid::SetCol(int col)
{
    MoveTo(col, Row());
}

void TDistanceGrid::SetRow(int row)
{
    MoveTo(Col(), row);
}

void TDistanceGrid::MoveTo(int col, int row)
{
    const QModelIndex index = FModel->index(row - 1, col - 1);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}
