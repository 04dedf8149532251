// Start-up: Qt's own dialogs in Polish once the start-up translation is
// loaded (CTest runs this program under LANG=C.UTF-8), the program's own
// dialog texts kept, the window icon, and --help/--version answered by the
// real program without a window.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <string>

#include "ui/dialogs.h"
#include "ui/start_up.h"
#include "version.h"
#include "when_open.h"

namespace {

class StartUpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LoadQtTranslation(*qApp)) << "qtbase_pl (qt6-translations-l10n)"; }
};

// The texts of a dialog's buttons in sorted order, joined by "|".
std::string ButtonTexts(QWidget& dialog)
{
    QStringList texts;
    for (const QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        for (const QAbstractButton* button : box->buttons())
            texts << button->text();
    texts.sort();
    return texts.join(u'|').toStdString();
}

std::string LabelText(QWidget& dialog, const char* name)
{
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text().toStdString() : std::string("(brak ") + name + ")";
}

TEST_F(StartUpTest, OpenDialogIsPolish)
{
    TDialogs dialogs;
    std::string buttons;
    std::string fileNameLabel;
    std::string fileTypeLabel;
    bool widgetDialog = false;
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        widgetDialog = !dialog.findChildren<QDialogButtonBox*>().isEmpty();
        buttons = ButtonTexts(dialog);
        fileNameLabel = LabelText(dialog, "fileNameLabel");
        fileTypeLabel = LabelText(dialog, "fileTypeLabel");
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.OpenFileName(nullptr).has_value());
    ASSERT_TRUE(widgetDialog);
    EXPECT_EQ(buttons, "&Otwórz|Anuluj");
    EXPECT_EQ(fileNameLabel, "Nazwa &pliku:");
    EXPECT_EQ(fileTypeLabel, "Pliki rodzaju:");
}

TEST_F(StartUpTest, OverwriteQuestionIsPolish)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("stary.tvu"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    TDialogs dialogs;
    std::string question;
    std::string answers;
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        WhenOpen<QMessageBox>([&](QMessageBox& box) {
            question = box.text().toStdString();
            answers = ButtonTexts(box);
            box.button(QMessageBox::No)->click();
        });
        dialog.selectFile(existing);
        // Asks before overwriting; "No" keeps the file dialog open.
        static_cast<QDialog&>(dialog).accept();
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.SaveFileName(nullptr, {}).has_value());
    EXPECT_EQ(question, "stary.tvu już istnieje.\nCzy chcesz go zastąpić?");
    EXPECT_EQ(answers, "&Nie|&Tak");
}

TEST_F(StartUpTest, ProgramsOwnDialogsKeepTheirTexts)
{
    TDialogs dialogs;
    std::string inputButtons;
    WhenOpen<QInputDialog>([&](QInputDialog& dialog) {
        inputButtons = ButtonTexts(dialog);
        dialog.reject();
    });
    EXPECT_FALSE(dialogs.InputQuery(nullptr, QStringLiteral("Tytuł"), QStringLiteral("Nazwa:"), {}).has_value());
    // Polish like every other box of the program.
    EXPECT_EQ(inputButtons, "Anuluj|OK");

    std::string questionButtons;
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
        questionButtons = ButtonTexts(box);
        box.button(QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(dialogs.AskYesNoCancel(nullptr, QStringLiteral("Tovu"), QStringLiteral("Zapisać?")),
              TDialogs::TAnswer::Cancel);
    EXPECT_EQ(questionButtons, "&Nie|&Tak|Anuluj");
}

TEST_F(StartUpTest, WindowIconIsTovu)
{
    SetDesktopIdentity();
    EXPECT_FALSE(QApplication::windowIcon().pixmap(48, 48).isNull());
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("tovu"));
}

struct TInformationCase {
    const char* Name;
    QStringList Args;
    // Without a platform and without DISPLAY the window could not open at all.
    bool Offscreen;
    QString Says;
};

void PrintTo(const TInformationCase& informationCase, std::ostream* out)
{
    *out << informationCase.Name;
}

class InformationOptionTest : public ::testing::TestWithParam<TInformationCase> {};

TEST_P(InformationOptionTest, AnswersWithoutAWindow)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (GetParam().Offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromUtf8(TOVU_EXECUTABLE), GetParam().Args);
    ASSERT_TRUE(program.waitForStarted(10000));
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the program did not end: it opened a window";
    }
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QString out = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_TRUE(out.contains(GetParam().Says)) << out.toStdString();
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
}

const QString VersionLine = QStringLiteral("Tovu %1\n").arg(QString::fromUtf8(tovu::VersionText));
const QString HelpLine = QStringLiteral("[opcje] [PLIK.tvu]\n");

INSTANTIATE_TEST_SUITE_P(
    StartUp, InformationOptionTest,
    ::testing::Values(TInformationCase{"VersionOffscreen", {QStringLiteral("--version")}, true, VersionLine},
                      TInformationCase{"VersionNoDisplay", {QStringLiteral("--version")}, false, VersionLine},
                      TInformationCase{"ShortVersionNoDisplay", {QStringLiteral("-v")}, false, VersionLine},
                      TInformationCase{"HelpOffscreen", {QStringLiteral("--help")}, true, HelpLine},
                      TInformationCase{"HelpNoDisplay", {QStringLiteral("--help")}, false, HelpLine},
                      TInformationCase{"ShortHelpAfterFileNoDisplay",
                                       {QStringLiteral("punkty.tvu"), QStringLiteral("-h")},
                                       false,
                                       QStringLiteral("Wyświetla wersję programu.")}),
    [](const ::testing::TestParamInfo<TInformationCase>& info) { return std::string(info.param.Name); });

}  // namespace
