#include "ui/dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QTreeView>
#include <QUrl>

#include <sys/vfs.h>

#include <iterator>

#include "ui/file_icons.h"
#include "ui/picture_size_dialog.h"

namespace {

TDialogs* ReplacementDialogs = nullptr;

// A filter of the file dialogs and the extension a bare name gets with it.
struct TFileFilter {
    const char* Text;
    const char* Suffix;
};

// The open dialog reads every format the program knows.
const TFileFilter OpenFilters[] = {
    {"Pliki Tovu (*.tvu)", "tvu"},
    {"Pliki TSPLIB (*.tsp)", "tsp"},
    {"Pliki CSV (*.csv)", "csv"},
    {"Wszystkie obsługiwane (*.tvu *.tsp *.csv)", "tvu"},
};
// The save writes the format its name's extension names.
const TFileFilter SaveFilters[] = {
    {"Pliki Tovu (*.tvu)", "tvu"},
    {"Pliki TSPLIB (*.tsp)", "tsp"},
    {"Pliki CSV (*.csv)", "csv"},
};
const TFileFilter RouteFilters[] = {
    {"Drogi (*.tour *.csv)", "tour"},
    {"Trasy TSPLIB (*.tour)", "tour"},
    {"Drogi CSV (*.csv)", "csv"},
};
const TFileFilter ExportFilters[] = {
    {"Droga jako trasa TSPLIB (*.tour)", "tour"},
    {"Droga jako CSV (*.csv)", "csv"},
    {"Punkty jako TSPLIB (*.tsp)", "tsp"},
    {"Punkty jako CSV (*.csv)", "csv"},
    {"Mapa jako obraz PNG (*.png)", "png"},
    {"Mapa jako rysunek SVG (*.svg)", "svg"},
    {"Mapa jako dokument PDF do druku (*.pdf)", "pdf"},
};
// What each export filter writes, in the order of ExportFilters.
const TDialogs::TExportKind ExportKinds[] = {
    TDialogs::TExportKind::RouteTour, TDialogs::TExportKind::RouteCsv, TDialogs::TExportKind::PointsTsplib,
    TDialogs::TExportKind::PointsCsv, TDialogs::TExportKind::MapPng,   TDialogs::TExportKind::MapSvg,
    TDialogs::TExportKind::MapPdf,
};

const TFileFilter RunsTableFilters[] = {{"Tabela jako CSV (*.csv)", "csv"}};
const TFileFilter RunsChartFilters[] = {{"Wykres jako obraz PNG (*.png)", "png"},
                                        {"Wykres jako rysunek SVG (*.svg)", "svg"}};

// The size, type and date columns as wide as what they show, the name
// taking the rest of a dialog wide enough for them all (as the screen
// allows).
void ShowDetailsWhole(QFileDialog& dialog)
{
    constexpr QSize DialogSizePx(800, 460);
    QSize size = DialogSizePx;
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!details)
        return;
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

// Qt's own dialog everywhere, showing files by name only: a native dialog
// would bring its own way of looking at files. icons must outlive the dialog.
template <size_t N>
void PrepareFileDialog(QFileDialog& dialog, TFileIconsByName& icons, const TFileFilter (&filters)[N])
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    QStringList texts;
    for (const TFileFilter& filter : filters)
        texts << QString::fromUtf8(filter.Text);
    dialog.setNameFilters(texts);
    ShowDetailsWhole(dialog);
    if (dialog.acceptMode() != QFileDialog::AcceptSave)
        return;
    dialog.setDefaultSuffix(QString::fromLatin1(filters[0].Suffix));
    // The extension a bare name gets follows the chosen filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &filters](const QString& chosen) {
        for (const TFileFilter& filter : filters)
            if (chosen == QString::fromUtf8(filter.Text))
                dialog.setDefaultSuffix(QString::fromLatin1(filter.Suffix));
    });
}

// The filter whose extension the name has; the first when none has.
template <size_t N>
void SelectFilterOf(QFileDialog& dialog, const QString& name, const TFileFilter (&filters)[N])
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    for (const TFileFilter& filter : filters) {
        if (suffix == QLatin1String(filter.Suffix)) {
            dialog.selectNameFilter(QString::fromUtf8(filter.Text));
            dialog.setDefaultSuffix(QString::fromLatin1(filter.Suffix));
            return;
        }
    }
}

// Runs a prepared dialog from startName in folder; the chosen name, also
// kept in lastName. A dialog that opens proposes startName only where the
// folder shown holds a file of that name: Enter must open what it shows.
std::optional<QString> RunFileDialog(QFileDialog& dialog, QString& lastName, const QString& startName,
                                     const QString& folder)
{
    // The chosen file need not exist when opening: a missing one fails in
    // the reader with the system's own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString shownFolder = FileDialogFolder(folder);
    dialog.setDirectory(shownFolder);
    const QString startFile = QFileInfo(startName).fileName();
    const bool opens = dialog.acceptMode() == QFileDialog::AcceptOpen;
    if (!startFile.isEmpty() && (!opens || QFileInfo(QDir(shownFolder).filePath(startFile)).isFile()))
        dialog.selectFile(startFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName = dialog.selectedFiles().constFirst();
    return lastName;
}

void MakeTextSelectable(QMessageBox& box)
{
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

}  // namespace

void TDialogs::ShowErrorBox(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    MakeTextSelectable(box);
    box.exec();
}

void TDialogs::ShowInformation(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    MakeTextSelectable(box);
    box.exec();
}

TDialogs::TAnswer TDialogs::AskYesNoCancel(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent);
    // The program is Polish and loads no translation of the toolkit.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Tak"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Anuluj"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes))
        return TAnswer::Yes;
    if (clicked == box.button(QMessageBox::No))
        return TAnswer::No;
    return TAnswer::Cancel;
}

bool TDialogs::AskYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Tak"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

std::optional<QString> TDialogs::OpenFileName(QWidget* parent)
{
    TFileIconsByName icons;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    PrepareFileDialog(dialog, icons, OpenFilters);
    // Every file the program reads shows at first.
    dialog.selectNameFilter(QString::fromUtf8(std::end(OpenFilters)[-1].Text));
    return RunFileDialog(dialog, FOpenFileName, FOpenFileName, FWorkingFolder);
}

std::optional<QString> TDialogs::SaveFileName(QWidget* parent, const QString& proposedName)
{
    TFileIconsByName icons;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PrepareFileDialog(dialog, icons, SaveFilters);
    if (proposedName.isEmpty())
        return RunFileDialog(dialog, FSaveFileName, FSaveFileName, FWorkingFolder);
    SelectFilterOf(dialog, proposedName, SaveFilters);
    return RunFileDialog(dialog, FSaveFileName, proposedName, QFileInfo(proposedName).absolutePath());
}

std::optional<QString> TDialogs::RouteFileName(QWidget* parent)
{
    TFileIconsByName icons;
    QFileDialog dialog(parent, QStringLiteral("Wczytaj drogę"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    PrepareFileDialog(dialog, icons, RouteFilters);
    return RunFileDialog(dialog, FRouteFileName, FRouteFileName, FWorkingFolder);
}

std::optional<TDialogs::TExportChoice> TDialogs::ExportFileName(QWidget* parent)
{
    TFileIconsByName icons;
    QFileDialog dialog(parent, QStringLiteral("Eksportuj"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PrepareFileDialog(dialog, icons, ExportFilters);
    // Without its extension: the chosen filter gives the new one.
    const QString startName = QFileInfo(FExportFileName).completeBaseName();
    QString chosen;
    if (!RunFileDialog(dialog, chosen, startName, FWorkingFolder))
        return std::nullopt;
    FExportFileName = chosen;
    TExportKind filterKind = ExportKinds[0];
    for (size_t i = 0; i < std::size(ExportFilters); ++i)
        if (dialog.selectedNameFilter() == QString::fromUtf8(ExportFilters[i].Text))
            filterKind = ExportKinds[i];
    return TExportChoice{FExportFileName, ExportKindOf(FExportFileName, filterKind)};
}

TDialogs::TExportKind ExportKindOf(const QString& fileName, TDialogs::TExportKind chosenFilter)
{
    using TKind = TDialogs::TExportKind;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        return chosenFilter == TKind::PointsTsplib || chosenFilter == TKind::PointsCsv ? TKind::PointsCsv
                                                                                       : TKind::RouteCsv;
    const struct {
        const char* Suffix;
        TKind Kind;
    } bySuffix[] = {{"tour", TKind::RouteTour},
                    {"tsp", TKind::PointsTsplib},
                    {"png", TKind::MapPng},
                    {"svg", TKind::MapSvg},
                    {"pdf", TKind::MapPdf}};
    for (const auto& each : bySuffix)
        if (suffix == QLatin1String(each.Suffix))
            return each.Kind;
    return chosenFilter;
}

std::optional<QSize> TDialogs::PictureSize(QWidget* parent, const QSize& proposed)
{
    return AskPictureSize(parent, proposed);
}

std::optional<TDialogs::TRunsChoice> TDialogs::RunsFileName(QWidget* parent, bool chart)
{
    TFileIconsByName icons;
    QFileDialog dialog(parent, chart ? QStringLiteral("Zapisz wykres") : QStringLiteral("Eksportuj tabelę"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (chart)
        PrepareFileDialog(dialog, icons, RunsChartFilters);
    else
        PrepareFileDialog(dialog, icons, RunsTableFilters);
    // Without its extension: the chosen filter gives the new one.
    const QString startName = QFileInfo(FRunsFileName).completeBaseName();
    QString chosen;
    if (!RunFileDialog(dialog, chosen, startName, FWorkingFolder))
        return std::nullopt;
    FRunsFileName = chosen;
    if (!chart)
        return TRunsChoice{chosen, TRunsExport::TableCsv};
    // A name's own extension wins over the filter.
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    const bool svg =
        suffix == QLatin1String("svg") ||
        (suffix != QLatin1String("png") && dialog.selectedNameFilter() == QString::fromUtf8(RunsChartFilters[1].Text));
    return TRunsChoice{chosen, svg ? TRunsExport::ChartSvg : TRunsExport::ChartPng};
}

void TDialogs::FileWorked(const QString& fileName)
{
    FWorkingFolder = QFileInfo(fileName).absolutePath();
}

QString FileDialogFolder(const QString& workingFolder)
{
    if (workingFolder.isEmpty() || !QFileInfo(workingFolder).isDir() || IsPseudoFileSystem(workingFolder))
        return QDir::homePath();
    return workingFolder;
}

bool IsPseudoFileSystem(const QString& folder)
{
    struct statfs info {};
    if (::statfs(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    // The kernel's own views: files there are not point sets, and some
    // (/proc/kmsg) block a reader until the kernel writes.
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x9fa0:      // proc
    case 0x62656572:  // sysfs
    case 0x1cd1:      // devpts
    case 0x64626720:  // debugfs
    case 0x74726163:  // tracefs
    case 0x27e0eb:    // cgroup
    case 0x63677270:  // cgroup2
    case 0x73636673:  // securityfs
    case 0xcafe4a11:  // bpf
    case 0x6165676c:  // pstore
    case 0x62656570:  // configfs
    case 0xde5e81e4:  // efivarfs
        return true;
    default:
        return false;
    }
}

bool TDialogs::OpenLink(const QUrl& link)
{
    return QDesktopServices::openUrl(link);
}

std::optional<QString> TDialogs::InputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                            const QString& defaultText)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    // Qt's own Polish texts would say "Anuluj" too; the program says it
    // whether or not they are installed.
    dialog.setCancelButtonText(QStringLiteral("Anuluj"));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(255);
        edit->selectAll();
    }
    dialog.adjustSize();
    // Wide enough for the whole caption in the title bar, with room for the
    // window manager's buttons.
    const int captionWidth = dialog.fontMetrics().horizontalAdvance(caption) + 140;
    if (dialog.width() < captionWidth)
        dialog.resize(captionWidth, dialog.height());
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

TDialogs& Dialogs()
{
    static TDialogs realDialogs;
    return ReplacementDialogs ? *ReplacementDialogs : realDialogs;
}

void SetDialogs(TDialogs* dialogs)
{
    ReplacementDialogs = dialogs;
}
