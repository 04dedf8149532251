#include "ui/compare_tab.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <iterator>

#include "ui/commands.h"
#include "ui/run_chart.h"
#include "ui/run_history.h"
#include "ui/run_table.h"
#include "ui/window_progress.h"

namespace {

// Small enough not to widen the window beyond what the search tab needs.
constexpr int MinTableHeightPx = 60;
constexpr int MinChartHeightPx = 120;
constexpr int MinChartWidthPx = 160;

QPushButton* CommandButton(TCommand* command, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(command->text(), parent);
    button->setObjectName(QString::fromLatin1(name));
    BindButton(button, command);
    return button;
}

}  // namespace

TCompareTab::TCompareTab(const TRunHistory& history, TCommand* useRun, TCommand* clearRuns, TCommand* exportRuns,
                         TCommand* saveChart, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet4"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);

    splCompare = new QSplitter(Qt::Vertical, this);
    splCompare->setObjectName(QStringLiteral("splCompare"));
    splCompare->setChildrenCollapsible(false);
    tvRuns = new QTableView(splCompare);
    tvRuns->setObjectName(QStringLiteral("tvRuns"));
    FModel = new TRunTableModel(history, WindowNumberFormat(), tvRuns);
    tvRuns->setModel(FModel);
    tvRuns->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvRuns->setSelectionMode(QAbstractItemView::SingleSelection);
    tvRuns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvRuns->verticalHeader()->hide();
    // Rows as high as their line of text in the window's font.
    tvRuns->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvRuns->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // What compares the runs first, in view at the window's design size; the
    // details after it. The model (and the exported table) keep their order.
    const int shownOrder[] = {TRunTableModel::colNumber, TRunTableModel::colMethod,  TRunTableModel::colLength,
                              TRunTableModel::colGap,    TRunTableModel::colKind,    TRunTableModel::colTime,
                              TRunTableModel::colPoints, TRunTableModel::colStopped, TRunTableModel::colSet,
                              TRunTableModel::colMetric, TRunTableModel::colSteps,   TRunTableModel::colParameters};
    for (int place = 0; place < static_cast<int>(std::size(shownOrder)); ++place)
        tvRuns->horizontalHeader()->moveSection(tvRuns->horizontalHeader()->visualIndex(shownOrder[place]), place);
    tvRuns->setMinimumHeight(MinTableHeightPx);
    tvRuns->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tvRuns->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit SelectionChanged(); });
    // A reset of the model (the history emptied) drops the selection silently.
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
    // The chart shows the runs the selected run compares with.
    connect(this, &TCompareTab::SelectionChanged, this, [this, &history] {
        const int row = SelectedRow();
        std::optional<TRunGroup> group;
        if (row >= 0 && static_cast<size_t>(row) < history.Runs().size())
            group = GroupOf(history.Runs()[static_cast<size_t>(row)]);
        chRuns->ShowGroup(group);
    });
    // The newest run in view.
    connect(FModel, &QAbstractItemModel::rowsInserted, tvRuns, [this] { tvRuns->scrollToBottom(); });

    chRuns = new TRunChart(history, splCompare);
    chRuns->setObjectName(QStringLiteral("chRuns"));
    chRuns->setMinimumSize(MinChartWidthPx, MinChartHeightPx);
    splCompare->addWidget(tvRuns);
    splCompare->addWidget(chRuns);
    splCompare->setStretchFactor(0, 1);
    splCompare->setStretchFactor(1, 3);
    page->addWidget(splCompare, 1);

    auto* buttons = new QGridLayout;
    btnUseRun = CommandButton(useRun, "btnUseRun", this);
    btnClearRuns = CommandButton(clearRuns, "btnClearRuns", this);
    btnExportRuns = CommandButton(exportRuns, "btnExportRuns", this);
    btnSaveChart = CommandButton(saveChart, "btnSaveChart", this);
    buttons->addWidget(btnUseRun, 0, 0);
    buttons->addWidget(btnClearRuns, 0, 1);
    buttons->addWidget(btnExportRuns, 1, 0);
    buttons->addWidget(btnSaveChart, 1, 1);
    page->addLayout(buttons);

    FPopup = new QMenu(this);
    FPopup->setObjectName(QStringLiteral("RunsPopup"));
    for (TCommand* command : {useRun, clearRuns, exportRuns, saveChart})
        FPopup->addAction(command);
    FPopup->setDefaultAction(useRun);
    connect(tvRuns, &QWidget::customContextMenuRequested, this,
            [this, useRun, clearRuns, exportRuns, saveChart](const QPoint& at) {
                for (TCommand* command : {useRun, clearRuns, exportRuns, saveChart})
                    command->Update();
                FPopup->popup(tvRuns->viewport()->mapToGlobal(at));
            });
    // A double click uses the run's route.
    connect(tvRuns, &QAbstractItemView::doubleClicked, useRun, [useRun] { useRun->Execute(); });
}

int TCompareTab::SelectedRow() const
{
    const QModelIndexList rows = tvRuns->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void TCompareTab::ClearSelection()
{
    tvRuns->clearSelection();
}
