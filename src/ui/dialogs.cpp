#include "ui/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include <sys/vfs.h>

namespace {

TDialogs* ReplacementDialogs = nullptr;

const QString PointFileFilter = QStringLiteral("Pliki Tovu (*.tvu)");
// The open dialog reads every format the program knows.
const QStringList OpenFilters = {PointFileFilter, QStringLiteral("Pliki TSPLIB (*.tsp)"),
                                 QStringLiteral("Pliki CSV (*.csv)"),
                                 QStringLiteral("Wszystkie obsługiwane (*.tvu *.tsp *.csv)")};

struct TExportFilter {
    const char* Text;
    const char* Suffix;
    TDialogs::TExportKind Kind;
};
const TExportFilter ExportFilters[] = {
    {"Droga jako trasa TSPLIB (*.tour)", "tour", TDialogs::TExportKind::RouteTour},
    {"Droga jako CSV (*.csv)", "csv", TDialogs::TExportKind::RouteCsv},
    {"Punkty jako TSPLIB (*.tsp)", "tsp", TDialogs::TExportKind::PointsTsplib},
    {"Punkty jako CSV (*.csv)", "csv", TDialogs::TExportKind::PointsCsv},
    {"Mapa jako obraz PNG (*.png)", "png", TDialogs::TExportKind::MapPng},
    {"Mapa jako rysunek SVG (*.svg)", "svg", TDialogs::TExportKind::MapSvg},
};

std::optional<QString> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, QString& lastName,
                                     const QString& workingFolder)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The chosen file need not exist when opening: a missing one fails in
    // the reader with the system's own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptOpen)
        dialog.setNameFilters(OpenFilters);
    else
        dialog.setNameFilter(PointFileFilter);
    if (mode == QFileDialog::AcceptSave)
        dialog.setDefaultSuffix(QStringLiteral("tvu"));
    dialog.setDirectory(FileDialogFolder(workingFolder));
    if (!lastName.isEmpty())
        dialog.selectFile(QFileInfo(lastName).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastName = dialog.selectedFiles().constFirst();
    return lastName;
}

}  // namespace

void TDialogs::ShowErrorBox(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void TDialogs::ShowInformation(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
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
    return RunFileDialog(parent, QFileDialog::AcceptOpen, FOpenFileName, FWorkingFolder);
}

std::optional<QString> TDialogs::SaveFileName(QWidget* parent)
{
    return RunFileDialog(parent, QFileDialog::AcceptSave, FSaveFileName, FWorkingFolder);
}

std::optional<TDialogs::TExportChoice> TDialogs::ExportFileName(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Eksportuj"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const TExportFilter& filter : ExportFilters)
        filters << QString::fromUtf8(filter.Text);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromLatin1(ExportFilters[0].Suffix));
    // The suffix a bare name gets follows the chosen filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
        for (const TExportFilter& filter : ExportFilters)
            if (chosen == QString::fromUtf8(filter.Text))
                dialog.setDefaultSuffix(QString::fromLatin1(filter.Suffix));
    });
    dialog.setDirectory(FileDialogFolder(FWorkingFolder));
    if (!FExportFileName.isEmpty())
        dialog.selectFile(QFileInfo(FExportFileName).completeBaseName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FExportFileName = dialog.selectedFiles().constFirst();
    for (const TExportFilter& filter : ExportFilters)
        if (dialog.selectedNameFilter() == QString::fromUtf8(filter.Text))
            return TExportChoice{FExportFileName, filter.Kind};
    return TExportChoice{FExportFileName, ExportFilters[0].Kind};
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

std::optional<QString> TDialogs::InputQuery(QWidget* parent, const QString& caption, const QString& prompt,
                                            const QString& defaultText)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
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
