#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <cstdio>
#include <stdexcept>

#include "core/point_file.h"
#include "scripted_dialogs.h"
#include "ui/application.h"
#include "ui/commands.h"
#include "ui/distance_grid.h"
#include "ui/map_controller.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/spin_edit.h"
#include "ui/status_bar.h"
#include "ui/window_parts.h"
#include "window_fixture.h"

namespace {

constexpr const char* ThreePoints = "0; 0\r\n3; 4\r\n6; 8\r\n";

class MainFormTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return Folder.filePath(name); }

    QTemporaryDir Folder;
    TScriptedDialogs ScriptedDialogs;
};

TEST_F(MainFormTest, StartWithoutArgumentGivesEmptySetAndPlainTitle)
{
    auto form = MakeWindows();
    form->show();
    form->ApplicationIdle();
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tovu"));
    EXPECT_FALSE(Part<QTabWidget>(*form, "PageControl1")->isEnabled());
    EXPECT_EQ(Part<QTabWidget>(*form, "PageControl1")->currentWidget(), Part<QWidget>(*form, "TabSheet2"));
    EXPECT_EQ(Part<QTabWidget>(*form, "PageControl1")->tabText(0), QStringLiteral("Odległości"));
    EXPECT_EQ(Part<QTabWidget>(*form, "PageControl1")->tabText(1), QStringLiteral("Szukanie drogi"));
    EXPECT_TRUE(ScriptedDialogs.Boxes.empty());
}

TEST_F(MainFormTest, StartLoadsExistingFileNamedFirst)
{
    const QString path = PathOf("three.tvu");
    WriteTextFile(path, ThreePoints);
    auto form = MakeWindows({path, PathOf("second-is-ignored.tvu")});
    // Loaded during creation, before the window is shown.
    ASSERT_EQ(form->State().FPoints.size(), 3u);
    EXPECT_EQ(form->State().FFileName, StdName(path));
    EXPECT_FALSE(form->State().FModified);
    EXPECT_EQ(Part<TPointList>(*form, "ListBox1")->ItemCount(), 0);

    form->show();
    form->ApplicationIdle();
    EXPECT_EQ(Part<TPointList>(*form, "ListBox1")->ItemCount(), 3);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tovu - ") + path);
    EXPECT_TRUE(Part<QTabWidget>(*form, "PageControl1")->isEnabled());
    EXPECT_TRUE(ScriptedDialogs.Boxes.empty());
}

TEST_F(MainFormTest, StartSkipsMissingFileWithoutMessage)
{
    auto form = MakeWindows({PathOf("missing.tvu")});
    form->show();
    form->ApplicationIdle();
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_TRUE(form->State().FFileName.empty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tovu"));
    EXPECT_TRUE(ScriptedDialogs.Boxes.empty());
}

TEST_F(MainFormTest, StartSkipsFolderNamedFirst)
{
    auto form = MakeWindows({Folder.path()});
    EXPECT_TRUE(form->State().FFileName.empty());
    EXPECT_TRUE(ScriptedDialogs.Boxes.empty());
}

TEST_F(MainFormTest, TitleFollowsFileAndChangeMark)
{
    const QString path = PathOf("saved.tvu");
    WriteTextFile(path, ThreePoints);
    struct TRow {
        const char* Name;
        bool WithFile;
        bool Modified;
        QString Title;
    };
    const TRow rows[] = {
        {"no file, unchanged", false, false, QStringLiteral("Tovu")},
        {"no file, changed", false, true, QStringLiteral("Tovu [zmieniony]")},
        {"saved", true, false, QStringLiteral("Tovu - ") + path},
        {"saved, changed afterwards", true, true, QStringLiteral("Tovu - ") + path + QStringLiteral(" [zmieniony]")},
    };
    auto form = MakeWindows();
    for (const TRow& row : rows) {
        WritableState(*form).FFileName = row.WithFile ? StdName(path) : std::string();
        WritableState(*form).FModified = row.Modified;
        form->UpdateTitle();
        EXPECT_EQ(form->windowTitle(), row.Title) << row.Name;
    }
}

TEST_F(MainFormTest, TitleDropsFileThatNoLongerExists)
{
    const QString path = PathOf("gone.tvu");
    WriteTextFile(path, ThreePoints);
    auto form = MakeWindows({path});
    WritableState(*form).FModified = true;
    form->UpdateTitle();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tovu - ") + path + QStringLiteral(" [zmieniony]"));
    ASSERT_TRUE(QFile::remove(path));
    form->ApplicationIdle();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tovu [zmieniony]"));
}

TEST_F(MainFormTest, QuerySaveChangesDoesNotAskForUnchangedSet)
{
    auto form = MakeWindows();
    EXPECT_TRUE(form->QuerySaveChanges());
    EXPECT_TRUE(ScriptedDialogs.Boxes.empty());
}

TEST_F(MainFormTest, QuerySaveChangesAsksWithWarningText)
{
    auto form = MakeWindows();
    WritableState(*form).FModified = true;
    ScriptedDialogs.Answers = {TDialogs::TAnswer::Cancel};
    EXPECT_FALSE(form->QuerySaveChanges());
    ASSERT_EQ(ScriptedDialogs.Count("question"), 1);
    EXPECT_EQ(ScriptedDialogs.Boxes.front().Caption, QStringLiteral("Zapisać zmiany?"));
    EXPECT_EQ(ScriptedDialogs.Boxes.front().Text.split(u'\n'),
              QStringList({QStringLiteral("Zmiany wprowadzone w zbiorze nie zostały jeszcze zapisane."),
                           QStringLiteral("Chcesz zapisać je teraz?")}));
}

TEST_F(MainFormTest, QuerySaveChangesNoGoesOnWithoutSaving)
{
    auto form = MakeWindows();
    WritableState(*form).FModified = true;
    ScriptedDialogs.Answers = {TDialogs::TAnswer::No};
    EXPECT_TRUE(form->QuerySaveChanges());
    EXPECT_EQ(ScriptedDialogs.Count("save"), 0);
    EXPECT_TRUE(form->State().FModified);
}

TEST_F(MainFormTest, QuerySaveChangesYesWithCancelledSaveDialogStays)
{
    auto form = MakeWindows();
    WritableState(*form).FModified = true;
    ScriptedDialogs.Answers = {TDialogs::TAnswer::Yes};
    ScriptedDialogs.SaveNames = {std::nullopt};
    EXPECT_FALSE(form->QuerySaveChanges());
    EXPECT_EQ(ScriptedDialogs.Count("save"), 1);
}

TEST_F(MainFormTest, QuerySaveChangesYesWithSavedSetGoesOn)
{
    auto form = MakeWindows();
    form->show();
    form->Map().AddPoint(120, 45);
    form->Map().AddPoint(7, -3);
    const QString path = PathOf("answer-yes.tvu");
    ScriptedDialogs.Answers = {TDialogs::TAnswer::Yes};
    ScriptedDialogs.SaveNames = {path};
    EXPECT_TRUE(form->QuerySaveChanges());
    EXPECT_EQ(ReadTextFile(path), QByteArray("120; 45\r\n7; -3\r\n"));
    EXPECT_FALSE(form->State().FModified);
    EXPECT_EQ(form->State().FFileName, StdName(path));
}

TEST_F(MainFormTest, QuerySaveChangesYesDuringSearchSavesNothing)
{
    auto form = MakeWindows();
    WritableState(*form).FModified = true;
    form->Runner().Begin();
    ScriptedDialogs.Answers = {TDialogs::TAnswer::Yes};
    ScriptedDialogs.SaveNames = {PathOf("never.tvu")};
    EXPECT_FALSE(form->QuerySaveChanges());
    EXPECT_EQ(ScriptedDialogs.Count("save"), 0);
    EXPECT_FALSE(QFile::exists(PathOf("never.tvu")));
    form->Runner().End();
}

TEST_F(MainFormTest, ClosingWithUnsavedChangesFollowsTheAnswer)
{
    struct TRow {
        const char* Name;
        TDialogs::TAnswer Answer;
        std::optional<QString> SaveName;
        bool Closes;
    };
    const TRow rows[] = {
        {"cancel keeps the window", TDialogs::TAnswer::Cancel, std::nullopt, false},
        {"yes, then cancel the save dialog", TDialogs::TAnswer::Yes, std::nullopt, false},
        {"yes, then save", TDialogs::TAnswer::Yes, PathOf("closing.tvu"), true},
        {"no closes", TDialogs::TAnswer::No, std::nullopt, true},
    };
    for (const TRow& row : rows) {
        auto form = MakeWindows();
        form->show();
        form->Map().AddPoint(1, 2);
        ScriptedDialogs.Answers = {row.Answer};
        ScriptedDialogs.SaveNames = {row.SaveName};
        EXPECT_EQ(form->close(), row.Closes) << row.Name;
        EXPECT_EQ(form->isVisible(), !row.Closes) << row.Name;
    }
}

TEST_F(MainFormTest, NewSetReplacesUnchangedSetWithoutQuestion)
{
    const QString path = PathOf("three.tvu");
    WriteTextFile(path, ThreePoints);
    auto form = MakeWindows({path});
    form->show();
    EXPECT_TRUE(Command(*form, "actNewArray")->Execute());
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_TRUE(form->State().FFileName.empty());
    EXPECT_TRUE(ScriptedDialogs.Boxes.empty());
}

TEST_F(MainFormTest, NewSetAsksFirstForChangedSet)
{
    auto form = MakeWindows();
    form->show();
    form->Map().AddPoint(5, 5);
    ScriptedDialogs.Answers = {TDialogs::TAnswer::Cancel};
    Command(*form, "actNewArray")->Execute();
    EXPECT_EQ(form->State().FPoints.size(), 1u);
    ScriptedDialogs.Answers = {TDialogs::TAnswer::No};
    Command(*form, "actNewArray")->Execute();
    EXPECT_TRUE(form->State().FPoints.empty());
    EXPECT_EQ(ScriptedDialogs.Count("question"), 2);
}

TEST_F(MainFormTest, OpenLoadsChosenFileAndSaveWritesChosenName)
{
    const QString source = PathOf("source.tvu");
    WriteTextFile(source, ThreePoints);
    auto form = MakeWindows();
    form->show();
    ScriptedDialogs.OpenNames = {source};
    Command(*form, "actOpenArray")->Execute();
    ASSERT_EQ(form->State().FPoints.size(), 3u);
    EXPECT_EQ(Part<TPointList>(*form, "ListBox1")->ItemCount(), 3);

    const QString target = PathOf("target.tvu");
    ScriptedDialogs.SaveNames = {target};
    Command(*form, "actSaveArray")->Execute();
    EXPECT_EQ(ReadTextFile(target), QByteArray(ThreePoints));
    EXPECT_EQ(form->State().FFileName, StdName(target));
}

TEST_F(MainFormTest, OpeningMissingFileReportsReadErrorAndKeepsSet)
{
    auto form = MakeWindows();
    form->show();
    form->Map().AddPoint(1, 1);
    WritableState(*form).FModified = false;
    ScriptedDialogs.OpenNames = {PathOf("missing.tvu")};
    Command(*form, "actOpenArray")->Execute();
    ASSERT_EQ(ScriptedDialogs.Count("error"), 1);
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Caption, QStringLiteral("Błąd odczytu"));
    // The file's name on a line before the system's text.
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Text,
              PathOf("missing.tvu") + u'\n' + QString::fromStdString(SystemErrorText(ENOENT)));
    EXPECT_EQ(form->State().FPoints.size(), 1u);
}

// At its smallest the window keeps every search control inside its frame,
// for every method, and no text of the tab is cut.
TEST_F(MainFormTest, SmallestWindowKeepsTheSearchControlsWhole)
{
    auto form = MakeWindows();
    form->show();
    form->resize(400, 300);
    QApplication::processEvents();
    EXPECT_GE(form->width(), form->minimumWidth());
    TSearchTab* tab = Part<TSearchTab>(*form, "TabSheet3");
    Part<QTabWidget>(*form, "PageControl1")->setEnabled(true);
    Part<QTabWidget>(*form, "PageControl1")->setCurrentWidget(tab);
    QApplication::processEvents();
    for (int method = 0; method < Part<QComboBox>(*tab, "cbMethod")->count(); ++method) {
        Part<QComboBox>(*tab, "cbMethod")->setCurrentIndex(method);
        for (QGroupBox* box : tab->findChildren<QGroupBox*>()) {
            if (!box->isVisible())
                continue;
            const std::string name = box->objectName().toStdString();
            EXPECT_TRUE(tab->rect().contains(box->geometry())) << name << " at method " << method;
            for (QWidget* child : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (!child->isVisible())
                    continue;
                EXPECT_TRUE(box->contentsRect().contains(child->geometry()))
                    << name << " / " << child->objectName().toStdString() << " at method " << method;
                if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child)) {
                    EXPECT_GE(child->width(), child->sizeHint().width()) << child->objectName().toStdString();
                }
            }
        }
    }
}

// A name in another encoding (ISO-8859-2 bytes) opens from the command line
// and from the open dialog, though Qt can't decode it back to its bytes.
TEST_F(MainFormTest, FileNamesThatAreNotUtf8Open)
{
    const QByteArray raw = QFile::encodeName(Folder.path()) + "/zbi\xf3r.tvu";
    FILE* file = std::fopen(raw.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("1; 2\r\n3; 4\r\n", file);
    std::fclose(file);

    auto started = MakeWindows({QFile::decodeName(raw)});
    EXPECT_EQ(started->State().FPoints.size(), 2u);
    auto form = MakeWindows();
    form->show();
    ScriptedDialogs.OpenNames = {QFile::decodeName(raw)};
    Command(*form, "actOpenArray")->Execute();
    EXPECT_EQ(form->State().FPoints.size(), 2u);
    EXPECT_EQ(ScriptedDialogs.Count("error"), 0);
}

// A press on a full map adds nothing and says why in panel 0.
TEST_F(MainFormTest, MapClickBeyondTheLimitAddsNothing)
{
    auto form = MakeWindows();
    form->show();
    form->Document().ReplacePoints(TPointArray(MaxPoints, TMapPoint{1, 1, -1}));
    form->Map().AddPoint(5, 5);
    EXPECT_EQ(form->State().FPoints.size(), static_cast<size_t>(MaxPoints));
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0), QStringLiteral("Najwyżej 10000 punktów."));
}

// After a failed save into /proc the dialog must not reopen there: reading
// that folder can block the program for good.
TEST_F(MainFormTest, FileDialogsStartInAFolderThatWorked)
{
    const QString home = QDir::homePath();
    const QString work = QFileInfo(PathOf("x.tvu")).absolutePath();
    const struct {
        const char* name;
        QString workingFolder;
        QString expected;
    } rows[] = {
        {"first use", QString(), home},
        {"last file worked", work, work},
        {"pseudo file system", QStringLiteral("/proc"), home},
        {"working folder gone", QStringLiteral("/nowhere"), home},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FileDialogFolder(row.workingFolder), row.expected) << row.name;
    EXPECT_TRUE(IsPseudoFileSystem(QStringLiteral("/proc")));
    EXPECT_FALSE(IsPseudoFileSystem(work));
}

TEST_F(MainFormTest, CommandsUnderSharedRuleDoNothingWhileSearching)
{
    auto form = MakeWindows();
    form->show();
    form->Map().AddPoint(1, 1);
    form->Map().AddPoint(9, 9);
    WritableState(*form).FModified = false;
    form->ApplicationIdle();
    ASSERT_TRUE(Command(*form, "actNewArray")->isEnabled());

    // The search flag is raised without an idle moment in between: the
    // enabled look is stale, and the command still must not run.
    form->Runner().Begin();
    Command(*form, "actNewArray")->trigger();
    EXPECT_EQ(form->State().FPoints.size(), 2u);
    EXPECT_FALSE(Command(*form, "actNewArray")->Execute());
    EXPECT_EQ(form->State().FPoints.size(), 2u);

    form->ApplicationIdle();
    for (TCommand* command :
         {Command(*form, "actOpenArray"), Command(*form, "actSaveArray"), Command(*form, "actNewArray"),
          Command(*form, "actZeroArray"), Command(*form, "actRandomArray"), Command(*form, "actGenerate"),
          Command(*form, "actShowWay"), Command(*form, "actCountWay"), Command(*form, "actSetNext")})
        EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();
    for (TCommand* command : {Command(*form, "cmdShowAbout"), Command(*form, "cmdEmail"), Command(*form, "cmdVisitWWW"),
                              Command(*form, "cmdQuit")})
        EXPECT_TRUE(command->isEnabled()) << command->objectName().toStdString();
    Command(*form, "actOpenArray")->trigger();
    Command(*form, "actSaveArray")->trigger();
    EXPECT_EQ(ScriptedDialogs.Count("open") + ScriptedDialogs.Count("save"), 0);

    form->Runner().End();
    form->ApplicationIdle();
    EXPECT_TRUE(Command(*form, "actNewArray")->isEnabled());
    EXPECT_TRUE(Command(*form, "actNewArray")->Execute());
    EXPECT_TRUE(form->State().FPoints.empty());
}

TEST_F(MainFormTest, ButtonsFollowTheirCommands)
{
    auto form = MakeWindows();
    form->show();
    form->Runner().Begin();
    form->ApplicationIdle();
    // The tab is disabled without points; the buttons' own state counts.
    EXPECT_FALSE(Part<QPushButton>(*form, "Button1")->isEnabledTo(Part<TSearchTab>(*form, "TabSheet3")));
    EXPECT_FALSE(Part<QPushButton>(*form, "Button3")->isEnabledTo(Part<QGroupBox>(*form, "gbGenResults")));
    EXPECT_EQ(Part<QPushButton>(*form, "Button2")->text(), QStringLiteral("Przerwij"));
    EXPECT_EQ(Part<QPushButton>(*form, "Button1")->text(), QStringLiteral("Szukaj drogi"));
    form->Runner().End();
    form->ApplicationIdle();
    EXPECT_TRUE(Part<QPushButton>(*form, "Button1")->isEnabledTo(Part<TSearchTab>(*form, "TabSheet3")));
    EXPECT_TRUE(Part<QPushButton>(*form, "Button3")->isEnabledTo(Part<QGroupBox>(*form, "gbGenResults")));
}

TEST_F(MainFormTest, CommandTableGivesCaptionsShortcutsAndImages)
{
    auto form = MakeWindows();
    struct TRow {
        TCommand* Command;
        const char* Caption;
        const char* ShortCut;
        int Image;
    };
    const TRow rows[] = {
        {Command(*form, "actNewArray"), "&Nowy zbiór", "Ctrl+N", 3},
        {Command(*form, "actOpenArray"), "&Otwórz zbiór...", "Ctrl+O", 1},
        {Command(*form, "actSaveArray"), "Zapi&sz zbiór...", "Ctrl+S", 2},
        {Command(*form, "cmdQuit"), "&Zamknij program", "Alt+F4", -1},
        {Command(*form, "actZeroArray"), "Wy&zeruj drogę", "", 5},
        {Command(*form, "actRandomArray"), "&Losuj zbiór punktów", "", 4},
        {Command(*form, "actSetNext"), "Ustaw punkt docelowy...", "", -1},
        {Command(*form, "actCountWay"), "Oblicz długość drogi", "", 6},
        {Command(*form, "actGenerate"), "Szukaj drogi", "F9", -1},
        {Command(*form, "actStop"), "Przerwij szukanie", "Esc", -1},
        {Command(*form, "actShowWay"), "Pokaż drogę na mapie", "Ctrl+M", 7},
        {Command(*form, "actEstimateRoute"), "Oszacuj jakość drogi", "Shift+F9", -1},
        {Command(*form, "actFitMap"), "Dopasuj mapę do okna", "Ctrl+D", -1},
        {Command(*form, "actZoomIn"), "Powiększ mapę", "Ctrl++", -1},
        {Command(*form, "actZoomOut"), "Pomniejsz mapę", "Ctrl+-", -1},
        {Command(*form, "actZoomReset"), "Mapa w skali 1:1", "Ctrl+0", -1},
        {Command(*form, "cmdShowAbout"), "&Informacje o programie...", "Shift+F1", 0},
        {Command(*form, "cmdVisitWWW"), "Strona domowa", "", -1},
        {Command(*form, "cmdEmail"), "Kontakt z autorem", "", -1},
    };
    for (const TRow& row : rows) {
        const std::string name = row.Command->objectName().toStdString();
        EXPECT_EQ(row.Command->text(), QString::fromUtf8(row.Caption)) << name;
        EXPECT_EQ(row.Command->shortcut().toString(QKeySequence::PortableText), QString::fromUtf8(row.ShortCut))
            << name;
        EXPECT_EQ(row.Command->icon().isNull(), row.Image < 0) << name;
        if (row.Image >= 0) {
            EXPECT_FALSE(row.Command->icon().pixmap(16, 16).isNull()) << name;
        }
    }
    EXPECT_EQ(Command(*form, "cmdQuit")->statusTip(), QStringLiteral("Zamyka program Tovu"));
    EXPECT_TRUE(Command(*form, "cmdVisitWWW")->statusTip().startsWith(QStringLiteral("Odwiedź stronę ")));
    EXPECT_TRUE(Command(*form, "actGenerate")->statusTip().isEmpty());
}

TEST_F(MainFormTest, MenusAndToolBarListCommandsInOrder)
{
    auto form = MakeWindows();
    auto names = [](const QList<QAction*>& actions) {
        QStringList list;
        for (const QAction* action : actions)
            list << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        return list;
    };
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Plik"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Edycja"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Zbiór"));
    EXPECT_EQ(menus[3]->text(), QStringLiteral("P&omoc"));
    EXPECT_EQ(names(menus[0]->menu()->actions()).join(' '),
              QStringLiteral("actNewArray - actOpenArray actLoadRoute actSaveArray actExport - cmdQuit"));
    EXPECT_EQ(names(menus[1]->menu()->actions()).join(' '),
              QStringLiteral("actUndo actRedo - actDeletePoints actEditPoint - actDragPoints"));
    EXPECT_EQ(
        names(menus[2]->menu()->actions()).join(' '),
        QStringLiteral(
            "actZeroArray actRandomArray - actCountWay actEstimateRoute actShowWay actDockMap actFitMap actZoomIn "
            "actZoomOut "
            "actZoomReset actPointNumbers - actGenerate actStop actLiveRoute"));
    EXPECT_EQ(names(menus[3]->menu()->actions()).join(' '), QStringLiteral("cmdShowAbout - cmdVisitWWW cmdEmail"));
    EXPECT_EQ(names(Part<QMenu>(*form, "ListPopup")->actions()).join(' '),
              QStringLiteral("actSetNext actEditPoint actDeletePoints - actCountWay actRandomArray actShowWay"));
    EXPECT_EQ(Part<QMenu>(*form, "ListPopup")->defaultAction(), Command(*form, "actSetNext"));
    EXPECT_EQ(names(Part<QToolBar>(*form, "ToolBar1")->actions()).join(' '),
              QStringLiteral("actNewArray actOpenArray actSaveArray - actUndo actRedo - actZeroArray actRandomArray "
                             "actCountWay - actShowWay  cmdShowAbout"));
}

// What does not fit its place ends in "…" and shows whole as a tooltip;
// boxes and columns hold the widest numbers they take; the method's
// parameters and the V column explain themselves; the map window keeps a
// usable size.
TEST_F(MainFormTest, TextsAndNumbersShowWholeAndParametersExplainThemselves)
{
    auto form = MakeWindows();
    form->show();
    TStatusBar* bar = Part<TStatusBar>(*form, "StatusBar1");
    const QString status = QStringLiteral(
        "Metoda dokładna: najlepsza droga 1 234 567,89, dolne ograniczenie 1 234 000,00, otwarte "
        "podproblemy: 12 345...");
    bar->SetPanelText(0, status);
    EXPECT_EQ(bar->PanelToolTip(0), status);
    bar->SetPanelText(0, QStringLiteral("Gotowe"));
    EXPECT_TRUE(bar->PanelToolTip(0).isEmpty());

    TSearchTab* tab = Part<TSearchTab>(*form, "TabSheet3");
    Part<QTabWidget>(*form, "PageControl1")->setEnabled(true);
    Part<QTabWidget>(*form, "PageControl1")->setCurrentWidget(tab);
    const QString count = QStringLiteral("2,84625968091705E35659") + QString(30, u'9');
    tab->ShowPermutationCount(count);
    EXPECT_EQ(Part<QLabel>(*tab, "lblSilnia")->text(), count);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), Part<QLabel>(*tab, "lblSilnia")->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(Part<QLabel>(*tab, "lblSilnia"), &help);
    EXPECT_EQ(QToolTip::text(), count);

    for (TSpinEdit* tries : {Part<TSpinEdit>(*tab, "seRandomCount"), Part<TSpinEdit>(*tab, "seLocalTries")}) {
        const QLineEdit* edit = tries->findChild<QLineEdit*>();
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(QStringLiteral("999999999")))
            << tries->objectName().toStdString();
    }
    for (QGroupBox* box : tab->findChildren<QGroupBox*>()) {
        if (box == Part<QGroupBox>(*tab, "gbGenResults"))
            continue;
        for (QWidget* control : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!qobject_cast<QLabel*>(control)) {
                EXPECT_FALSE(control->toolTip().isEmpty()) << control->objectName().toStdString();
            }
        }
    }

    WritableState(*form).FPoints = {{-2147483647 - 1, 2147483647, -1}, {5, 6, 0}};
    Part<TPointList>(*form, "ListBox1")->Refresh();
    const QHeaderView* header = Part<QHeaderView>(*form, "Header1");
    const QFontMetrics value(TPointListDelegate::ValueFont());
    const QFontMetrics index(TPointListDelegate::IndexFont());
    EXPECT_GT(header->sectionSize(0),
              index.horizontalAdvance(QStringLiteral("1")) + value.horizontalAdvance(QStringLiteral("-2147483648")));
    EXPECT_GT(header->sectionSize(1), value.horizontalAdvance(QStringLiteral("2147483647")));
    EXPECT_FALSE(header->model()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());

    form->MapForm()->resize(40, 30);
    EXPECT_GE(form->MapForm()->width(), 200);
    EXPECT_GE(form->MapForm()->height(), 150);
}

TEST_F(MainFormTest, MethodChoiceShowsItsControls)
{
    auto form = MakeWindows();
    form->show();
    struct TRow {
        int Method;
        bool Genetic;
        bool Random;
        bool Count;
    };
    const TRow rows[] = {{1, false, true, false}, {2, true, false, false}, {0, false, false, true}};
    // At start: the permutation count, no boxes.
    EXPECT_TRUE(Part<QLabel>(*form, "lblSilnia")->isHidden() == false);
    EXPECT_FALSE(Part<QGroupBox>(*form, "gbRandom")->isHidden() == false);
    for (const TRow& row : rows) {
        Part<QComboBox>(*form, "cbMethod")->setCurrentIndex(row.Method);
        EXPECT_EQ(Part<QGroupBox>(*form, "gbGenStopRules")->isHidden() == false, row.Genetic) << row.Method;
        EXPECT_EQ(Part<QGroupBox>(*form, "gbGenParams")->isHidden() == false, row.Genetic) << row.Method;
        EXPECT_EQ(Part<QGroupBox>(*form, "gbRandom")->isHidden() == false, row.Random) << row.Method;
        EXPECT_EQ(Part<QLabel>(*form, "lblSilnia")->isHidden() == false, row.Count) << row.Method;
        EXPECT_EQ(Part<QLabel>(*form, "lblSilniaDsc")->isHidden() == false, row.Count) << row.Method;
    }
}

// At the window's design size a message too long for the first panel gets
// a row of its own across the bar and shows whole; the progress bar moves
// down with its panel, and everything goes back when the text is emptied.
TEST_F(MainFormTest, LongStatusTextsShowWholeOnARowOfTheirOwn)
{
    auto form = MakeWindows();
    form->show();
    TStatusBar& bar = *Part<TStatusBar>(*form, "StatusBar1");
    QProgressBar& progress = *Part<QProgressBar>(*form, "PrBar");
    const QRect restingBar = progress.geometry();
    for (const char* text : {"11 współrzędnych zaokrąglono do liczb całkowitych",
                             "Metoda dokładna: najlepsza droga 3 489,09, dolne ograniczenie 3 412,77, otwarte "
                             "podproblemy: 12 345..."}) {
        const QString message = QString::fromUtf8(text);
        form->ShowStatus(text, 0);
        QApplication::processEvents();
        EXPECT_TRUE(bar.ShowsMessageRow()) << text;
        EXPECT_EQ(bar.height(), TStatusBar::BarHeight + bar.MessageRowRect().height()) << text;
        EXPECT_LE(bar.fontMetrics().horizontalAdvance(message), bar.MessageRowRect().width() - 8) << text;
        EXPECT_TRUE(bar.PanelRect(1).contains(progress.geometry())) << text;
        EXPECT_EQ(progress.geometry(), restingBar.translated(0, bar.MessageRowRect().height())) << text;
    }
    form->ShowStatus("Gotowe", 0);
    EXPECT_FALSE(bar.ShowsMessageRow());
    form->ShowStatus("", 0);
    EXPECT_FALSE(bar.ShowsMessageRow());
    EXPECT_EQ(bar.height(), TStatusBar::BarHeight);
    EXPECT_EQ(progress.geometry(), restingBar);
}

TEST_F(MainFormTest, SearchControlsStartWithTheirDefaults)
{
    auto form = MakeWindows();
    // The three methods first, then the exact method and the local search.
    EXPECT_EQ(Part<QComboBox>(*form, "cbMethod")->count(), 5);
    EXPECT_EQ(Part<QComboBox>(*form, "cbMethod")->itemText(3), QStringLiteral("Metoda dokładna"));
    EXPECT_EQ(Part<QComboBox>(*form, "cbMethod")->itemText(4), QStringLiteral("Optymalizacja lokalna (2-opt, Or-opt)"));
    EXPECT_EQ(Part<QComboBox>(*form, "cbMethod")->currentIndex(), 0);
    EXPECT_EQ(Part<QComboBox>(*form, "cbMethod")->itemText(0),
              QStringLiteral("Przeszukiwanie wyczerpujące (permutacje)"));
    EXPECT_EQ(Part<QLabel>(*form, "lblSilnia")->text(), QStringLiteral("0"));
    EXPECT_TRUE(Part<QRadioButton>(*form, "rbGenCount")->isChecked());
    EXPECT_FALSE(Part<QRadioButton>(*form, "rbGenTreshold")->isChecked());
    EXPECT_FALSE(Part<QCheckBox>(*form, "chkSecureBad")->isChecked());
    EXPECT_EQ(Part<QLineEdit>(*form, "edtCrossover")->text(), QStringLiteral("0,5"));
    EXPECT_EQ(Part<QLineEdit>(*form, "edtMutation")->text(), QStringLiteral("0,05"));
    EXPECT_EQ(Part<QGroupBox>(*form, "gbRandom")->title(), QStringLiteral("Warunek zatrzymania"));
    EXPECT_EQ(Part<QGroupBox>(*form, "gbGenParams")->title(), QStringLiteral("Parametry algorytmu"));
    EXPECT_EQ(Part<QGroupBox>(*form, "gbGenResults")->title(), QStringLiteral("Wyniki poszukiwania"));
}

TEST_F(MainFormTest, EveryControlCarriesItsDesignName)
{
    auto form = MakeWindows();
    for (const char* name :
         {"ListBox1",     "Header1",       "StringGrid1",   "lbResults",      "cbMethod",    "seRandomCount",
          "sePopulation", "seGenCount",    "seGenTreshold", "edtCrossover",   "edtMutation", "chkSecureBad",
          "rbGenCount",   "rbGenTreshold", "gbRandom",      "gbGenStopRules", "gbGenParams", "gbGenResults",
          "lblSilnia",    "lblSilniaDsc",  "PageControl1",  "StatusBar1",     "PrBar",       "ToolBar1",
          "Splitter1",    "MainMenu1",     "ListPopup"})
        EXPECT_NE(form->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(MainFormTest, StatusBarHasThreePanelsAndProgressBarOverTheMiddle)
{
    auto form = MakeWindows();
    form->show();
    ASSERT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelCount(), 3);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelRect(0).width(), 240);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelRect(1).width(), 200);
    // The last panel is at least 50 wide and reaches the right end.
    EXPECT_GE(Part<TStatusBar>(*form, "StatusBar1")->PanelRect(2).width(), 50);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelRect(2).right(),
              Part<TStatusBar>(*form, "StatusBar1")->width() - 1);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->height(), 21);
    EXPECT_EQ(Part<QProgressBar>(*form, "PrBar")->geometry(), QRect(243, 3, 195, 17));
    EXPECT_TRUE(
        Part<TStatusBar>(*form, "StatusBar1")->PanelRect(1).contains(Part<QProgressBar>(*form, "PrBar")->geometry()));
}

TEST_F(MainFormTest, ShowStatusWritesPanelAndHintsShareIt)
{
    auto form = MakeWindows();
    form->show();
    form->ShowStatus("Obliczanie odległości...", 0);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0), QStringLiteral("Obliczanie odległości..."));
    QStatusTipEvent hint(QStringLiteral("Tworzy nowy zbiór punktów"));
    QApplication::sendEvent(form.get(), &hint);
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0), QStringLiteral("Tworzy nowy zbiór punktów"));
    form->ShowStatus("", 0);
    EXPECT_TRUE(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0).isEmpty());
}

TEST_F(MainFormTest, MenuItemHintReachesFirstPanel)
{
    auto form = MakeWindows();
    form->show();
    Command(*form, "actOpenArray")->showStatusText(Part<TPointList>(*form, "ListBox1"));
    EXPECT_EQ(Part<TStatusBar>(*form, "StatusBar1")->PanelText(0), QStringLiteral("Wczytuje zbiór punktów z pliku"));
}

TEST_F(MainFormTest, ProgressBarWidgetShowsTheProgramsBar)
{
    auto form = MakeWindows();
    form->show();
    TProgressBar& bar = form->PrBar();
    bar.SetMax(10);
    bar.SetPosition(0);
    for (int i = 0; i < 7; ++i)
        bar.StepIt();
    EXPECT_EQ(Part<QProgressBar>(*form, "PrBar")->maximum(), 10);
    EXPECT_EQ(Part<QProgressBar>(*form, "PrBar")->value(), 7);
    bar.SetMax(0);
    EXPECT_EQ(Part<QProgressBar>(*form, "PrBar")->value(), 0);
    EXPECT_GT(Part<QProgressBar>(*form, "PrBar")->maximum(), Part<QProgressBar>(*form, "PrBar")->minimum());
}

TEST_F(MainFormTest, SplitterKeepsBothSidesAtLeast160Wide)
{
    auto form = MakeWindows();
    form->resize(700, 466);
    form->show();
    Part<QSplitter>(*form, "Splitter1")->setSizes({10, 2000});
    EXPECT_GE(Part<QSplitter>(*form, "Splitter1")->sizes().at(0), 160);
    Part<QSplitter>(*form, "Splitter1")->setSizes({2000, 10});
    EXPECT_GE(Part<QSplitter>(*form, "Splitter1")->sizes().at(1), 160);
    EXPECT_FALSE(Part<QSplitter>(*form, "Splitter1")->childrenCollapsible());
}

TEST_F(MainFormTest, NumbersFollowTheRegionalSettings)
{
    auto form = MakeWindows();
    const TNumberFormat format = form->NumberFormat();
    EXPECT_EQ(format.DecimalSeparator, ",");
    EXPECT_EQ(format.ThousandSeparator, "\u00a0");
}

TEST_F(MainFormTest, ShowWayShowsTheMapAboveAndRefreshesTheList)
{
    auto form = MakeWindows();
    form->show();
    WritableState(*form).FPoints = {{1, 1, -1}, {5, 5, -1}};
    EXPECT_FALSE(form->MapForm()->isVisible());
    Command(*form, "actShowWay")->Execute();
    EXPECT_TRUE(form->MapForm()->isVisible());
    EXPECT_EQ(Part<TPointList>(*form, "ListBox1")->ItemCount(), 2);
    EXPECT_EQ(form->MapForm()->windowTitle(), QStringLiteral("Mapa"));
    // Above the main window only, so that dialogs can come up above it.
    EXPECT_EQ(form->MapForm()->windowType(), Qt::Tool);
    EXPECT_FALSE(form->MapForm()->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(MainFormTest, RefreshPointListEndsTheHourglass)
{
    auto form = MakeWindows();
    form->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Part<TPointList>(*form, "ListBox1")->Refresh();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormTest, EscapedErrorIsShownWithTitleAndPeriod)
{
    const bool handled = TApplication::Guarded([]() -> bool { throw std::runtime_error("Coś poszło źle"); });
    EXPECT_FALSE(handled);
    ASSERT_EQ(ScriptedDialogs.Count("error"), 1);
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Caption, QStringLiteral("Tovu"));
    EXPECT_EQ(ScriptedDialogs.Boxes.back().Text, QStringLiteral("Coś poszło źle."));
    EXPECT_EQ(TApplication::ExceptionText(QStringLiteral("Koniec.")), QStringLiteral("Koniec."));
}

}  // namespace

namespace {

void WaitInEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(MainFormIdleTest, IdleMomentUpdatesTitleThenRules)
{
    TScriptedDialogs dialogs;
    auto form = MakeWindows();
    form->show();
    WritableState(*form).FModified = true;
    form->Runner().Begin();
    WaitInEventLoop(30);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tovu [zmieniony]"));
    EXPECT_FALSE(Command(*form, "actNewArray")->isEnabled());
    form->Runner().End();
    WaitInEventLoop(30);
    EXPECT_TRUE(Command(*form, "actNewArray")->isEnabled());
}

TEST(MainFormIdleTest, ErrorInAnIdleRuleIsShownAndTheLoopGoesOn)
{
    TScriptedDialogs dialogs;
    auto form = MakeWindows();
    form->show();
    Command(*form, "actCountWay")->SetRule([]() -> bool { throw std::runtime_error("Reguła zawiodła"); });
    // A real wait of the event loop: only then is it idle.
    WaitInEventLoop(50);
    ASSERT_GE(dialogs.Count("error"), 1);
    EXPECT_EQ(dialogs.Boxes.front().Text, QStringLiteral("Reguła zawiodła."));
    Command(*form, "actCountWay")->SetRule([] { return true; });
}

}  // namespace
