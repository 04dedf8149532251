#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <memory>
#include <vector>

#include "core/point_set.h"

class QHeaderView;
class TDocument;
class TProgress;

// One row per point; the row's own text is its index, everything else is
// painted from the point set.
class TPointListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Removes every row (and with them the selection), then adds count.
    void SetCount(int count);

private:
    int FCount = 0;
};

// Paints a row as three right-aligned columns under the header's sections
// (X, Y and the successor, empty without one) with the index in small type
// at the bottom left.
class TPointListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    TPointListDelegate(std::shared_ptr<const TPointSetState> document, const QHeaderView& header, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static constexpr int RowHeight = 14;
    // The type of the coordinates and of the row's index.
    static QFont ValueFont();
    static QFont IndexFont();

private:
    // Shared, so the set outlives the list whichever goes first.
    std::shared_ptr<const TPointSetState> FDocument;
    const QHeaderView& FHeader;
};

// ListBox1: owner-drawn, several rows selectable. A right press opens the
// pop-up menu without touching the selection. From the window's first
// showing on it follows the document: every change of the points or links
// rebuilds it, and what draws from its rows and selection (the map) follows
// its Refreshed signal.
class TPointList : public QListView {
    Q_OBJECT

public:
    // The header's sections are widened for wide numbers; its V section
    // explains itself in a tooltip. progress shows the rebuild's status text.
    TPointList(const TDocument& document, TProgress& progress, QHeaderView& header, QWidget* parent);

    // Rebuilds now and with every change of the set from now on.
    void Follow();
    // RefreshPointList: the rows rebuilt for the set (the selection goes),
    // then Refreshed; ends with the default arrow cursor, the program's sign
    // that the window shows the set again (after a search, or a point added
    // during one).
    void Refresh();

    // Rebuilds the rows; a section too narrow for the set's widest number
    // (beside the index in the first) grows to fit it.
    void SetCount(int count);
    int ItemCount() const { return FModel->rowCount(); }
    int SelCount() const;
    // The row with the focus, -1 when none.
    int ItemIndex() const;
    bool IsSelected(int row) const;
    // One flag per row.
    std::vector<char> SelectedRows() const;

signals:
    // The rows were rebuilt for the set.
    void Refreshed();
    // The selection was changed by the user, with the mouse or the keys.
    void Click();
    // A mouse button was released over the list.
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FitColumns();

    TPointListModel* FModel;
    std::shared_ptr<const TPointSetState> FDocument;
    TProgress& FProgress;
    QHeaderView& FHeader;
    bool FFollowing = false;
};

// A row's flag in a SelectedRows snapshot; a point without a row yet (the
// list is rebuilt after the set grows) reads as unselected.
inline bool RowSelected(const std::vector<char>& selected, int32_t row)
{
    return row >= 0 && static_cast<size_t>(row) < selected.size() && selected[static_cast<size_t>(row)] != 0;
}
