#include "ui/main_form.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "core/point_set_ops.h"
#include "raster/map_render.h"
#include "ui/QZVersionInfo.h"
#include "ui/anchors.h"
#include "ui/application.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/distance_grid.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/spin_edit.h"
#include "ui/status_bar.h"

// The tool-bar images live in the window library, which is static: their
// registration must be pulled in by name.
static void InitToolBarImages()
{
    Q_INIT_RESOURCE(toolbar);
}

namespace {

// The window's client area at its design size (outer 636 x 500).
constexpr int DesignClientWidth = 628;
constexpr int DesignClientHeight = 466;
constexpr int DesignOuterWidth = 636;
constexpr int DesignOuterHeight = 500;
constexpr int ColumnWidth = 237;
constexpr int SplitterWidth = 4;
constexpr int SplitterMinSize = 160;
// The search tab's page at the window's design size; anchored controls keep
// their distances to its sides.
constexpr QSize SearchTabDesignSize(379, 397);

std::string FileNameToStd(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

QString FileNameFromStd(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

QLabel* MakeLabel(const QString& text, QWidget* parent, const char* name = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A control at its design place, with its natural size where the design
// gives none.
void PlaceAt(TAnchors& anchors, QWidget* control, int x, int y, int width = -1, int height = -1,
             int sides = TAnchors::akLeft | TAnchors::akTop)
{
    const QSize natural = control->sizeHint();
    anchors.Place(control, QRect(x, y, width < 0 ? natural.width() : width, height < 0 ? natural.height() : height),
                  sides);
}

}  // namespace

TMainForm::TMainForm(const QStringList& commandLine, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    QZVer1 = new TQZVersionInfo(this);
    QZVer1->setObjectName(QStringLiteral("QZVer1"));
    InitToolBarImages();
    CreateCommands();
    CreateLayout();
    CreateMenus();
    CreateToolBar();

    resize(DesignClientWidth, DesignClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(DesignOuterWidth / 2, DesignOuterHeight / 2));
    setWindowTitle(QString::fromUtf8(ApplicationTitle));

    FormCreate(commandLine);
}

TMainForm::~TMainForm()
{
    FProgress.OnChange = nullptr;
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        disconnect(dispatcher, nullptr, this, nullptr);
    // The map and the views read the point set, which is gone before the
    // window's children are.
    delete MapForm;
    MapForm = nullptr;
    delete centralWidget();
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

    ListBox1 = new TPointList(FPoints, *Header1, Panel3);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBox1, &TPointList::Click, this, [this] { ListBox1Click(); });
    connect(ListBox1, &TPointList::MouseUp, this, [this] { ListBox1MouseUp(); });
    listColumn->addWidget(ListBox1, 1);
    column->addWidget(Panel3, 1);

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
    StringGrid1 = new TDistanceGrid(FDistances, TabSheet2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    gridPage->addWidget(StringGrid1);
    PageControl1->addTab(TabSheet2, QStringLiteral("Odległości"));

    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Szukanie drogi"));
    CreateSearchTab();
    PageControl1->setCurrentIndex(0);
    PageControl1->setEnabled(false);

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
    // One repaint per pixel of fill at most.
    FProgress.SetResolution(PrBarView->width());
    FProgress.OnChange = [this](const TProgressBar& bar) {
        // An empty range would make the widget show a busy animation.
        if (bar.Max() > bar.Min()) {
            PrBarView->setRange(bar.Min(), bar.Max());
            PrBarView->setValue(bar.Position());
        } else {
            PrBarView->setRange(0, 1);
            PrBarView->setValue(0);
        }
        PrBarView->repaint();
    };
}

void TMainForm::CreateSearchTab()
{
    auto* anchors = new TAnchors(TabSheet3, SearchTabDesignSize);
    const int leftTop = TAnchors::akLeft | TAnchors::akTop;

    PlaceAt(*anchors, MakeLabel(QStringLiteral("Wybierz metodę poszukiwania"), TabSheet3), 12, 8);
    cbMethod = new QComboBox(TabSheet3);
    cbMethod->setObjectName(QStringLiteral("cbMethod"));
    cbMethod->setEditable(false);
    cbMethod->addItems({QStringLiteral("Przeszukiwanie wyczerpujące (permutacje)"),
                        QStringLiteral("Przeszukiwanie losowe"), QStringLiteral("Algorytm genetyczny")});
    cbMethod->setCurrentIndex(0);
    PlaceAt(*anchors, cbMethod, 12, 24, 289, 21);
    connect(cbMethod, &QComboBox::currentIndexChanged, this, [this] { cbMethodClick(); });

    Button1 = new QPushButton(actGenerate->text(), TabSheet3);
    Button1->setObjectName(QStringLiteral("Button1"));
    BindButton(Button1, actGenerate);
    PlaceAt(*anchors, Button1, 108, 56, 93, 29);
    Button2 = new QPushButton(QStringLiteral("Przerwij"), TabSheet3);
    Button2->setObjectName(QStringLiteral("Button2"));
    BindButton(Button2, actStop);
    PlaceAt(*anchors, Button2, 208, 56, 93, 29);

    lblSilniaDsc =
        MakeLabel(QStringLiteral("Liczba permutacji dla aktualnego zbioru punktów:"), TabSheet3, "lblSilniaDsc");
    PlaceAt(*anchors, lblSilniaDsc, 20, 108);
    lblSilnia = MakeLabel(QStringLiteral("0"), TabSheet3, "lblSilnia");
    PlaceAt(*anchors, lblSilnia, 268, 108, 100);

    gbRandom = new QGroupBox(QStringLiteral("Warunek zatrzymania"), TabSheet3);
    gbRandom->setObjectName(QStringLiteral("gbRandom"));
    PlaceAt(*anchors, gbRandom, 12, 96, 157, 137, leftTop | TAnchors::akRight);
    MakeLabel(QStringLiteral("Liczba prób"), gbRandom)->move(12, 20);
    seRandomCount = new TSpinEdit(1, 32000, 1000, gbRandom);
    seRandomCount->setObjectName(QStringLiteral("seRandomCount"));
    seRandomCount->setGeometry(12, 36, 73, 21);
    gbRandom->hide();

    gbGenStopRules = new QGroupBox(QStringLiteral("Warunek zatrzymania"), TabSheet3);
    gbGenStopRules->setObjectName(QStringLiteral("gbGenStopRules"));
    PlaceAt(*anchors, gbGenStopRules, 12, 96, 157, 137);
    rbGenTreshold = new QRadioButton(QStringLiteral("Próg zmienności populacji"), gbGenStopRules);
    rbGenTreshold->setObjectName(QStringLiteral("rbGenTreshold"));
    rbGenTreshold->move(8, 20);
    rbGenTreshold->resize(rbGenTreshold->sizeHint());
    seGenTreshold = new TSpinEdit(1, 100, 2, gbGenStopRules);
    seGenTreshold->setObjectName(QStringLiteral("seGenTreshold"));
    seGenTreshold->setGeometry(24, 36, 57, 21);
    MakeLabel(QStringLiteral("%"), gbGenStopRules)->move(85, 40);
    rbGenCount = new QRadioButton(QStringLiteral("Liczba pokoleń"), gbGenStopRules);
    rbGenCount->setObjectName(QStringLiteral("rbGenCount"));
    rbGenCount->move(8, 76);
    rbGenCount->resize(rbGenCount->sizeHint());
    rbGenCount->setChecked(true);
    seGenCount = new TSpinEdit(100, 32000, 2000, gbGenStopRules);
    seGenCount->setObjectName(QStringLiteral("seGenCount"));
    seGenCount->setGeometry(24, 96, 73, 21);
    connect(seGenTreshold, &TSpinEdit::Entered, this, [this] { seGenTresholdEnter(); });
    connect(seGenCount, &TSpinEdit::Entered, this, [this] { seGenCountEnter(); });
    gbGenStopRules->hide();

    gbGenParams = new QGroupBox(QStringLiteral("Parametry algorytmu"), TabSheet3);
    gbGenParams->setObjectName(QStringLiteral("gbGenParams"));
    PlaceAt(*anchors, gbGenParams, 180, 96, 185, 137);
    MakeLabel(QStringLiteral("Liczność populacji"), gbGenParams)->move(8, 20);
    sePopulation = new TSpinEdit(10, 1000, 100, gbGenParams);
    sePopulation->setObjectName(QStringLiteral("sePopulation"));
    sePopulation->setGeometry(112, 16, 65, 21);
    MakeLabel(QStringLiteral("Prawdopodobieństwo krosowania"), gbGenParams)->move(8, 42);
    edtCrossover = new QLineEdit(QStringLiteral("0,5"), gbGenParams);
    edtCrossover->setObjectName(QStringLiteral("edtCrossover"));
    edtCrossover->setGeometry(8, 56, 65, 21);
    MakeLabel(QStringLiteral("Prawdopodobieństwo mutacji"), gbGenParams)->move(8, 80);
    edtMutation = new QLineEdit(QStringLiteral("0,05"), gbGenParams);
    edtMutation->setObjectName(QStringLiteral("edtMutation"));
    edtMutation->setGeometry(8, 94, 65, 21);
    chkSecureBad = new QCheckBox(QStringLiteral("Chroń najsłabszego osobnika"), gbGenParams);
    chkSecureBad->setObjectName(QStringLiteral("chkSecureBad"));
    chkSecureBad->move(8, 118);
    chkSecureBad->resize(chkSecureBad->sizeHint());
    chkSecureBad->setChecked(false);
    gbGenParams->hide();

    gbGenResults = new QGroupBox(QStringLiteral("Wyniki poszukiwania"), TabSheet3);
    gbGenResults->setObjectName(QStringLiteral("gbGenResults"));
    PlaceAt(*anchors, gbGenResults, 12, 240, 353, 141,
            TAnchors::akLeft | TAnchors::akTop | TAnchors::akRight | TAnchors::akBottom);
    auto* results = new TAnchors(gbGenResults, QSize(353, 141));
    PlaceAt(*results, MakeLabel(QStringLiteral("Informacje ogólne:"), gbGenResults), 12, 20);
    Button3 = new QPushButton(actShowWay->text(), gbGenResults);
    Button3->setObjectName(QStringLiteral("Button3"));
    BindButton(Button3, actShowWay);
    PlaceAt(*results, Button3, 12, 100, 141, 29, TAnchors::akLeft | TAnchors::akBottom);
    lbResults = new QListWidget(gbGenResults);
    lbResults->setObjectName(QStringLiteral("lbResults"));
    PlaceAt(*results, lbResults, 160, 16, 181, 113,
            TAnchors::akLeft | TAnchors::akTop | TAnchors::akRight | TAnchors::akBottom);
}

void TMainForm::CreateMenus()
{
    QMenuBar* menu = menuBar();
    menu->setObjectName(QStringLiteral("MainMenu1"));
    // Menus use the system's menu font, not the window's.
    menu->setFont(QApplication::font());

    QMenu* file = menu->addMenu(QStringLiteral("&Plik"));
    file->addAction(actNewArray);
    file->addSeparator();
    file->addAction(actOpenArray);
    file->addAction(actSaveArray);
    file->addSeparator();
    file->addAction(cmdQuit);

    QMenu* set = menu->addMenu(QStringLiteral("&Zbiór"));
    set->addAction(actZeroArray);
    set->addAction(actRandomArray);
    set->addSeparator();
    set->addAction(actCountWay);
    set->addAction(actShowWay);
    set->addSeparator();
    set->addAction(actGenerate);
    set->addAction(actStop);

    QMenu* help = menu->addMenu(QStringLiteral("P&omoc"));
    help->addAction(cmdShowAbout);
    help->addSeparator();
    help->addAction(cmdVisitWWW);
    help->addAction(cmdEmail);

    ListPopup = new QMenu(this);
    ListPopup->setObjectName(QStringLiteral("ListPopup"));
    ListPopup->setFont(QApplication::font());
    ListPopup->addAction(actSetNext);
    ListPopup->addAction(actCountWay);
    ListPopup->addAction(actRandomArray);
    ListPopup->addAction(actShowWay);
    ListPopup->setDefaultAction(actSetNext);
    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateCommands();
        ListPopup->popup(ListBox1->viewport()->mapToGlobal(at));
    });

    for (QMenu* each : {file, set, help})
        connect(each, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
}

void TMainForm::CreateToolBar()
{
    ToolBar1->addAction(actNewArray);
    ToolBar1->addAction(actOpenArray);
    ToolBar1->addAction(actSaveArray);
    ToolBar1->addSeparator();
    ToolBar1->addAction(actZeroArray);
    ToolBar1->addAction(actRandomArray);
    ToolBar1->addAction(actCountWay);
    ToolBar1->addSeparator();
    ToolBar1->addAction(actShowWay);
    auto* gap = new QWidget(ToolBar1);
    gap->setFixedWidth(8);
    ToolBar1->addWidget(gap);
    ToolBar1->addAction(cmdShowAbout);
}

void TMainForm::FormCreate(const QStringList& commandLine)
{
    FSearching = false;
    if (commandLine.size() > 1) {
        const QString& argument = commandLine.at(1);
        const QFileInfo file(argument);
        if (file.exists() && !file.isDir())
            LoadPointSet(*this, *this, FileNameToStd(argument));
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
    MapForm = mapForm;
}

void TMainForm::FormShow()
{
    if (Tag != 0)
        return;
    if (MapForm) {
        TImage32* view = MapForm->Image321;
        TBitmap32& surface = view->Bitmap();
        surface.BeginUpdate();
        surface.SetSize(view->width(), view->height());
        surface.Clear(MapBackgroundColor);
        surface.EndUpdate();
        view->update();
        FMapWidth = view->width();
        FMapHeight = view->height();
    }
    Tag = 99;
    RefreshPointList();
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

void TMainForm::closeEvent(QCloseEvent* event)
{
    // A search polls only its flag: stop it first, so that the question
    // and a save it may lead to find the commands enabled again.
    const bool searching = FSearching;
    if (searching)
        actStop->Execute();
    bool canClose = FCloseConfirmed;
    if (!canClose)
        FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    // The search is still on the call stack: the window closes once the
    // run control has finished with it.
    if (searching) {
        FCloseAfterSearch = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
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

bool TMainForm::QuerySaveChanges()
{
    if (!FModified)
        return true;
    const TDialogs::TAnswer answer = Dialogs().AskYesNoCancel(
        this, QStringLiteral("Zapisać zmiany?"),
        QStringLiteral("Zmiany wprowadzone w zbiorze nie zostały jeszcze zapisane.\nChcesz zapisać je teraz?"));
    switch (answer) {
    case TDialogs::TAnswer::Yes:
        actSaveArray->Execute();
        return !FModified;
    case TDialogs::TAnswer::No:
        return true;
    case TDialogs::TAnswer::Cancel:
        break;
    }
    return false;
}

void TMainForm::UpdateTitle()
{
    QString title = QString::fromUtf8(ApplicationTitle);
    if (!FFileName.empty()) {
        // Asked every time: a file deleted behind the program's back loses
        // its place in the caption at the next idle moment.
        const QString name = FileNameFromStd(FFileName);
        const QFileInfo file(name);
        if (file.exists() && !file.isDir())
            title += QStringLiteral(" - ") + name;
    }
    if (FModified)
        title += QStringLiteral(" [zmieniony]");
    if (windowTitle() != title)
        setWindowTitle(title);
}

void TMainForm::ApplicationIdle()
{
    UpdateTitle();
    UpdateCommands();
}

void TMainForm::UpdateCommands()
{
    ActionList1->UpdateAll();
}

void TMainForm::cbMethodClick()
{
    const int method = cbMethod->currentIndex();
    gbGenStopRules->setVisible(method == 2);
    gbGenParams->setVisible(method == 2);
    gbRandom->setVisible(method == 1);
    lblSilnia->setVisible(method == 0);
    lblSilniaDsc->setVisible(method == 0);
}

void TMainForm::seGenTresholdEnter()
{
    rbGenTreshold->setChecked(true);
}

void TMainForm::seGenCountEnter()
{
    rbGenCount->setChecked(true);
}

void TMainForm::actNewArrayExecute()
{
    if (QuerySaveChanges())
        NewPointSet(*this, *this);
}

void TMainForm::actOpenArrayExecute()
{
    if (!QuerySaveChanges())
        return;
    if (const std::optional<QString> name = Dialogs().OpenFileName(this))
        LoadPointSet(*this, *this, FileNameToStd(*name));
}

void TMainForm::actSaveArrayExecute()
{
    if (const std::optional<QString> name = Dialogs().SaveFileName(this))
        SavePointSet(*this, *this, FileNameToStd(*name));
}

void TMainForm::cmdQuitExecute()
{
    close();
}

void TMainForm::actShowWayExecute()
{
    if (MapForm) {
        MapForm->show();
        MapForm->raise();
    }
    RefreshPointList();
}

bool TMainForm::actCountWayUpdate()
{
    return !FSearching;
}

void TMainForm::ShowStatus(const std::string& text, int32_t panel)
{
    StatusBar1->SetPanelText(panel, QString::fromStdString(text));
    StatusBar1->repaint();
}

void TMainForm::ProcessEvents()
{
    QCoreApplication::processEvents();
}

TNumberFormat TMainForm::NumberFormat() const
{
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

bool TMainForm::IsShowing() const
{
    return isVisible();
}

void TMainForm::ShowError(const std::string& caption, const std::string& text)
{
    Dialogs().ShowErrorBox(this, QString::fromStdString(caption), QString::fromStdString(text));
}

void TMainForm::FillDistanceGrid()
{
    ShowStatus("Wypełnianie macierzy odległości...", 0);
    StringGrid1->Fill(static_cast<int>(FPoints.size()), NumberFormat());
}

void TMainForm::RefreshPointList()
{
    ShowStatus("Generowanie listy...", 0);
    ListBox1->SetCount(static_cast<int>(FPoints.size()));
    const int count = ListBox1->ItemCount();
    lblSilnia->setText(QString::fromStdString(FormatPermutationCount(count, NumberFormat())));
    PageControl1->setEnabled(count > 1);
    DrawMap();
    ShowStatus("", 0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
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
    DrawMap();
}

void TMainForm::Header1SectionResize()
{
    ListBox1->viewport()->update();
}
