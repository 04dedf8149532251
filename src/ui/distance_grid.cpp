#include "ui/distance_grid.h"

#include <QHeaderView>

#include <algorithm>

TDistanceGrid::TDistanceGrid(const TDocument& document, TProgress& progress, QWidget* parent)
    : QTableView(parent), FModel(new TDistanceGridModel(document, progress, this))
{
    setModel(FModel);
    // The current cell stays where it was, inside the new table, and the
    // columns fit the new numbers.
    connect(FModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { FKeptCell = {Col(), Row()}; });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] {
        FitColumns();
        MoveTo(std::min(FKeptCell.x(), ColCount() - 1), std::min(FKeptCell.y(), RowCount() - 1));
    });
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
    FModel->Fill(count, format);
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
