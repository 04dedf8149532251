// The main window's layout: the point column with its tool bar, header and
// list left of the splitter, the tabs right of it, the status bar below.
#include <QFrame>
#include <QHeaderView>
#include <QProgressBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/compare_tab.h"
#include "ui/distance_grid.h"
#include "ui/document.h"
#include "ui/main_form.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/status_bar.h"
#include "ui/window_progress.h"

void TMainForm::CreateLayout()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* rows = new QVBoxLayout(central);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    // The views show progress as they follow the set: the status bar first.
    CreateStatusBar(central);

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
    rows->addWidget(StatusBar1);
}

void TMainForm::CreateStatusBar(QWidget* parent)
{
    StatusBar1 = new TStatusBar({{240, false}, {200, true}, {50, false}}, parent);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    PrBarView = new QProgressBar(StatusBar1);
    PrBarView->setObjectName(QStringLiteral("PrBar"));
    PrBarView->setGeometry(243, 3, 195, 17);
    PrBarView->setTextVisible(false);
    PrBarView->setRange(0, 100);
    PrBarView->setValue(0);
    FProgress = new TWindowProgress(*FRunner, *StatusBar1, *PrBarView, this);
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

    ListBox1 = new TPointList(*FDocument, *FProgress, *Header1, Panel3);
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
    StringGrid1 = new TDistanceGrid(*FDocument, *FProgress, TabSheet2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    gridPage->addWidget(StringGrid1);
    PageControl1->addTab(TabSheet2, QStringLiteral("Odległości"));

    SearchTab = new TSearchTab(*FDocument, *FRunner, actGenerate, actStop, actShowWay);
    PageControl1->addTab(SearchTab, QStringLiteral("Szukanie drogi"));
    SearchTab->FitToFont();
    CompareTab = new TCompareTab(FDocument->Runs(), actUseRun, actClearRuns, actExportRuns, actSaveChart);
    PageControl1->addTab(CompareTab, QStringLiteral("Porównanie"));
    PageControl1->setCurrentIndex(0);
    PageControl1->setEnabled(false);
    // The tabs are of use from two points on.
    connect(ListBox1, &TPointList::Refreshed, PageControl1,
            [this] { PageControl1->setEnabled(ListBox1->ItemCount() > 1); });
}
