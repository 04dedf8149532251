#pragma once

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <string>

#include "core/number_text.h"
#include "core/point_set.h"
#include "core/progress_bar.h"

class QFrame;
class QHeaderView;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QToolBar;

class TCommand;
class TCommandList;
class TCompareTab;
class TDistanceGrid;
class TDocument;
class TEditCommands;
class TExportCommand;
class TFileCommands;
class THelpCommands;
class TMapController;
class TMapForm;
class TMapPlacement;
class TPointList;
class TQZVersionInfo;
class TRouteFiles;
class TRunCompare;
class TSearchRuns;
class TSearchRunner;
class TSearchTab;
class TStatusBar;
class TWindowProgress;

// The program's main window: the layout (main_form_layout.cpp), the command
// table with its menus, tool bar and enabling rules (main_form_commands.cpp),
// the title and the window's life. The set is the document's (TDocument),
// which alone changes it; the views (the point list, the distance table,
// the search tab's result list, the map) follow the document and the
// search runner themselves; the work behind the commands is done by the
// controllers (files, routes, export, editing, search runs, the map, help),
// each handed only the parts of the window it needs. Controls carry their
// design names as objectName, so tests and tools find them.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // commandLine as QCoreApplication::arguments() gives it: the program
    // first, then its arguments.
    explicit TMainForm(const QStringList& commandLine = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    TDocument& Document() { return *FDocument; }
    const TPointSetState& State() const;
    // Whether a search (or an estimate) runs.
    TSearchRunner& Runner() { return *FRunner; }

    // The parts the window is made of.
    TMapController& Map() { return *FMap; }
    TFileCommands& Files() { return *FFiles; }
    TRouteFiles& Routes() { return *FRoutes; }
    TEditCommands& Edits() { return *FEdits; }
    TSearchRuns& Searches() { return *FSearches; }
    TRunCompare& Compare() { return *FRunCompare; }

    // The status bar's panels and the progress bar the operations step.
    void ShowStatus(const std::string& text, int32_t panel);
    TProgressBar& PrBar();
    TNumberFormat NumberFormat() const;

    // The map window, created after the main window; null until then.
    void AttachMapForm(TMapForm* mapForm);
    TMapForm* MapForm() const;

    // The idle moment: the title first, then every enabling rule.
    void ApplicationIdle();
    void UpdateTitle();
    void UpdateCommands();
    // The question about unsaved changes; true when the set may go.
    bool QuerySaveChanges();

    // The list's and the header's handlers.
    void ListBox1Click();
    void ListBox1MouseUp();
    void Header1SectionResize();

    // First-show marker: 0 until the window has been shown once.
    int Tag = 0;
    static constexpr int ShownTag = 99;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate(const QStringList& commandLine);
    void FormShow();
    void FormCloseQuery(bool& canClose);
    // What a close during the search asked for, once the run has returned.
    void FinishCloseAfterSearch();

    // The window's client area at its design size (outer 636 x 500), and
    // the point column's.
    static constexpr int DesignClientWidth = 628;
    static constexpr int DesignClientHeight = 466;
    static constexpr int DesignOuterWidth = 636;
    static constexpr int DesignOuterHeight = 500;
    static constexpr int ColumnWidth = 237;
    static constexpr int SplitterWidth = 4;
    static constexpr int SplitterMinSize = 160;

    void CreateLayout();
    // The status bar with the progress bar, and the progress they show.
    void CreateStatusBar(QWidget* parent);
    // The toolbar and the point list, left of the splitter.
    void CreatePointColumn();
    // The tabs "Odległości", "Szukanie drogi" and "Porównanie", right of it.
    void CreatePages();
    void CreateControllers();
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    // Undo and redo show the step they would take in their captions.
    void ShowHistoryCaptions();

    void cmdQuitExecute();
    void actShowWayExecute();
    void actFitMapExecute();

    // The enabling rules. The commands that change or replace the set
    // share actCountWayUpdate: enabled while no search runs and no step of
    // the history is being applied.
    bool actCountWayUpdate();
    bool actLoadRouteUpdate();
    bool actSetNextUpdate();
    bool actUndoUpdate();
    bool actRedoUpdate();
    bool actDeletePointsUpdate();
    bool actEditPointUpdate();
    // actStop: while a search runs.
    bool actStopUpdate();
    // "Użyj tej drogi": a selected run of the current set, no search.
    bool actUseRunUpdate();
    // The history's other commands: runs in it, no search.
    bool actRunsUpdate();

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
    // TabSheet4, the tab "Porównanie".
    TCompareTab* CompareTab = nullptr;
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
    TCommand* actDockMap = nullptr;
    TCommand* actEstimateRoute = nullptr;
    TCommand* actFitMap = nullptr;
    TCommand* actZoomIn = nullptr;
    TCommand* actZoomOut = nullptr;
    TCommand* actZoomReset = nullptr;
    TCommand* actPointNumbers = nullptr;
    TCommand* actLiveRoute = nullptr;
    TCommand* actUndo = nullptr;
    TCommand* actRedo = nullptr;
    TCommand* actDeletePoints = nullptr;
    TCommand* actEditPoint = nullptr;
    TCommand* actDragPoints = nullptr;
    TCommand* cmdShowAbout = nullptr;
    TCommand* cmdVisitWWW = nullptr;
    TCommand* cmdEmail = nullptr;
    TCommand* actUseRun = nullptr;
    TCommand* actClearRuns = nullptr;
    TCommand* actExportRuns = nullptr;
    TCommand* actSaveChart = nullptr;

    // The program's own version information, read once at creation.
    TQZVersionInfo* QZVer1 = nullptr;

    TDocument* FDocument = nullptr;
    TSearchRunner* FRunner = nullptr;
    TWindowProgress* FProgress = nullptr;
    TMapController* FMap = nullptr;
    TMapPlacement* FMapPlacement = nullptr;
    TRouteFiles* FRoutes = nullptr;
    TFileCommands* FFiles = nullptr;
    TExportCommand* FExport = nullptr;
    TEditCommands* FEdits = nullptr;
    TSearchRuns* FSearches = nullptr;
    THelpCommands* FHelp = nullptr;
    TRunCompare* FRunCompare = nullptr;

    bool FInIdle = false;
    // A close asked for during a search waits until the search has
    // returned; the question about changes has been answered by then.
    enum class TAfterSearch { Nothing, Close, SaveThenClose };
    TAfterSearch FAfterSearch = TAfterSearch::Nothing;
    bool FCloseConfirmed = false;
};
