#pragma once

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <memory>

#include "core/number_text.h"
#include "core/point_set.h"
#include "core/route_problem.h"

class TDocument;
class TProgress;

// Sets up to this many points keep their whole distance matrix (8 MB at the
// most); larger ones keep none, and the distance table works out the cells
// it shows. A search gets the legs as a table up to the same size.
inline constexpr int32_t KeptMatrixPoints = MaxLegTablePoints;

// The distance table's model: the set's distance matrix under the set's
// measure, kept current as the document announces changes of the points or
// of the measure, and the table as a text grid over it: one fixed row and
// column of point numbers (the views' headers), "-" on the diagonal, and the
// matrix element of the smaller row index elsewhere: two decimals, or whole
// numbers for the measures whose legs are whole (TSPLIB's). Texts are made
// when the view asks for a cell; nothing is stored per cell, so 100 000
// points cost nothing here.
class TDistanceGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // progress shows the matrix's rebuild (status texts and the bar).
    TDistanceGridModel(const TDocument& document, TProgress& progress, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The matrix: the whole set's up to KeptMatrixPoints points, else empty.
    const TDistanceMatrix& Distances() const { return FDistances; }
    // The leg from point a to point b as the table holds it: the matrix's
    // cell, or beyond the matrix the measure's leg.
    double Leg(int32_t a, int32_t b) const;
    // The measure the table was last built with.
    const TMeasure& Measure() const { return FMeasure; }
    // The matrix from firstNewPoint on (cells of earlier pairs stay), then
    // the table: what a change of the points runs.
    void Rebuild(int32_t firstNewPoint);

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
    // Tests show matrices no set has through a seam of their own.
    friend struct TDistanceGridTestAccess;

    // Shared, so the set outlives the table whichever goes first.
    std::shared_ptr<const TPointSetState> FState;
    TProgress& FProgress;
    // A leg as the table writes it.
    QString LegText(double leg) const;

    TDistanceMatrix FDistances;
    TMeasure FMeasure;
    int FCount = 0;
    TNumberFormat FFormat;
    // Cells (1, 0), (0, 1) and (1, 1) while the set is empty.
    std::array<QString, 3> FKept;
};
