// The main window's command table: every command with its caption, hint,
// shortcut, category, image, handler and enabling rule, and the menus and the
// tool bar built from them.
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

#include "ui/commands.h"
#include "ui/contact.h"
#include "ui/main_form.h"
#include "ui/point_list.h"
#include "ui/undo_commands.h"

// The tool-bar images live in the window library, which is static: their
// registration must be pulled in by name.
static void InitToolBarImages()
{
    Q_INIT_RESOURCE(toolbar);
}

namespace {

// Room around a tool button's image, both sides together.
constexpr int ToolButtonMarginPx = 4;

struct TCommandEntry {
    TCommand* TMainForm::*Member;
    const char* Name;
    const char* Caption;
    const char* Hint;      // empty: none; null: the home-page hint
    const char* ShortCut;  // portable key text, alternatives after "; "; empty: none
    const char* Category;
    int Image;                     // index into the tool-bar images; -1: none
    void (TMainForm::*Handler)();  // null: none (a setting shown by its check mark)
    bool (TMainForm::*Rule)();     // null: always enabled
};

}  // namespace

void TMainForm::CreateCommands()
{
    InitToolBarImages();
    FHistory = new QUndoStack(this);
    FHistory->setUndoLimit(HistoryLimitSteps);
    ActionList1 = new TCommandList(this);
    ActionList1->setObjectName("ActionList1");

    const QString visitHint = tovu::HomePageHint();
    const TCommandEntry table[] = {
        {&TMainForm::actNewArray, "actNewArray", "&Nowy zbiór", "Tworzy nowy zbiór punktów", "Ctrl+N", "File", 3,
         &TMainForm::actNewArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actOpenArray, "actOpenArray", "&Otwórz zbiór...", "Wczytuje zbiór punktów z pliku", "Ctrl+O",
         "File", 1, &TMainForm::actOpenArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actLoadRoute, "actLoadRoute", "Wczytaj &drogę...",
         "Wczytuje drogę zbioru z pliku trasy TSPLIB (.tour) albo CSV", "", "File", -1, &TMainForm::actLoadRouteExecute,
         &TMainForm::actLoadRouteUpdate},
        {&TMainForm::actSaveArray, "actSaveArray", "Zapi&sz zbiór...", "Zapisuje zbiór punktów w pliku", "Ctrl+S",
         "File", 2, &TMainForm::actSaveArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actExport, "actExport", "&Eksportuj...", "Zapisuje drogę, punkty albo mapę w innym formacie",
         "Ctrl+E", "File", -1, &TMainForm::actExportExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::cmdQuit, "cmdQuit", "&Zamknij program", "Zamyka program Tovu", "Alt+F4", "", -1,
         &TMainForm::cmdQuitExecute, nullptr},
        {&TMainForm::actZeroArray, "actZeroArray", "Wy&zeruj drogę", "Zeruje trasy", "", "Arrays", 5,
         &TMainForm::actZeroArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actRandomArray, "actRandomArray", "&Losuj zbiór punktów", "Losuje współrzędne punktów", "",
         "Arrays", 4, &TMainForm::actRandomArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actSetNext, "actSetNext", "Ustaw punkt docelowy...", "Ustaw punkt docelowy...", "", "Arrays", -1,
         &TMainForm::actSetNextExecute, &TMainForm::actSetNextUpdate},
        {&TMainForm::actCountWay, "actCountWay", "Oblicz długość drogi", "Oblicz długość drogi", "", "Arrays", 6,
         &TMainForm::actCountWayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actGenerate, "actGenerate", "Szukaj drogi", "", "", "Generate", -1, &TMainForm::actGenerateExecute,
         &TMainForm::actCountWayUpdate},
        {&TMainForm::actStop, "actStop", "Przerwij szukanie", "", "Esc", "Generate", -1, &TMainForm::actStopExecute,
         &TMainForm::actStopUpdate},
        {&TMainForm::actShowWay, "actShowWay", "Pokaż drogę na mapie", "Pokaż drogę na mapie", "", "Generate", 7,
         &TMainForm::actShowWayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actEstimateRoute, "actEstimateRoute", "Oszacuj jakość drogi",
         "Liczy dolne ograniczenie długości drogi i porównuje z nim drogę", "", "Generate", -1,
         &TMainForm::actEstimateRouteExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actFitMap, "actFitMap", "Dopasuj mapę do okna", "Rysuje punkty w skali, która wypełnia mapę", "",
         "Arrays", -1, &TMainForm::actFitMapExecute, nullptr},
        {&TMainForm::actUndo, "actUndo", "&Cofnij", "Cofa ostatnią zmianę zbioru", "Ctrl+Z", "Edit", 8,
         &TMainForm::actUndoExecute, &TMainForm::actUndoUpdate},
        {&TMainForm::actRedo, "actRedo", "&Ponów", "Przywraca cofniętą zmianę zbioru", "Ctrl+Shift+Z; Ctrl+Y", "Edit",
         9, &TMainForm::actRedoExecute, &TMainForm::actRedoUpdate},
        {&TMainForm::actDeletePoints, "actDeletePoints", "&Usuń zaznaczone punkty", "Usuwa zaznaczone punkty ze zbioru",
         "Del", "Edit", -1, &TMainForm::actDeletePointsExecute, &TMainForm::actDeletePointsUpdate},
        {&TMainForm::actEditPoint, "actEditPoint", "Zmień współrzędne...", "Zmienia współrzędne zaznaczonego punktu",
         "", "Edit", -1, &TMainForm::actEditPointExecute, &TMainForm::actEditPointUpdate},
        {&TMainForm::actDragPoints, "actDragPoints", "Przesuwanie punktów myszą",
         "Lewy przycisk przeciąga punkt na mapie zamiast dodawać nowy", "", "Edit", -1, nullptr, nullptr},
        {&TMainForm::cmdShowAbout, "cmdShowAbout", "&Informacje o programie...", "Informacje o programie", "Shift+F1",
         "", 0, &TMainForm::cmdShowAboutExecute, nullptr},
        {&TMainForm::cmdVisitWWW, "cmdVisitWWW", "Strona domowa", nullptr, "", "", -1, &TMainForm::cmdVisitWWWExecute,
         nullptr},
        {&TMainForm::cmdEmail, "cmdEmail", "Kontakt z autorem", "Wyślij wiadomość e-mail do autora", "", "", -1,
         &TMainForm::cmdEmailExecute, nullptr},
    };

    for (const TCommandEntry& entry : table) {
        auto* command = new TCommand(QString::fromUtf8(entry.Name), this);
        command->setText(QString::fromUtf8(entry.Caption));
        // Kept apart from the text, which may name a step ("Cofnij: …").
        command->setProperty("caption", command->text());
        const QString hint = entry.Hint ? QString::fromUtf8(entry.Hint) : visitHint;
        if (!hint.isEmpty()) {
            command->setStatusTip(hint);
            command->setToolTip(hint);
        }
        if (*entry.ShortCut)
            command->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(entry.ShortCut)));
        command->setProperty("category", QString::fromLatin1(entry.Category));
        if (entry.Image >= 0) {
            command->setIcon(QIcon(QStringLiteral(":/toolbar/%1.svg").arg(entry.Image)));
            command->setProperty("imageIndex", entry.Image);
        }
        if (const auto handler = entry.Handler)
            command->SetHandler([this, handler] { (this->*handler)(); });
        if (entry.Rule) {
            const auto rule = entry.Rule;
            command->SetRule([this, rule] { return (this->*rule)(); });
        }
        this->*entry.Member = command;
        // The map's scale and dragging are settings shown by their check
        // marks, off at start.
        if (entry.Member == &TMainForm::actFitMap || entry.Member == &TMainForm::actDragPoints)
            command->setCheckable(true);
        ActionList1->Add(command);
        // Shortcuts work wherever the focus is inside the main window.
        addAction(command);
    }

    connect(FHistory, &QUndoStack::undoTextChanged, this, [this] { ShowHistoryCaptions(); });
    connect(FHistory, &QUndoStack::redoTextChanged, this, [this] { ShowHistoryCaptions(); });
    connect(FHistory, &QUndoStack::indexChanged, this, [this] { SyncModified(); });
    connect(FHistory, &QUndoStack::cleanChanged, this, [this] { SyncModified(); });
    ShowHistoryCaptions();
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
    file->addAction(actLoadRoute);
    file->addAction(actSaveArray);
    file->addAction(actExport);
    file->addSeparator();
    file->addAction(cmdQuit);

    QMenu* edit = menu->addMenu(QStringLiteral("&Edycja"));
    edit->addAction(actUndo);
    edit->addAction(actRedo);
    edit->addSeparator();
    edit->addAction(actDeletePoints);
    edit->addAction(actEditPoint);
    edit->addSeparator();
    edit->addAction(actDragPoints);

    QMenu* set = menu->addMenu(QStringLiteral("&Zbiór"));
    set->addAction(actZeroArray);
    set->addAction(actRandomArray);
    set->addSeparator();
    set->addAction(actCountWay);
    set->addAction(actEstimateRoute);
    set->addAction(actShowWay);
    set->addAction(actFitMap);
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
    ListPopup->addAction(actEditPoint);
    ListPopup->addAction(actDeletePoints);
    ListPopup->addSeparator();
    ListPopup->addAction(actCountWay);
    ListPopup->addAction(actRandomArray);
    ListPopup->addAction(actShowWay);
    ListPopup->setDefaultAction(actSetNext);
    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        UpdateCommands();
        ListPopup->popup(ListBox1->viewport()->mapToGlobal(at));
    });

    for (QMenu* each : {file, edit, set, help})
        connect(each, &QMenu::aboutToShow, this, [this] { UpdateCommands(); });
}

void TMainForm::CreateToolBar()
{
    ToolBar1->addAction(actNewArray);
    ToolBar1->addAction(actOpenArray);
    ToolBar1->addAction(actSaveArray);
    ToolBar1->addSeparator();
    ToolBar1->addAction(actUndo);
    ToolBar1->addAction(actRedo);
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
    // Ten buttons share the point column's design width with the
    // separators; at the style's width the last ones would go behind an
    // overflow arrow.
    for (QAction* action : ToolBar1->actions()) {
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(action)))
            button->setFixedWidth(ToolBar1->iconSize().width() + ToolButtonMarginPx);
    }
}
