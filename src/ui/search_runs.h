#pragma once

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>

#include "search/run/run_control.h"

class QWidget;
class TCommand;
class TDistanceGridModel;
class TDocument;
class TPointList;
class TSearchRunner;
class TSearchTab;
class TWindowProgress;

// "Szukaj drogi", "Przerwij szukanie" and "Oszacuj jakość drogi": the
// window's part in a run. It reads the search tab, refuses a kind of route
// the set can't have before anything changes, asks before a proof that may
// take hours, hands the method its own copy of the problem, raises and
// lowers the runner's flag, shows the result lines and has the document
// record the route the method returned, with its kind, as one step of the
// history; while work runs it keeps panel 2 current (time left, or
// generations so far). Every run, finished or stopped, goes into the
// document's history of runs, and every bound computed or proved is told to
// it, for the kind of route and the measure it bounds.
class TSearchRuns : public QObject {
    Q_OBJECT

public:
    // generate and stop are the commands whose buttons take the focus in
    // turn; parent is where the boxes show.
    TSearchRuns(TDocument& document, TSearchRunner& runner, TWindowProgress& progress, TSearchTab& searchTab,
                const TPointList& list, const TDistanceGridModel& distances, TCommand& generate, TCommand& stop,
                QWidget& parent);

    void actGenerateExecute();
    void actStopExecute();
    void actEstimateRouteExecute();
    // Runs once a search has returned and shown its result (the window's
    // close asked for during the run).
    void SetAfterRun(std::function<void()> afterRun) { FAfterRun = std::move(afterRun); }

private:
    // The window around a search or an estimate: results cleared, focus on
    // "Przerwij", wait cursor, the clock of panel 2 started; and back.
    void BeginLongWork(bool countsGenerations);
    void EndLongWork();
    // Panel 2 during a search: the time left while it can be estimated from
    // the bar, or the steps so far when the bar has no end.
    void ShowSearchProgress();
    // The run as a record of the document's history of runs.
    void AddToHistory(TSearchMethod method, const TSearchSettings& settings, const TRouteProblem& problem,
                      const TRunResult& result);

    TDocument& FDocument;
    TSearchRunner& FRunner;
    TWindowProgress& FProgress;
    TSearchTab& FSearchTab;
    const TPointList& FList;
    const TDistanceGridModel& FDistances;
    TCommand& FGenerate;
    TCommand& FStop;
    QWidget& FParent;
    std::function<void()> FAfterRun;
    std::chrono::steady_clock::time_point FSearchStart;
    int64_t FStepsAtSearchStart = 0;
    bool FSearchCountsGenerations = false;
};
