#include "ui/point_list.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "core/progress.h"
#include "ui/document.h"

namespace {

// Room at a column's edges and between the index and the coordinate.
constexpr int ColumnPaddingPx = 4;

}  // namespace

int TPointListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FCount;
}

QVariant TPointListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FCount || role != Qt::DisplayRole)
        return {};
    return QString::number(index.row());
}

void TPointListModel::SetCount(int count)
{
    beginResetModel();
    FCount = count < 0 ? 0 : count;
    endResetModel();
}

TPointListDelegate::TPointListDelegate(std::shared_ptr<const TPointSetState> document, const QHeaderView& header,
                                       QObject* parent)
    : QStyledItemDelegate(parent), FDocument(std::move(document)), FHeader(header)
{
}

QFont TPointListDelegate::ValueFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    return font;
}

QFont TPointListDelegate::IndexFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(7);
    return font;
}

QSize TPointListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    (void)index;
    return {option.rect.width(), RowHeight};
}

void TPointListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int row = index.row();
    const QRect rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    const QColor background = palette.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base);
    const QColor ink = palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text);

    painter->save();
    painter->fillRect(rect, background);
    painter->setPen(ink);
    painter->setBackground(background);
    painter->setBackgroundMode(Qt::OpaqueMode);

    painter->setFont(ValueFont());

    // The list may be repainted while an operation that shrinks the set has
    // not rebuilt it yet: a row without its point shows only its index.
    const TPointArray& points = FDocument->FPoints;
    if (row >= 0 && static_cast<size_t>(row) < points.size()) {
        const TMapPoint& point = points[static_cast<size_t>(row)];
        const int w0 = FHeader.sectionSize(0);
        const int w1 = FHeader.sectionSize(1);
        const int w2 = FHeader.sectionSize(2);
        const int flags = Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine;
        const QRect xColumn(QPoint(rect.left(), rect.top()), QPoint(w0 - 1, rect.bottom()));
        const QRect yColumn(QPoint(w0, rect.top()), QPoint(w0 + w1 - 1, rect.bottom()));
        const QRect vColumn(QPoint(w0 + w1, rect.top()), QPoint(w0 + w1 + w2 - 1, rect.bottom()));
        painter->drawText(xColumn, flags, QString::number(point.X));
        painter->drawText(yColumn, flags, QString::number(point.Y));
        if (point.Next >= 0)
            painter->drawText(vColumn, flags, QString::number(point.Next));
    }

    // The index in smaller type at the bottom left, where the widest
    // coordinate leaves it room.
    const QFont indexFont = IndexFont();
    painter->setFont(indexFont);
    const QFontMetrics metrics(indexFont);
    const QString indexText = QString::number(row);
    const QRect indexRect(rect.left() + 2, rect.bottom() + 1 - metrics.height(), metrics.horizontalAdvance(indexText),
                          metrics.height());
    painter->drawText(indexRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, indexText);
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(option.widget);
        focus.rect = rect;
        focus.backgroundColor = background;
        const QStyle* style = option.widget ? option.widget->style() : nullptr;
        if (style)
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

TPointList::TPointList(const TDocument& document, TProgress& progress, QHeaderView& header, QWidget* parent)
    : QListView(parent),
      FModel(new TPointListModel(this)),
      FDocument(document.SharedState()),
      FProgress(progress),
      FHeader(header)
{
    setModel(FModel);
    setItemDelegate(new TPointListDelegate(FDocument, header, this));
    const auto follow = [this] {
        if (FFollowing)
            Refresh();
    };
    connect(&document, &TDocument::PointsChanged, this, follow);
    connect(&document, &TDocument::PointMoved, this, follow);
    connect(&document, &TDocument::LinksChanged, this, follow);
    connect(&document, &TDocument::SetSaved, this, follow);
    if (QAbstractItemModel* sections = header.model())
        sections->setHeaderData(2, Qt::Horizontal,
                                QStringLiteral("V: numer następnego punktu drogi, do którego prowadzi połączenie "
                                               "(puste, gdy punkt nie ma następnika)"),
                                Qt::ToolTipRole);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TPointList::Follow()
{
    FFollowing = true;
    Refresh();
}

void TPointList::Refresh()
{
    FProgress.ShowStatus("Generowanie listy...", 0);
    SetCount(static_cast<int>(FDocument->FPoints.size()));
    emit Refreshed();
    FProgress.ShowStatus("", 0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TPointList::SetCount(int count)
{
    FModel->SetCount(count);
    FitColumns();
}

void TPointList::FitColumns()
{
    // The widest text of each column: the longest number, and the one with
    // a sign where both are as long.
    QString widest[3];
    const auto widen = [&widest](int column, int32_t value) {
        const QString text = QString::number(value);
        if (text.size() > widest[column].size() || (text.size() == widest[column].size() && value < 0))
            widest[column] = text;
    };
    for (const TMapPoint& point : FDocument->FPoints) {
        widen(0, point.X);
        widen(1, point.Y);
        widen(2, point.Next);
    }
    const QFontMetrics value(TPointListDelegate::ValueFont());
    const QFontMetrics index(TPointListDelegate::IndexFont());
    const int indexWidth = index.horizontalAdvance(QString::number(std::max(FModel->rowCount() - 1, 0)));
    const int needed[3] = {indexWidth + 2 * ColumnPaddingPx + value.horizontalAdvance(widest[0]),
                           ColumnPaddingPx + value.horizontalAdvance(widest[1]),
                           ColumnPaddingPx + value.horizontalAdvance(widest[2])};
    for (int column = 0; column < 3; ++column)
        if (FHeader.sectionSize(column) < needed[column])
            FHeader.resizeSection(column, needed[column]);
}

int TPointList::SelCount() const
{
    return static_cast<int>(selectionModel()->selectedRows().size());
}

int TPointList::ItemIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool TPointList::IsSelected(int row) const
{
    return row >= 0 && row < ItemCount() && selectionModel()->isRowSelected(row, QModelIndex());
}

std::vector<char> TPointList::SelectedRows() const
{
    std::vector<char> rows(static_cast<size_t>(ItemCount()), 0);
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && static_cast<size_t>(row) < rows.size())
                rows[static_cast<size_t>(row)] = 1;
        }
    }
    return rows;
}

void TPointList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit Click();
}

void TPointList::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    emit MouseUp();
}

void TPointList::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex currentBefore = currentIndex();
    const QItemSelection selectionBefore = selectionModel()->selection();
    QListView::keyPressEvent(event);
    if (currentIndex() != currentBefore || selectionModel()->selection() != selectionBefore)
        emit Click();
}
