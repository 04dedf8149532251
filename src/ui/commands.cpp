#include "ui/commands.h"

#include <QAbstractButton>
#include <QIcon>

#include "ui/contact.h"
#include "ui/main_form.h"

TCommand::TCommand(const QString& name, QObject* parent) : QAction(parent)
{
    setObjectName(name);
    // Menus, tool buttons and shortcuts trigger the action only while it
    // looks enabled; the rule still has the last word.
    connect(this, &QAction::triggered, this, [this] { Execute(); });
}

void TCommand::Update()
{
    if (FRule)
        setEnabled(FRule());
}

bool TCommand::Execute()
{
    Update();
    if (!isEnabled())
        return false;
    if (FHandler)
        FHandler();
    return true;
}

void TCommandList::UpdateAll()
{
    for (TCommand* command : FCommands)
        command->Update();
}

void BindButton(QAbstractButton* button, TCommand* command)
{
    button->setEnabled(command->isEnabled());
    button->setStatusTip(command->statusTip());
    if (!command->statusTip().isEmpty())
        button->setToolTip(command->statusTip());
    QObject::connect(command, &QAction::enabledChanged, button, &QWidget::setEnabled);
    QObject::connect(button, &QAbstractButton::clicked, command, [command] { command->Execute(); });
}

namespace {

struct TCommandEntry {
    TCommand* TMainForm::*Member;
    const char* Name;
    const char* Caption;
    const char* Hint;      // empty: none; null: the home-page hint
    const char* ShortCut;  // portable key text; empty: none
    const char* Category;
    int Image;  // index into the tool-bar images; -1: none
    void (TMainForm::*Handler)();
    bool (TMainForm::*Rule)();  // null: always enabled
};

}  // namespace

void TMainForm::CreateCommands()
{
    ActionList1 = new TCommandList(this);
    ActionList1->setObjectName("ActionList1");

    const QString visitHint = tovu::HomePageHint();
    const TCommandEntry table[] = {
        {&TMainForm::actNewArray, "actNewArray", "&Nowy zbiór", "Tworzy nowy zbiór punktów", "Ctrl+N", "File", 3,
         &TMainForm::actNewArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actOpenArray, "actOpenArray", "&Otwórz zbiór...", "Wczytuje zbiór punktów z pliku", "Ctrl+O",
         "File", 1, &TMainForm::actOpenArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::actSaveArray, "actSaveArray", "Zapi&sz zbiór...", "Zapisuje zbiór punktów w pliku", "Ctrl+S",
         "File", 2, &TMainForm::actSaveArrayExecute, &TMainForm::actCountWayUpdate},
        {&TMainForm::cmdQuit, "cmdQuit", "&Zamknij program", "Zamyka program Tuov", "Alt+F4", "", -1,
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
        {&TMainForm::actStop, "actStop", "Przerwij szukanie", "", "", "Generate", -1, &TMainForm::actStopExecute,
         &TMainForm::actStopUpdate},
        {&TMainForm::actShowWay, "actShowWay", "Pokaż drogę na mapie", "Pokaż drogę na mapie", "", "Generate", 7,
         &TMainForm::actShowWayExecute, &TMainForm::actCountWayUpdate},
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
        const QString hint = entry.Hint ? QString::fromUtf8(entry.Hint) : visitHint;
        if (!hint.isEmpty()) {
            command->setStatusTip(hint);
            command->setToolTip(hint);
        }
        if (*entry.ShortCut)
            command->setShortcut(QKeySequence(QString::fromLatin1(entry.ShortCut), QKeySequence::PortableText));
        command->setProperty("category", QString::fromLatin1(entry.Category));
        if (entry.Image >= 0) {
            command->setIcon(QIcon(QStringLiteral(":/toolbar/%1.svg").arg(entry.Image)));
            command->setProperty("imageIndex", entry.Image);
        }
        const auto handler = entry.Handler;
        command->SetHandler([this, handler] { (this->*handler)(); });
        if (entry.Rule) {
            const auto rule = entry.Rule;
            command->SetRule([this, rule] { return (this->*rule)(); });
        }
        this->*entry.Member = command;
        ActionList1->Add(command);
        // Shortcuts work wherever the focus is inside the main window.
        addAction(command);
    }
}
