#pragma once

#include <QObject>

class QTabWidget;
class QWidget;
class TCompareTab;
class TDocument;
class TMapController;
class TRunHistory;
class TSearchRunner;
class TWindowProgress;
struct TRunRecord;

// The commands of the tab "Porównanie" and what a selected row does: its
// route is shown on the map in place of the links, read-only, while the row
// is selected on this tab and the run was made on the current set; "Użyj
// tej drogi" makes it the set's links, one step of the history. It also
// follows the running search for the chart: it watches the routes the
// window's progress offers and hands their lengths to the history.
class TRunCompare : public QObject {
    Q_OBJECT

public:
    TRunCompare(TDocument& document, const TSearchRunner& runner, TMapController& map, TWindowProgress& progress,
                TCompareTab& tab, QTabWidget& pages, QWidget& parent);

    void actUseRunExecute();
    void actClearRunsExecute();
    void actExportRunsExecute();
    void actSaveChartExecute();

    // The selected row's run can become the links: it found a route on
    // the set as it is now.
    bool CanUseSelected() const;

private:
    // The selected record; null for none.
    const TRunRecord* SelectedRun() const;
    // The map shows the selected run's route, or the links again.
    void ShowSelectedRoute();
    // Saves content under fileName; a failure is the error box.
    bool SaveFile(const QString& fileName, const std::string& content);

    TDocument& FDocument;
    const TSearchRunner& FRunner;
    TRunHistory& FHistory;
    TMapController& FMap;
    TCompareTab& FTab;
    QTabWidget& FPages;
    QWidget& FParent;
    // Whether the map shows a route this controller put there.
    bool FShowsRoute = false;
};
