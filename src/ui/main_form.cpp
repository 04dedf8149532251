#include "ui/main_form.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

#include <sys/stat.h>

#include "ui/application.h"
#include "ui/commands.h"
#include "ui/compare_tab.h"
#include "ui/distance_grid.h"
#include "ui/document.h"
#include "ui/edit_commands.h"
#include "ui/export_command.h"
#include "ui/file_commands.h"
#include "ui/file_names.h"
#include "ui/help_commands.h"
#include "ui/map_controller.h"
#include "ui/map_placement.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/route_files.h"
#include "ui/run_compare.h"
#include "ui/search_runner.h"
#include "ui/search_runs.h"
#include "ui/search_tab.h"
#include "ui/status_bar.h"
#include "ui/version/QZVersionInfo.h"
#include "ui/window_progress.h"

TMainForm::TMainForm(const QStringList& commandLine, QWidget* parent)
    : QMainWindow(parent), FDocument(new TDocument(this)), FRunner(new TSearchRunner(this))
{
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    QZVer1 = new TQZVersionInfo(this);
    QZVer1->setObjectName(QStringLiteral("QZVer1"));
    CreateCommands();
    CreateLayout();
    CreateControllers();
    CreateMenus();
    CreateToolBar();

    // Small enough for any screen, large enough to keep every control of
    // the search tab usable beside the point column at its design width.
    setMinimumSize(ColumnWidth + SplitterWidth + PageControl1->minimumSizeHint().width(), minimumSizeHint().height());
    resize(DesignClientWidth, DesignClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(DesignOuterWidth / 2, DesignOuterHeight / 2));
    setWindowTitle(QString::fromUtf8(ApplicationTitle));

    FormCreate(commandLine);
}

TMainForm::~TMainForm()
{
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        disconnect(dispatcher, nullptr, this, nullptr);
    // The document and its history go with the window's children, and the
    // history signals as it empties: nothing of the window may hear it.
    disconnect(&FDocument->History(), nullptr, this, nullptr);
    disconnect(FDocument, nullptr, nullptr, nullptr);
}

const TPointSetState& TMainForm::State() const
{
    return FDocument->State();
}

void TMainForm::CreateControllers()
{
    FMap = new TMapController(*FDocument, *FRunner, *FProgress, *StatusBar1, *ListBox1,
                              {*actFitMap, *actDragPoints, *actLiveRoute, *actPointNumbers}, this);
    FMapPlacement = new TMapPlacement(*this, *actDockMap, this);
    FRoutes = new TRouteFiles(*FDocument, *this);
    FFiles = new TFileCommands(*FDocument, *FProgress, *FRoutes, *actSaveArray, *this);
    FExport = new TExportCommand(*FDocument, *actPointNumbers, *ListBox1, *this);
    FEdits =
        new TEditCommands(*FDocument, *FProgress, *ListBox1, *SearchTab, FMap->View(), StringGrid1->Model(), *this);
    connect(FEdits, &TEditCommands::MapDue, FMap, [this] { FMap->DrawMap(); });
    FSearches = new TSearchRuns(*FDocument, *FRunner, *FProgress, *SearchTab, *ListBox1, StringGrid1->Model(),
                                *actGenerate, *actStop, *this);
    FSearches->SetAfterRun([this] { FinishCloseAfterSearch(); });
    FHelp = new THelpCommands(*QZVer1, *cmdEmail, *cmdVisitWWW, *this);
    FRunCompare = new TRunCompare(*FDocument, *FRunner, *FMap, *FProgress, *CompareTab, *PageControl1, *this);
}

void TMainForm::FormCreate(const QStringList& commandLine)
{
    if (commandLine.size() > 1) {
        // The name's bytes, also when Qt could not decode them.
        const std::string argument = FileNameToStd(commandLine.at(1));
        struct stat info {};
        if (::stat(argument.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            FFiles->OpenAtStart(argument);
    }
    // Qt has no idle event: the dispatcher's last call before it waits is
    // the moment, and it does not come while a search processes events.
    // The signal is no event, so the application object cannot catch what
    // escapes it; the error box it may show waits without a second idle
    // pass of its own, which could only fail the same way.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (FInIdle)
                return;
            FInIdle = true;
            TApplication::Guarded([this] {
                ApplicationIdle();
                return true;
            });
            FInIdle = false;
        });
    // Every widget paints into the window's back buffer already: painting is
    // double-buffered without being asked.
}

void TMainForm::AttachMapForm(TMapForm* mapForm)
{
    FMap->Attach(mapForm);
    FMapPlacement->Attach(mapForm);
    // A misplaced click is taken back where it was made, and the map zooms
    // where it is looked at.
    for (TCommand* command : {actUndo, actRedo, actDeletePoints, actZoomIn, actZoomOut, actZoomReset, actFitMap})
        mapForm->addAction(command);
}

TMapForm* TMainForm::MapForm() const
{
    return FMap->MapForm();
}

void TMainForm::FormShow()
{
    if (Tag != 0)
        return;
    FMap->PrepareMapSurface();
    Tag = ShownTag;
    // From now on the list (and the map after it) follows the set.
    ListBox1->Follow();
    FFiles->WindowShown();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMainForm::FormCloseQuery(bool& canClose)
{
    canClose = QuerySaveChanges();
}

bool TMainForm::QuerySaveChanges()
{
    return FFiles->QuerySaveChanges();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FCloseConfirmed || !FRunner->Searching()) {
        bool canClose = FCloseConfirmed;
        if (!canClose)
            FormCloseQuery(canClose);
        if (canClose)
            QMainWindow::closeEvent(event);
        else
            event->ignore();
        return;
    }
    // The search is still on the call stack and waits while the question
    // is open; the window closes once the run has returned.
    event->ignore();
    if (FAfterSearch != TAfterSearch::Nothing)
        return;
    switch (FFiles->AskSaveChanges()) {
    case TDialogs::TAnswer::Cancel:
        return;
    case TDialogs::TAnswer::No:
        FAfterSearch = TAfterSearch::Close;
        break;
    case TDialogs::TAnswer::Yes:
        FAfterSearch = TAfterSearch::SaveThenClose;
        break;
    }
    actStop->Execute();
}

void TMainForm::FinishCloseAfterSearch()
{
    const TAfterSearch next = FAfterSearch;
    FAfterSearch = TAfterSearch::Nothing;
    if (next == TAfterSearch::Nothing)
        return;
    // Once the window has shown the result and the links.
    QTimer::singleShot(0, this, [this, next] {
        if (next == TAfterSearch::SaveThenClose && (!actSaveArray->Execute() || State().FModified))
            return;
        FCloseConfirmed = true;
        close();
    });
}

bool TMainForm::event(QEvent* event)
{
    // Hints go into panel 0, where progress texts go too: the last writer
    // wins, and the status bar keeps its panels.
    if (event->type() == QEvent::StatusTip) {
        StatusBar1->SetPanelText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::UpdateTitle()
{
    QString title = QString::fromUtf8(ApplicationTitle);
    if (!State().FFileName.empty()) {
        // Asked every time: a file deleted behind the program's back loses
        // its place in the caption at the next idle moment.
        const QString name = FileNameFromStd(State().FFileName);
        const QFileInfo file(name);
        if (file.exists() && !file.isDir())
            title += QStringLiteral(" - ") + name;
    }
    if (State().FModified)
        title += QStringLiteral(" [zmieniony]");
    if (windowTitle() != title)
        setWindowTitle(title);
}

void TMainForm::ApplicationIdle()
{
    UpdateTitle();
    UpdateCommands();
}

void TMainForm::ShowStatus(const std::string& text, int32_t panel)
{
    FProgress->ShowStatus(text, panel);
}

TProgressBar& TMainForm::PrBar()
{
    return FProgress->PrBar();
}

TNumberFormat TMainForm::NumberFormat() const
{
    return WindowNumberFormat();
}

void TMainForm::ListBox1Click()
{
    if (ListBox1->SelCount() != 1)
        return;
    const int current = ListBox1->ItemIndex();
    StringGrid1->SetRow(current + 1);
    StringGrid1->SetCol(current + 1);
}

void TMainForm::ListBox1MouseUp()
{
    FMap->DrawMap();
}

void TMainForm::Header1SectionResize()
{
    ListBox1->viewport()->update();
}
