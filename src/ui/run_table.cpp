#include "ui/run_table.h"

#include <QBrush>
#include <QPalette>

#include <array>

#include "search/bound/bound_texts.h"
#include "ui/run_history.h"
#include "ui/run_texts.h"

namespace {

const std::array<const char*, TRunTableModel::ColumnCount> ColumnTitles = {
    "Nr", "Metoda", "Parametry", "Punkty", "Długość", "Czas", "Kroki", "Przerwano", "Luka", "Zbiór", "Rodzaj", "Miara"};

}  // namespace

TRunTableModel::TRunTableModel(const TRunHistory& history, TNumberFormat format, QObject* parent)
    : QAbstractTableModel(parent), FHistory(history), FFormat(std::move(format))
{
    connect(&history, &TRunHistory::RunsChanged, this, [this] { Refresh(); });
    Refresh();
}

void TRunTableModel::Refresh()
{
    // The history says only that something changed. A run added keeps the
    // rows before it, and their selection, as does a new mark or bound.
    const auto rows = static_cast<int>(FHistory.Runs().size());
    const int32_t first = rows > 0 ? FHistory.Runs().front().Number : 0;
    if (first == FFirstNumber && rows > FRows) {
        beginInsertRows(QModelIndex(), FRows, rows - 1);
        FRows = rows;
        endInsertRows();
    } else if (first == FFirstNumber && rows == FRows) {
        if (rows > 0)
            emit dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
    } else {
        beginResetModel();
        FRows = rows;
        endResetModel();
    }
    FFirstNumber = first;
}

int TRunTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRows;
}

int TRunTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TRunTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FRows)
        return {};
    const TRunRecord& run = FHistory.Runs()[static_cast<size_t>(index.row())];
    const bool current = FHistory.OnCurrentSet(run);
    const bool comparable = FHistory.Comparable(run);
    if (role == Qt::ForegroundRole && !comparable)
        return QBrush(QPalette().color(QPalette::Disabled, QPalette::Text));
    if (role == Qt::ToolTipRole && !comparable)
        return QString::fromStdString(RunNotComparableText(FHistory, run));
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() != colMethod && index.column() != colParameters &&
                            index.column() != colStopped && index.column() != colSet && index.column() != colKind &&
                            index.column() != colMetric;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    std::string text;
    switch (index.column()) {
    case colNumber:
        text = std::to_string(run.Number);
        break;
    case colMethod:
        text = RunMethodName(run.Method);
        break;
    case colParameters:
        text = RunParametersText(run, FFormat);
        break;
    case colPoints:
        text = FormatNumber(run.PointCount, 0, FFormat);
        break;
    case colLength:
        text = run.Evaluated ? FormatNumber(run.Length, 2, FFormat) : "-";
        break;
    case colTime:
        text = RunTimeText(run.ElapsedMs, FFormat);
        break;
    case colSteps:
        text = FormatNumber(static_cast<double>(run.Steps), 0, FFormat);
        break;
    case colStopped:
        text = run.Stopped ? "tak" : "nie";
        break;
    case colGap:
        text = run.Evaluated ? GapPercentText(run.Length, FHistory.BestBound(GroupOf(run)), FFormat) : "";
        break;
    case colSet:
        text = current ? "bieżący" : "inny";
        break;
    case colKind:
        text = RouteKindText(run.Settings.Kind);
        break;
    case colMetric:
        text = MetricShortName(run.Metric);
        break;
    default:
        break;
    }
    return QString::fromStdString(text);
}

QVariant TRunTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf8(ColumnTitles[static_cast<size_t>(section)]);
}
