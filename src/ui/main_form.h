#pragma once

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <string>

#include "core/host.h"
#include "core/point_set.h"
#include "core/progress_bar.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QHeaderView;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabWidget;
class QToolBar;

class TCommand;
class TCommandList;
class TDistanceGrid;
class TMapForm;
class TPointList;
class TSpinEdit;
class TStatusBar;
class TQZVersionInfo;

// The program's one workspace. It owns all state (the point set, routes,
// matrix, file name and flags come from TPointSetState) and is the host the
// core operations report to. Controls carry their design names, as
// objectName too, so tests and tools find them.
//
// The methods are spread over several files by subject: main_form.cpp
// (window, file commands, title, list and table refresh), commands.cpp
// (the command table), main_form_search.cpp (run control),
// main_form_editing.cpp (point-set editing), main_form_about.cpp (About box
// and contact commands), map_window.cpp (DrawMap, AddPoint).
class TMainForm : public QMainWindow, public TPointSetState, public TCoreHost {
    Q_OBJECT

public:
    // commandLine as QCoreApplication::arguments() gives it: the program
    // first, then its arguments.
    explicit TMainForm(const QStringList& commandLine = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // What the core operations and the searches need of the window.
    void ShowStatus(const std::string& text, int32_t panel) override;
    TProgressBar& PrBar() override { return FProgress; }
    void ProcessEvents() override;
    bool GoOn() const override { return FSearching; }
    TNumberFormat NumberFormat() const override;
    void FillDistanceGrid() override;
    void RefreshPointList() override;
    bool IsShowing() const override;
    void ShowError(const std::string& caption, const std::string& text) override;

    // Window life.
    void FormCreate(const QStringList& commandLine);
    void FormShow();
    void FormCloseQuery(bool& canClose);
    bool QuerySaveChanges();
    void UpdateTitle();
    // The idle moment: the title first, then every enabling rule.
    void ApplicationIdle();
    void UpdateCommands();
    void AttachMapForm(TMapForm* mapForm);

    // Search tab.
    void cbMethodClick();
    void seGenTresholdEnter();
    void seGenCountEnter();

    // File and window commands.
    void actNewArrayExecute();
    void actOpenArrayExecute();
    void actSaveArrayExecute();
    void cmdQuitExecute();
    void actShowWayExecute();
    // The rule eight commands share: enabled exactly while no search runs.
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

    // About box and contact commands (main_form_about.cpp).
    void cmdShowAboutExecute();
    void cmdEmailExecute();
    void cmdVisitWWWExecute();

    // Point list and table.
    void ListBox1Click();
    void ListBox1MouseUp();
    void Header1SectionResize();

    // Map (map_window.cpp).
    void DrawMap();
    void AddPoint(int32_t X, int32_t Y);

    // First-show marker: 0 until the window has been shown once, 99 after.
    int Tag = 0;

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
    QWidget* TabSheet3 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    // The progress bar's widget (objectName "PrBar"); the bar itself, which
    // the operations step, is PrBar().
    QProgressBar* PrBarView = nullptr;

    // Search tab.
    QComboBox* cbMethod = nullptr;
    QPushButton* Button1 = nullptr;  // actGenerate
    QPushButton* Button2 = nullptr;  // actStop, captioned "Przerwij"
    QLabel* lblSilniaDsc = nullptr;
    QLabel* lblSilnia = nullptr;
    QGroupBox* gbRandom = nullptr;
    TSpinEdit* seRandomCount = nullptr;
    QGroupBox* gbGenStopRules = nullptr;
    QRadioButton* rbGenTreshold = nullptr;
    TSpinEdit* seGenTreshold = nullptr;
    QRadioButton* rbGenCount = nullptr;
    TSpinEdit* seGenCount = nullptr;
    QGroupBox* gbGenParams = nullptr;
    TSpinEdit* sePopulation = nullptr;
    QLineEdit* edtCrossover = nullptr;
    QLineEdit* edtMutation = nullptr;
    QCheckBox* chkSecureBad = nullptr;
    QGroupBox* gbGenResults = nullptr;
    QPushButton* Button3 = nullptr;  // actShowWay
    QListWidget* lbResults = nullptr;

    // Commands.
    TCommandList* ActionList1 = nullptr;
    TCommand* actNewArray = nullptr;
    TCommand* actOpenArray = nullptr;
    TCommand* actSaveArray = nullptr;
    TCommand* cmdQuit = nullptr;
    TCommand* actZeroArray = nullptr;
    TCommand* actRandomArray = nullptr;
    TCommand* actSetNext = nullptr;
    TCommand* actCountWay = nullptr;
    TCommand* actGenerate = nullptr;
    TCommand* actStop = nullptr;
    TCommand* actShowWay = nullptr;
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
    void CreateLayout();
    void CreateSearchTab();
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();

    TProgressBar FProgress;
    bool FInIdle = false;
    // A close asked for during a search waits until the search has
    // returned; the question about changes has been answered by then.
    bool FCloseAfterSearch = false;
    bool FCloseConfirmed = false;
};
