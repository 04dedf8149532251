#pragma once

#include <QAbstractTableModel>

#include <cstdint>

#include "core/number_text.h"

class TRunHistory;

// The table of runs on the tab "Porównanie": one row per record of the
// history, formatted when the view asks. Rows whose lengths do not compare
// with the current ones (made on another set, for another kind of route or
// under another measure) are grey and say why.
class TRunTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum TColumn {
        colNumber,
        colMethod,
        colParameters,
        colPoints,
        colLength,
        colTime,
        colSteps,
        colStopped,
        colGap,
        colSet,
        colKind,
        colMetric,
        ColumnCount
    };

    TRunTableModel(const TRunHistory& history, TNumberFormat format, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void Refresh();

    const TRunHistory& FHistory;
    TNumberFormat FFormat;
    // What the view was last told: the rows and the first row's number.
    int FRows = 0;
    int32_t FFirstNumber = 0;
};
