#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/point_set.h"
#include "core/point_set_ops.h"
#include "core/progress.h"
#include "core/progress_bar.h"
#include "raster/map_fit.h"
#include "ui/dialogs.h"

class QFrame;
class QHeaderView;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QToolBar;
class QUndoCommand;
class QUndoStack;

class TCommand;
class TCommandList;
class TDistanceGrid;
class TMapForm;
class TPointList;
class TSearchTab;
class TStatusBar;
class TQZVersionInfo;

// The program's one workspace. It holds the document (the point set, routes,
// matrix, file name and flags) that its views read, runs the commands on it
// and decides what to rebuild after each change. Controls carry their design
// names, as objectName too, so tests and tools find them.
//
// The methods are spread over several files by subject: main_form.cpp
// (window, layout, title, the refresh chain, list and table),
// main_form_files.cpp (new, open, save and the question about changes),
// main_form_route.cpp (the route kept in a tour file beside the set),
// main_form_export.cpp (export), main_form_commands.cpp (the command table,
// menus and tool bar),
// main_form_search.cpp (run control), main_form_editing.cpp (point-set
// editing and its history), main_form_map.cpp (DrawMap, AddPoint, dragging
// points), main_form_about.cpp (About box and contact commands). The search
// tab is TSearchTab; the steps of the history are in undo_commands.h.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // commandLine as QCoreApplication::arguments() gives it: the program
    // first, then its arguments.
    explicit TMainForm(const QStringList& commandLine = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The document the views show.
    TPointSetState& State() { return *FDocument; }
    const TPointSetState& State() const { return *FDocument; }

    // The status bar's panels and progress bar.
    void ShowStatus(const std::string& text, int32_t panel);
    TProgressBar& PrBar() { return FProgress; }
    TNumberFormat NumberFormat() const;

    // What an operation rebuilds after it changed the document, each step
    // including the ones after it: the matrix and the distance table, then
    // the point list with the permutation count, then the map.
    enum class TRebuild {
        Map,         // DrawMap
        List,        // RefreshPointList, which draws the map
        Matrix,      // ComputeDistances and FillDistanceGrid only
        Everything,  // Matrix, then List
    };
    void Rebuild(TRebuild what, int32_t firstNewPoint = 0);
    void FillDistanceGrid();
    void RefreshPointList();

    // Window life.
    void FormCreate(const QStringList& commandLine);
    void FormShow();
    void FormCloseQuery(bool& canClose);
    bool QuerySaveChanges();
    void UpdateTitle();
    // The idle moment: the title first, then every enabling rule.
    void ApplicationIdle();
    void UpdateCommands();
    // The map window, created after the main window; its size changes and
    // presses come back here.
    void AttachMapForm(TMapForm* mapForm);

    // File and window commands.
    void actNewArrayExecute();
    void actOpenArrayExecute();
    void actSaveArrayExecute();
    // "Eksportuj...": the route, the points or the map in another format
    // (main_form_export.cpp).
    void actExportExecute();
    // LoadPointSet and what shows the new set, or the error box.
    void OpenPointSet(const std::string& fileName);
    // "Wczytaj drogę...": a tour or route CSV becomes the links of the set
    // of its size, one step of the history (main_form_route.cpp).
    void actLoadRouteExecute();
    bool actLoadRouteUpdate();
    // The route file's links onto the set, or the error box; false then.
    bool LoadRoute(const std::string& fileName);
    void cmdQuitExecute();
    void actShowWayExecute();
    // The rule the commands that change or replace the set share: enabled
    // while no search runs and no step of the history is being applied.
    bool actCountWayUpdate();

    // Run control (main_form_search.cpp).
    void actGenerateExecute();
    void actStopExecute();
    // Enables actStop while a search runs and the search tab's group boxes
    // while none does; returns actStop's state.
    bool actStopUpdate();

    // Point-set editing (main_form_editing.cpp).
    void RandomizePoints(int32_t Count);
    void actRandomArrayExecute();
    void actZeroArrayExecute();
    void actSetNextExecute();
    bool actSetNextUpdate();
    void actCountWayExecute();
    // The editing history: every change of the set is a step on it, and
    // FModified follows it (the set is unchanged exactly when the steps
    // since the last load or save change nothing; see HistoryChangesSet).
    // Loading a file and "Nowy zbiór" clear it.
    QUndoStack& History() { return *FHistory; }
    void actUndoExecute();
    bool actUndoUpdate();
    void actRedoExecute();
    bool actRedoUpdate();
    // "Usuń zaznaczone punkty": links to them cleared, the rest renumbered.
    void actDeletePointsExecute();
    bool actDeletePointsUpdate();
    // "Zmień współrzędne...": "X; Y", asked again while it does not read.
    void actEditPointExecute();
    bool actEditPointUpdate();
    // "Oszacuj jakość drogi": the lower bound, and how far the linked route
    // can be from the shortest (main_form_search.cpp).
    void actEstimateRouteExecute();

    // About box and contact commands (main_form_about.cpp).
    void cmdShowAboutExecute();
    void cmdEmailExecute();
    void cmdVisitWWWExecute();

    // Point list and table.
    void ListBox1Click();
    void ListBox1MouseUp();
    void Header1SectionResize();

    // Map (main_form_map.cpp).
    void DrawMap();
    void AddPoint(int32_t X, int32_t Y);
    // "Dopasuj mapę do okna": the points scaled to fill the map or at their
    // own pixels; presses on the map add points at the matching unscaled
    // coordinates.
    void actFitMapExecute();
    // The point coordinates a press on map pixel (x, y) stands for.
    QPoint PointAtMapPixel(int32_t x, int32_t y) const;
    // The point whose square covers map pixel (x, y) as last drawn, the
    // top one (the highest index) where squares overlap; -1 when none.
    int32_t PointAtMapSquare(int32_t x, int32_t y) const;
    // Presses on the map add points; with "Przesuwanie punktów myszą" on, a
    // left press on a square drags that point instead, and the release
    // drops it (one step of the history).
    void MapMouseDown(Qt::MouseButton button, int32_t x, int32_t y);
    void MapMouseMove(int32_t x, int32_t y);
    void MapMouseUp(Qt::MouseButton button, int32_t x, int32_t y);

    // First-show marker: 0 until the window has been shown once.
    int Tag = 0;
    static constexpr int ShownTag = 99;

    // Layout.
    QFrame* Panel1 = nullptr;
    QFrame* CoolBar1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QFrame* Panel3 = nullptr;
    QHeaderView* Header1 = nullptr;
    TPointList* ListBox1 = nullptr;
    QMenu* ListPopup = nullptr;
    QSplitter* Splitter1 = nullptr;
    QFrame* Panel2 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    TDistanceGrid* StringGrid1 = nullptr;
    // TabSheet3, the tab "Szukanie drogi".
    TSearchTab* SearchTab = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    // The progress bar's widget (objectName "PrBar"); the bar itself, which
    // the operations step, is PrBar().
    QProgressBar* PrBarView = nullptr;

    // Commands.
    TCommandList* ActionList1 = nullptr;
    TCommand* actNewArray = nullptr;
    TCommand* actOpenArray = nullptr;
    TCommand* actSaveArray = nullptr;
    TCommand* actLoadRoute = nullptr;
    TCommand* actExport = nullptr;
    TCommand* cmdQuit = nullptr;
    TCommand* actZeroArray = nullptr;
    TCommand* actRandomArray = nullptr;
    TCommand* actSetNext = nullptr;
    TCommand* actCountWay = nullptr;
    TCommand* actGenerate = nullptr;
    TCommand* actStop = nullptr;
    TCommand* actShowWay = nullptr;
    TCommand* actEstimateRoute = nullptr;
    TCommand* actFitMap = nullptr;
    TCommand* actUndo = nullptr;
    TCommand* actRedo = nullptr;
    TCommand* actDeletePoints = nullptr;
    TCommand* actEditPoint = nullptr;
    TCommand* actDragPoints = nullptr;
    TCommand* cmdShowAbout = nullptr;
    TCommand* cmdVisitWWW = nullptr;
    TCommand* cmdEmail = nullptr;

    // Created after the main window (start-up order); null until then.
    TMapForm* MapForm = nullptr;
    // The program's own version information, read once at creation.
    TQZVersionInfo* QZVer1 = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Long work's view of the window: the status bar, the progress bar, a
    // pass of the event loop, and the stop flag.
    class TWindowProgress final : public TProgress {
    public:
        explicit TWindowProgress(TMainForm& form) : FForm(form) {}
        void ShowStatus(const std::string& text, int32_t panel) override { FForm.ShowStatus(text, panel); }
        TProgressBar& PrBar() override { return FForm.FProgress; }
        void ProcessEvents() override;
        bool GoOn() const override { return FForm.State().FSearching; }
        TNumberFormat NumberFormat() const override { return FForm.NumberFormat(); }

    private:
        TMainForm& FForm;
    };

    // "Zapisać zmiany?" with Tak, Nie and Anuluj.
    TDialogs::TAnswer AskSaveChanges();
    // The route beside the set (main_form_route.cpp). Before a save: the
    // tour file to write the route into, empty for none (no route, or Nie),
    // nothing when the user cancels the save ("Zapisać drogę?").
    std::optional<std::string> AskRouteBeside(const std::string& pointFileName);
    // After the points were saved: the route into routeFile, or word that
    // links which make no route were left out.
    void SaveRouteBeside(const std::string& routeFile);
    // Asks whether to load the tour file beside a set just opened, if any.
    void OfferRouteBeside(const std::string& pointFileName);
    // What a close during the search asked for, once the run has returned.
    void FinishCloseAfterSearch();
    // The window around a search or an estimate: results cleared, focus on
    // "Przerwij", wait cursor, the clock of panel 2 started; and back.
    void BeginLongWork(bool countsGenerations);
    void EndLongWork();
    // Panel 2 during a search: the time left while it can be estimated from
    // the bar, or the steps so far when the bar has no end.
    void ShowSearchProgress();
    void CreateLayout();
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    // The error box of a failed read or write: the file's name, then why.
    void ShowFileError(const std::string& fileName, const TOperationError& error);
    void PrepareMapSurface();
    // The first selected row, -1 when none.
    int32_t FirstSelectedRow() const;
    // Makes a change as a step of the history (the stack runs its redo).
    void PushStep(QUndoCommand* step);
    // Undo and redo show the step they would take in their captions.
    void ShowHistoryCaptions();
    void SyncModified();
    // Where a dragged point would land were it dropped at map pixel (x, y).
    QPoint DragTarget(int32_t x, int32_t y) const;

    // Shared with the list and the table, so it outlives them whichever
    // goes first.
    std::shared_ptr<TPointSetState> FDocument;
    // What a read found worth saying (rounded coordinates), shown in panel 0
    // once the window is on screen.
    std::string FReadNotice;
    // A set opened before the window was shown, whose route file is offered
    // at the first showing.
    std::string FRouteOfferFor;
    // The scale of the last drawing, so a press maps back to the points.
    // It holds still while a point is dragged.
    TMapFit FMapFit;
    QUndoStack* FHistory = nullptr;
    // A step is being made or taken back. Its rebuild passes events on, and
    // a change made in between would come out of order with the stack, so
    // editing waits: the commands are disabled and map presses come later.
    bool FApplyingStep = false;
    // The point being dragged (-1: none), the pixel of the press and the
    // top-left pixel of its square then.
    struct TMapDrag {
        int32_t Point = -1;
        QPoint Press;
        QPoint Square;
    };
    TMapDrag FDrag;
    TProgressBar FProgress;
    TWindowProgress FWindowProgress{*this};
    std::chrono::steady_clock::time_point FSearchStart;
    int64_t FStepsAtSearchStart = 0;
    bool FSearchCountsGenerations = false;
    bool FInIdle = false;
    // A close asked for during a search waits until the search has
    // returned; the question about changes has been answered by then.
    enum class TAfterSearch { Nothing, Close, SaveThenClose };
    TAfterSearch FAfterSearch = TAfterSearch::Nothing;
    bool FCloseConfirmed = false;
};
