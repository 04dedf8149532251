#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include <array>
#include <memory>

#include "core/number_text.h"
#include "core/point_set.h"

// The distance table as a text grid: one fixed row and column of point
// numbers (the views' headers), "-" on the diagonal, and the matrix element
// of the smaller row index elsewhere. Texts are made when the view asks for
// a cell; nothing is stored per cell, so 10 000 points cost nothing here.
class TDistanceGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    TDistanceGridModel(std::shared_ptr<const TPointSetState> document, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Shows the table of count points. With no points the grid keeps its
    // minimum of 2 x 2 cells and, since nothing is written to them, the
    // texts they had.
    void Fill(int count, const TNumberFormat& format);

    // The grid's size including the fixed row and column.
    int ColCount() const { return FCount == 0 ? 2 : FCount + 1; }
    int RowCount() const { return ColCount(); }
    // The text of a cell, the fixed ones included (column 0, row 0 is never
    // written).
    QString Cells(int col, int row) const;
    // A text at least as wide as any cell's: the distance across the set's
    // bounding box has the most digits any distance can have, and digits
    // are equally wide in the grid's font.
    QString WidestText() const;

private:
    // Shared, so the matrix outlives the table whichever goes first.
    std::shared_ptr<const TPointSetState> FDocument;
    int FCount = 0;
    TNumberFormat FFormat;
    // Cells (1, 0), (0, 1) and (1, 1) while the set is empty.
    std::array<QString, 3> FKept;
};

// StringGrid1. Its current cell uses the grid's coordinates: column and row
// 0 are the fixed ones.
class TDistanceGrid : public QTableView {
    Q_OBJECT

public:
    TDistanceGrid(std::shared_ptr<const TPointSetState> document, QWidget* parent);

    void Fill(int count, const TNumberFormat& format);
    TDistanceGridModel& Model() { return *FModel; }
    const TDistanceGridModel& Model() const { return *FModel; }
    QString Cells(int col, int row) const { return FModel->Cells(col, row); }
    int ColCount() const { return FModel->ColCount(); }
    int RowCount() const { return FModel->RowCount(); }

    int Col() const;
    int Row() const;
    // Moving the current cell scrolls it into view.
    void SetCol(int col);
    void SetRow(int row);

    // The narrowest column; columns widen to show every number whole.
    static constexpr int ColWidth = 32;
    static constexpr int RowHeight = 18;

private:
    void MoveTo(int col, int row);
    void FitColumns();

    TDistanceGridModel* FModel;
};
