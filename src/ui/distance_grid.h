#pragma once

#include <QPoint>
#include <QTableView>

#include "core/number_text.h"
#include "ui/distance_model.h"

class TDocument;
class TProgress;

// StringGrid1, the distance table. Its current cell uses the grid's coordinates: column and row
// 0 are the fixed ones.
class TDistanceGrid : public QTableView {
    Q_OBJECT

public:
    // Creates the model, which follows the document's points.
    TDistanceGrid(const TDocument& document, TProgress& progress, QWidget* parent);

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
    // The current cell while the model is reset.
    QPoint FKeptCell{1, 1};
};
