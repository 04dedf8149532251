// The file commands: a new set, opening and saving, the question about
// unsaved changes, and the error box of a failed read or write.
#include <QString>
#include <QUndoStack>

#include <optional>
#include <string>
#include <utility>

#include "core/point_set_ops.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/file_names.h"
#include "ui/main_form.h"

TDialogs::TAnswer TMainForm::AskSaveChanges()
{
    return Dialogs().AskYesNoCancel(
        this, QStringLiteral("Zapisać zmiany?"),
        QStringLiteral("Zmiany wprowadzone w zbiorze nie zostały jeszcze zapisane.\nChcesz zapisać je teraz?"));
}

bool TMainForm::QuerySaveChanges()
{
    if (!State().FModified)
        return true;
    switch (AskSaveChanges()) {
    case TDialogs::TAnswer::Yes:
        actSaveArray->Execute();
        return !State().FModified;
    case TDialogs::TAnswer::No:
        return true;
    case TDialogs::TAnswer::Cancel:
        break;
    }
    return false;
}

void TMainForm::actNewArrayExecute()
{
    if (!QuerySaveChanges())
        return;
    NewPointSet(State());
    FHistory->clear();
    Rebuild(TRebuild::Everything);
}

void TMainForm::actOpenArrayExecute()
{
    if (!QuerySaveChanges())
        return;
    if (const std::optional<QString> name = Dialogs().OpenFileName(this))
        OpenPointSet(FileNameToStd(*name));
}

void TMainForm::OpenPointSet(const std::string& fileName)
{
    TPointReadInfo info;
    if (const TOperationResult failure = LoadPointSet(State(), fileName, &info)) {
        ShowFileError(fileName, *failure);
        return;
    }
    FHistory->clear();
    Dialogs().FileWorked(FileNameFromStd(fileName));
    // A load at start-up comes before the window is on screen: its first
    // showing builds the list and the map.
    Rebuild(isVisible() ? TRebuild::Everything : TRebuild::Matrix);
    // Said once the views are built, so no progress text covers it; a load
    // at start-up says it when the window first shows.
    FReadNotice = ReadNoticeText(info);
    if (!FReadNotice.empty() && isVisible())
        ShowStatus(std::exchange(FReadNotice, {}), 0);
}

void TMainForm::actSaveArrayExecute()
{
    const std::optional<QString> name = Dialogs().SaveFileName(this);
    if (!name)
        return;
    const std::string fileName = FileNameToStd(*name);
    if (const TOperationResult failure = SavePointSet(State(), fileName)) {
        ShowFileError(fileName, *failure);
        return;
    }
    FHistory->setClean();
    Dialogs().FileWorked(*name);
    Rebuild(TRebuild::List);
}

void TMainForm::ShowFileError(const std::string& fileName, const TOperationError& error)
{
    // The file on a line of its own: the system's text alone does not say
    // which file it means.
    Dialogs().ShowErrorBox(this, QString::fromStdString(error.Caption),
                           FileNameFromStd(fileName) + u'\n' + QString::fromStdString(error.Text));
}
