#include "ui/dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

TDialogs* ReplacementDialogs = nullptr;

const QString PointFileFilter = QStringLiteral("Pliki Tovu (*.tvu)");

// A dialog that starts in the folder of its last file, with that name filled
// in; the first time it starts empty.
std::optional<QString> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, QString& lastName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // The chosen file need not exist when opening: a missing one fails in
    // the reader with the system's own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(PointFileFilter);
    if (mode == QFileDialog::AcceptSave)
        dialog.setDefaultSuffix(QStringLiteral("tvu"));
    if (!lastName.isEmpty()) {
        const QFileInfo last(lastName);
        dialog.setDirectory(last.absolutePath());
        dialog.selectFile(last.fileName());
    }
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

std::optional<QString> TDialogs::OpenFileName(QWidget* parent)
{
    return RunFileDialog(parent, QFileDialog::AcceptOpen, FOpenFileName);
}

std::optional<QString> TDialogs::SaveFileName(QWidget* parent)
{
    return RunFileDialog(parent, QFileDialog::AcceptSave, FSaveFileName);
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
