#include "ui/start_up.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <string_view>

#include "ui/application.h"
#include "version.h"

// The built-in icon's resource sits in a static library, whose registration
// the linker keeps only when something names it; outside any namespace.
static void RegisterIconResource()
{
    Q_INIT_RESOURCE(tovu);
}

namespace {

const QString HelpName = QStringLiteral("help");
const QString VersionName = QStringLiteral("version");

bool AsksForInformation(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

int WriteOut(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

}  // namespace

std::optional<int> AnswerInformationOptions(int argc, char* argv[])
{
    // The window's application object needs a display; a plain one does not,
    // and it is made only when the answer may be asked for.
    if (!AsksForInformation(argc, argv))
        return std::nullopt;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(tovu::VersionText));
    LoadQtTranslation(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Najkrótsza otwarta droga przez zbiór punktów na płaszczyźnie (problem komiwojażera)."));
    // Our own texts: Qt's Polish translation leaves its help option in English.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("?"), HelpName},
                                        QStringLiteral("Wyświetla ten opis i kończy działanie.")));
    parser.addOption(
        QCommandLineOption({QStringLiteral("v"), VersionName}, QStringLiteral("Wyświetla wersję programu.")));
    parser.addPositionalArgument(QStringLiteral("PLIK.tvu"),
                                 QStringLiteral("Zbiór punktów wczytywany przy starcie, jeśli plik istnieje."),
                                 QStringLiteral("[PLIK.tvu]"));
    // Errors are not ours to report: Qt's own options (-platform, -style)
    // are unknown here and the window takes them.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(VersionName))
        return WriteOut(QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion() + u'\n');
    if (parser.isSet(HelpName))
        return WriteOut(parser.helpText());
    return std::nullopt;
}

bool LoadQtTranslation(QCoreApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void SetDesktopIdentity()
{
    RegisterIconResource();
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tovu"), QIcon(QStringLiteral(":/icons/tovu.svg"))));
    QGuiApplication::setDesktopFileName(QStringLiteral("tovu"));
}
