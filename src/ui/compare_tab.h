#pragma once

#include <QWidget>

class QMenu;
class QPushButton;
class QSplitter;
class QTableView;
class TCommand;
class TRunChart;
class TRunHistory;
class TRunTableModel;

// The tab "Porównanie" (TabSheet4): the table of runs above the
// convergence chart, and the buttons of the history's commands. Selecting a
// row is the controller's business (TRunCompare); the tab tells it.
class TCompareTab : public QWidget {
    Q_OBJECT

public:
    // useRun, clearRuns, exportRuns and saveChart: "Użyj tej drogi",
    // "Wyczyść historię", "Eksportuj tabelę..." and "Zapisz wykres...".
    TCompareTab(const TRunHistory& history, TCommand* useRun, TCommand* clearRuns, TCommand* exportRuns,
                TCommand* saveChart, QWidget* parent = nullptr);

    // The row selected in the table, -1 for none.
    int SelectedRow() const;
    void ClearSelection();

    QSplitter* splCompare = nullptr;
    QTableView* tvRuns = nullptr;
    TRunChart* chRuns = nullptr;
    QPushButton* btnUseRun = nullptr;
    QPushButton* btnClearRuns = nullptr;
    QPushButton* btnExportRuns = nullptr;
    QPushButton* btnSaveChart = nullptr;

signals:
    void SelectionChanged();

private:
    TRunTableModel* FModel = nullptr;
    QMenu* FPopup = nullptr;
};
