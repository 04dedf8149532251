#include "ui/main_form.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

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
#include "ui/search_runs.h"
#include "ui/search_tab.h"
#include "ui/set_views.h"
#include "ui/status_bar.h"
#include "ui/version/QZVersionInfo.h"
#include "ui/window_progress.h"

namespace {

// The window's client area at its design size (outer 636 x 500).
constexpr int DesignClientWidth = 628;
constexpr int DesignClientHeight = 466;
constexpr int DesignOuterWidth = 636;
constexpr int DesignOuterHeight = 500;
constexpr int ColumnWidth = 237;
constexpr int SplitterWidth = 4;
constexpr int SplitterMinSize = 160;

}  // namespace

TMainForm::TMainForm(const QStringList& commandLine, QWidget* parent)
    : QMainWindow(parent), FDocument(new TDocument(this))
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

TPointSetState& TMainForm::State()
{
    return FDocument->State();
}

const TPointSetState& TMainForm::State() const
{
    return FDocument->State();
}

void TMainForm::CreateLayout()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* rows = new QVBoxLayout(central);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(SplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setOpaqueResize(true);
    CreatePointColumn();
    CreatePages();
    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(Panel2);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ColumnWidth, DesignClientWidth - ColumnWidth - SplitterWidth});
    rows->addWidget(Splitter1, 1);

    StatusBar1 = new TStatusBar({{240, false}, {200, true}, {50, false}}, central);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    rows->addWidget(StatusBar1);
    PrBarView = new QProgressBar(StatusBar1);
    PrBarView->setObjectName(QStringLiteral("PrBar"));
    PrBarView->setGeometry(243, 3, 195, 17);
    PrBarView->setTextVisible(false);
    PrBarView->setRange(0, 100);
    PrBarView->setValue(0);
}

void TMainForm::CreatePointColumn()
{
    Panel1 = new QFrame(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setMinimumWidth(SplitterMinSize);
    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    CoolBar1 = new QFrame(Panel1);
    CoolBar1->setObjectName(QStringLiteral("CoolBar1"));
    CoolBar1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    CoolBar1->setFixedHeight(26);
    auto* band = new QHBoxLayout(CoolBar1);
    band->setContentsMargins(2, 2, 2, 2);
    band->setSpacing(0);
    ToolBar1 = new QToolBar(CoolBar1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(22);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"));
    band->addWidget(ToolBar1);
    column->addWidget(CoolBar1);

    Panel3 = new QFrame(Panel1);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::NoFrame);
    auto* listColumn = new QVBoxLayout(Panel3);
    listColumn->setContentsMargins(0, 0, 0, 0);
    listColumn->setSpacing(0);

    Header1 = new QHeaderView(Qt::Horizontal, Panel3);
    Header1->setObjectName(QStringLiteral("Header1"));
    auto* sections = new QStandardItemModel(0, 3, Header1);
    sections->setHorizontalHeaderLabels({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("V")});
    Header1->setModel(sections);
    Header1->setSectionsMovable(false);
    Header1->setStretchLastSection(false);
    Header1->setSectionResizeMode(QHeaderView::Interactive);
    Header1->setMinimumSectionSize(0);
    Header1->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int section = 0; section < 3; ++section)
        Header1->resizeSection(section, 60);
    Header1->setFixedHeight(17);
    connect(Header1, &QHeaderView::sectionResized, this, [this] { Header1SectionResize(); });
    listColumn->addWidget(Header1);

    ListBox1 = new TPointList(FDocument->SharedState(), *Header1, Panel3);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBox1, &TPointList::Click, this, [this] { ListBox1Click(); });
    connect(ListBox1, &TPointList::MouseUp, this, [this] { ListBox1MouseUp(); });
    listColumn->addWidget(ListBox1, 1);
    column->addWidget(Panel3, 1);
}

void TMainForm::CreatePages()
{
    Panel2 = new QFrame(Splitter1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::NoFrame);
    Panel2->setMinimumWidth(SplitterMinSize);
    auto* right = new QVBoxLayout(Panel2);
    right->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(Panel2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    right->addWidget(PageControl1);

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    auto* gridPage = new QVBoxLayout(TabSheet2);
    gridPage->setContentsMargins(0, 0, 0, 0);
    StringGrid1 = new TDistanceGrid(FDocument->SharedState(), TabSheet2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    gridPage->addWidget(StringGrid1);
    PageControl1->addTab(TabSheet2, QStringLiteral("Odległości"));

    SearchTab = new TSearchTab(actGenerate, actStop, actShowWay);
    PageControl1->addTab(SearchTab, QStringLiteral("Szukanie drogi"));
    SearchTab->FitToFont();
    CompareTab = new TCompareTab(FDocument->Runs(), actUseRun, actClearRuns, actExportRuns, actSaveChart);
    PageControl1->addTab(CompareTab, QStringLiteral("Porównanie"));
    PageControl1->setCurrentIndex(0);
    PageControl1->setEnabled(false);
}

void TMainForm::CreateControllers()
{
    FProgress = new TWindowProgress(*FDocument, *StatusBar1, *PrBarView, this);
    FViews = new TSetViews(*FDocument, *FProgress, *StringGrid1, *ListBox1, *SearchTab, *PageControl1, this);
    FMap = new TMapController(*FDocument, *FViews, *FProgress, *StatusBar1, *ListBox1,
                              {*actFitMap, *actDragPoints, *actLiveRoute, *actPointNumbers}, this);
    FMapPlacement = new TMapPlacement(*this, *actDockMap, this);
    FRoutes = new TRouteFiles(*FDocument, *this);
    FFiles = new TFileCommands(*FDocument, *FViews, *FProgress, *FRoutes, *actSaveArray, *this);
    FExport = new TExportCommand(*FDocument, *actPointNumbers, *ListBox1, *this);
    FEdits = new TEditCommands(*FDocument, *FViews, *FProgress, *ListBox1, *SearchTab, *FMap, *this);
    FSearches = new TSearchRuns(*FDocument, *FViews, *FProgress, *SearchTab, *ListBox1, *actGenerate, *actStop, *this);
    FSearches->SetAfterRun([this] { FinishCloseAfterSearch(); });
    FHelp = new THelpCommands(*QZVer1, *cmdEmail, *cmdVisitWWW, *this);
    FRunCompare = new TRunCompare(*FDocument, *FMap, *FProgress, *CompareTab, *PageControl1, *this);
}

void TMainForm::FormCreate(const QStringList& commandLine)
{
    State().FSearching = false;
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
    FViews->SetShown();
    FViews->Rebuild(TSetViews::TRebuild::List);
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
    if (FCloseConfirmed || !State().FSearching) {
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
