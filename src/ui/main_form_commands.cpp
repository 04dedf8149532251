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

#include <functional>
#include <utility>

#include "ui/commands.h"
#include "ui/contact.h"
#include "ui/document.h"
#include "ui/edit_commands.h"
#include "ui/export_command.h"
#include "ui/file_commands.h"
#include "ui/help_commands.h"
#include "ui/main_form.h"
#include "ui/map_controller.h"
#include "ui/map_placement.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/route_files.h"
#include "ui/run_compare.h"
#include "ui/run_history.h"
#include "ui/search_runner.h"
#include "ui/search_runs.h"
#include "ui/search_tab.h"

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
    int Image;                      // index into the tool-bar images; -1: none
    std::function<void()> Handler;  // empty: none (a setting shown by its check mark)
    std::function<bool()> Rule;     // empty: always enabled
};

}  // namespace

void TMainForm::CreateCommands()
{
    InitToolBarImages();
    ActionList1 = new TCommandList(this);
    ActionList1->setObjectName("ActionList1");

    // The work is the controllers'; they exist by the time a command runs.
    const auto setRule = [this] { return actCountWayUpdate(); };
    const QString visitHint = tovu::HomePageHint();
    const TCommandEntry table[] = {
        {&TMainForm::actNewArray, "actNewArray", "&Nowy zbiór", "Tworzy nowy zbiór punktów", "Ctrl+N", "File", 3,
         [this] { FFiles->actNewArrayExecute(); }, setRule},
        {&TMainForm::actOpenArray, "actOpenArray", "&Otwórz zbiór...", "Wczytuje zbiór punktów z pliku", "Ctrl+O",
         "File", 1, [this] { FFiles->actOpenArrayExecute(); }, setRule},
        {&TMainForm::actSaveArray, "actSaveArray", "Zapi&sz zbiór...", "Zapisuje zbiór punktów w pliku", "Ctrl+S",
         "File", 2, [this] { FFiles->actSaveArrayExecute(); }, setRule},
        {&TMainForm::actLoadRoute, "actLoadRoute", "Wczytaj &drogę...",
         "Wczytuje drogę zbioru z pliku trasy TSPLIB (.tour) albo CSV", "", "File", -1,
         [this] { FRoutes->actLoadRouteExecute(); }, [this] { return actLoadRouteUpdate(); }},
        {&TMainForm::actExport, "actExport", "&Eksportuj...", "Zapisuje drogę, punkty albo mapę w innym formacie",
         "Ctrl+E", "File", -1, [this] { FExport->actExportExecute(); }, setRule},
        {&TMainForm::cmdQuit,
         "cmdQuit",
         "&Zamknij program",
         "Zamyka program Tovu",
         "Alt+F4",
         "",
         -1,
         [this] { cmdQuitExecute(); },
         {}},
        {&TMainForm::actZeroArray, "actZeroArray", "Wy&zeruj drogę", "Zeruje trasy", "", "Arrays", 5,
         [this] { FEdits->actZeroArrayExecute(); }, setRule},
        {&TMainForm::actRandomArray, "actRandomArray", "&Losuj zbiór punktów", "Losuje współrzędne punktów", "",
         "Arrays", 4, [this] { FEdits->actRandomArrayExecute(); }, setRule},
        {&TMainForm::actSetNext, "actSetNext", "Ustaw punkt docelowy...", "Ustaw punkt docelowy...", "", "Arrays", -1,
         [this] { FEdits->actSetNextExecute(); }, [this] { return actSetNextUpdate(); }},
        {&TMainForm::actCountWay, "actCountWay", "Oblicz długość drogi", "Oblicz długość drogi", "", "Arrays", 6,
         [this] { FEdits->actCountWayExecute(); }, setRule},
        {&TMainForm::actGenerate, "actGenerate", "Szukaj drogi", "", "F9", "Generate", -1,
         [this] { FSearches->actGenerateExecute(); }, setRule},
        {&TMainForm::actStop, "actStop", "Przerwij szukanie", "", "Esc", "Generate", -1,
         [this] { FSearches->actStopExecute(); }, [this] { return actStopUpdate(); }},
        {&TMainForm::actShowWay, "actShowWay", "Pokaż drogę na mapie", "Pokaż drogę na mapie", "Ctrl+M", "Generate", 7,
         [this] { actShowWayExecute(); }, setRule},
        {&TMainForm::actDockMap,
         "actDockMap",
         "Mapa w oknie głównym",
         "Pokazuje mapę w oknie głównym zamiast w osobnym oknie",
         "",
         "Generate",
         -1,
         {},
         {}},
        {&TMainForm::actEstimateRoute, "actEstimateRoute", "Oszacuj jakość drogi",
         "Liczy dolne ograniczenie długości drogi i porównuje z nim drogę", "Shift+F9", "Generate", -1,
         [this] { FSearches->actEstimateRouteExecute(); }, setRule},
        {&TMainForm::actFitMap,
         "actFitMap",
         "Dopasuj mapę do okna",
         "Rysuje punkty w skali, która wypełnia mapę",
         "Ctrl+D",
         "Arrays",
         -1,
         [this] { actFitMapExecute(); },
         {}},
        {&TMainForm::actUndo, "actUndo", "&Cofnij", "Cofa ostatnią zmianę zbioru", "Ctrl+Z", "Edit", 8,
         [this] { FEdits->actUndoExecute(); }, [this] { return actUndoUpdate(); }},
        {&TMainForm::actRedo, "actRedo", "&Ponów", "Przywraca cofniętą zmianę zbioru", "Ctrl+Shift+Z; Ctrl+Y", "Edit",
         9, [this] { FEdits->actRedoExecute(); }, [this] { return actRedoUpdate(); }},
        {&TMainForm::actDeletePoints, "actDeletePoints", "&Usuń zaznaczone punkty", "Usuwa zaznaczone punkty ze zbioru",
         "Del", "Edit", -1, [this] { FEdits->actDeletePointsExecute(); }, [this] { return actDeletePointsUpdate(); }},
        {&TMainForm::actEditPoint, "actEditPoint", "Zmień współrzędne...", "Zmienia współrzędne zaznaczonego punktu",
         "", "Edit", -1, [this] { FEdits->actEditPointExecute(); }, [this] { return actEditPointUpdate(); }},
        {&TMainForm::actDragPoints,
         "actDragPoints",
         "Przesuwanie punktów myszą",
         "Lewy przycisk przeciąga punkt na mapie zamiast dodawać nowy",
         "",
         "Edit",
         -1,
         {},
         {}},
        {&TMainForm::actZoomIn,
         "actZoomIn",
         "Powiększ mapę",
         "Powiększa mapę wokół jej środka (także kółkiem myszy)",
         "Ctrl++; Ctrl+=",
         "Arrays",
         -1,
         [this] { FMap->ZoomIn(); },
         {}},
        {&TMainForm::actZoomOut,
         "actZoomOut",
         "Pomniejsz mapę",
         "Pomniejsza mapę wokół jej środka (także kółkiem myszy)",
         "Ctrl+-",
         "Arrays",
         -1,
         [this] { FMap->ZoomOut(); },
         {}},
        {&TMainForm::actZoomReset,
         "actZoomReset",
         "Mapa w skali 1:1",
         "Rysuje punkty w ich własnych współrzędnych",
         "Ctrl+0",
         "Arrays",
         -1,
         [this] { FMap->ZoomToPixels(); },
         {}},
        {&TMainForm::actPointNumbers,
         "actPointNumbers",
         "Numery punktów",
         "Pisze na mapie numery punktów tam, gdzie się mieszczą",
         "",
         "Arrays",
         -1,
         [this] { FMap->DrawMap(); },
         {}},
        {&TMainForm::actLiveRoute,
         "actLiveRoute",
         "Pokazuj drogę podczas szukania",
         "Rysuje na mapie najlepszą dotąd drogę, gdy szukanie trwa",
         "",
         "Generate",
         -1,
         {},
         {}},
        {&TMainForm::cmdShowAbout,
         "cmdShowAbout",
         "&Informacje o programie...",
         "Informacje o programie",
         "Shift+F1",
         "",
         0,
         [this] { FHelp->cmdShowAboutExecute(); },
         {}},
        {&TMainForm::cmdVisitWWW,
         "cmdVisitWWW",
         "Strona domowa",
         nullptr,
         "",
         "",
         -1,
         [this] { FHelp->cmdVisitWWWExecute(); },
         {}},
        {&TMainForm::cmdEmail,
         "cmdEmail",
         "Kontakt z autorem",
         "Wyślij wiadomość e-mail do autora",
         "",
         "",
         -1,
         [this] { FHelp->cmdEmailExecute(); },
         {}},
        {&TMainForm::actUseRun, "actUseRun", "Użyj tej drogi", "Zastępuje drogę zbioru drogą wybranego przebiegu", "",
         "Compare", -1, [this] { FRunCompare->actUseRunExecute(); }, [this] { return actUseRunUpdate(); }},
        {&TMainForm::actClearRuns, "actClearRuns", "Wyczyść historię", "Usuwa wszystkie przebiegi z porównania", "",
         "Compare", -1, [this] { FRunCompare->actClearRunsExecute(); }, [this] { return actRunsUpdate(); }},
        {&TMainForm::actExportRuns, "actExportRuns", "Eksportuj tabelę...", "Zapisuje tabelę przebiegów jako CSV", "",
         "Compare", -1, [this] { FRunCompare->actExportRunsExecute(); }, [this] { return actRunsUpdate(); }},
        {&TMainForm::actSaveChart, "actSaveChart", "Zapisz wykres...", "Zapisuje wykres zbieżności jako PNG albo SVG",
         "", "Compare", -1, [this] { FRunCompare->actSaveChartExecute(); }, [this] { return actRunsUpdate(); }},
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
        if (entry.Handler)
            command->SetHandler(entry.Handler);
        if (entry.Rule)
            command->SetRule(entry.Rule);
        this->*entry.Member = command;
        // The map's scale, dragging, numbers, live route and place are settings
        // shown by their check marks, off at start but the live route.
        command->setCheckable(entry.Member == &TMainForm::actFitMap || entry.Member == &TMainForm::actDragPoints ||
                              entry.Member == &TMainForm::actPointNumbers || entry.Member == &TMainForm::actLiveRoute ||
                              entry.Member == &TMainForm::actDockMap);
        command->setChecked(entry.Member == &TMainForm::actLiveRoute);
        ActionList1->Add(command);
        // Shortcuts work wherever the focus is inside the main window.
        addAction(command);
    }

    QUndoStack* history = &FDocument->History();
    connect(history, &QUndoStack::undoTextChanged, this, [this] { ShowHistoryCaptions(); });
    connect(history, &QUndoStack::redoTextChanged, this, [this] { ShowHistoryCaptions(); });
    ShowHistoryCaptions();
}

void TMainForm::ShowHistoryCaptions()
{
    const QUndoStack& history = FDocument->History();
    const std::pair<TCommand*, QString> captions[] = {{actUndo, history.undoText()}, {actRedo, history.redoText()}};
    for (const auto& [command, step] : captions) {
        const QString base = command->property("caption").toString();
        const QString text = step.isEmpty() ? base : base + QStringLiteral(": ") + step;
        command->setText(text);
        // The tool button tells which step it takes, the status bar what
        // the command does.
        command->setToolTip(step.isEmpty() ? command->statusTip() : QString(text).remove(u'&'));
    }
}

bool TMainForm::actCountWayUpdate()
{
    return !FRunner->Searching() && !FDocument->ApplyingStep();
}

bool TMainForm::actLoadRouteUpdate()
{
    return actCountWayUpdate() && !State().FPoints.empty();
}

bool TMainForm::actSetNextUpdate()
{
    return actCountWayUpdate() && ListBox1->SelCount() == 1;
}

bool TMainForm::actUndoUpdate()
{
    return actCountWayUpdate() && FDocument->History().canUndo();
}

bool TMainForm::actRedoUpdate()
{
    return actCountWayUpdate() && FDocument->History().canRedo();
}

bool TMainForm::actDeletePointsUpdate()
{
    return actCountWayUpdate() && ListBox1->SelCount() > 0;
}

bool TMainForm::actEditPointUpdate()
{
    return actCountWayUpdate() && ListBox1->SelCount() == 1;
}

bool TMainForm::actStopUpdate()
{
    return FRunner->Searching();
}

bool TMainForm::actUseRunUpdate()
{
    return actCountWayUpdate() && FRunCompare->CanUseSelected();
}

bool TMainForm::actRunsUpdate()
{
    return actCountWayUpdate() && !FDocument->Runs().Empty();
}

void TMainForm::UpdateCommands()
{
    ActionList1->UpdateAll();
}

void TMainForm::cmdQuitExecute()
{
    close();
}

void TMainForm::actShowWayExecute()
{
    FMapPlacement->ShowMap();
    // The list is rebuilt, and the map drawn after it.
    ListBox1->Refresh();
}

void TMainForm::actFitMapExecute()
{
    FMap->DrawMap();
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
    set->addAction(actDockMap);
    set->addAction(actFitMap);
    set->addAction(actZoomIn);
    set->addAction(actZoomOut);
    set->addAction(actZoomReset);
    set->addAction(actPointNumbers);
    set->addSeparator();
    set->addAction(actGenerate);
    set->addAction(actStop);
    set->addAction(actLiveRoute);

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
