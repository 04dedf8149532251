#include "ui/file_commands.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

#include "core/in_place_write.h"
#include "core/point_formats.h"
#include "core/point_input.h"
#include "core/point_set_ops.h"
#include "core/save_losses.h"
#include "ui/commands.h"
#include "ui/document.h"
#include "ui/file_names.h"
#include "ui/route_files.h"
#include "ui/window_progress.h"

TFileCommands::TFileCommands(TDocument& document, TWindowProgress& progress, TRouteFiles& routes, TCommand& save,
                             QWidget& parent)
    : QObject(&parent), FDocument(document), FProgress(progress), FRoutes(routes), FSave(save), FParent(parent)
{
}

TDialogs::TAnswer TFileCommands::AskSaveChanges()
{
    return Dialogs().AskYesNoCancel(
        &FParent, QStringLiteral("Zapisać zmiany?"),
        QStringLiteral("Zmiany wprowadzone w zbiorze nie zostały jeszcze zapisane.\nChcesz zapisać je teraz?"));
}

bool TFileCommands::QuerySaveChanges()
{
    if (!FDocument.State().FModified)
        return true;
    switch (AskSaveChanges()) {
    case TDialogs::TAnswer::Yes:
        FSave.Execute();
        return !FDocument.State().FModified;
    case TDialogs::TAnswer::No:
        return true;
    case TDialogs::TAnswer::Cancel:
        break;
    }
    return false;
}

void TFileCommands::actNewArrayExecute()
{
    if (!QuerySaveChanges())
        return;
    FDocument.Renew();
}

void TFileCommands::actOpenArrayExecute()
{
    if (!QuerySaveChanges())
        return;
    const std::optional<QString> name = Dialogs().OpenFileName(&FParent);
    if (!name)
        return;
    const std::string fileName = FileNameToStd(*name);
    OfferOldContents(fileName);
    OpenPointSet(fileName);
    // The set now comes from that file, unchanged: its route is offered too.
    if (FDocument.State().FFileName == fileName && !FDocument.State().FModified)
        FRoutes.OfferRouteBeside(fileName);
}

void TFileCommands::OfferOldContents(const std::string& fileName)
{
    const std::string notice = LeftoverCopyNotice(fileName);
    if (notice.empty())
        return;
    const QString question = FileNameFromStd(fileName) + QStringLiteral(": ") + QString::fromStdString(notice) +
                             QStringLiteral(
                                 ".\n\nPrzywrócić dawną zawartość pliku z kopii? (Nie: plik zostanie "
                                 "otwarty taki, jaki jest, a kopia zostanie obok)");
    if (!Dialogs().AskYesNo(&FParent, QStringLiteral("Kopia z przerwanego zapisu"), question))
        return;
    const TFileResult restored = RestoreOldContents(fileName);
    if (!restored.Ok())
        ShowFileError(&FParent, fileName, "Błąd zapisu", restored.ErrorText);
}

void TFileCommands::OpenAtStart(const std::string& fileName)
{
    OpenPointSet(fileName);
    if (FDocument.State().FFileName == fileName)
        FRouteOfferFor = fileName;
}

void TFileCommands::OpenPointSet(const std::string& fileName)
{
    TPointReadInfo info;
    TPointSetState opened = FDocument.State();
    // TSPLIB and CSV sets up to MaxWindowPoints: the map, the list, the
    // local search and the bound need no table of every pair.
    if (const TOperationResult failure = LoadPointSet(opened, fileName, &info, MaxWindowPoints)) {
        ShowFileError(&FParent, fileName, failure->Caption, failure->Text);
        return;
    }
    Dialogs().FileWorked(FileNameFromStd(fileName));
    // A load at start-up comes before the window is on screen: its first
    // showing builds the list and the map.
    FDocument.Open(std::move(opened));
    // Said once the views are built, so no progress text covers it; a load
    // at start-up says it when the window first shows.
    FReadNotice = ReadNoticeText(info);
    if (!FReadNotice.empty() && FParent.isVisible())
        FProgress.ShowStatus(std::exchange(FReadNotice, {}), 0);
}

void TFileCommands::WindowShown()
{
    if (!FReadNotice.empty())
        FProgress.ShowStatus(std::exchange(FReadNotice, {}), 0);
    // Asked once the window is on screen, not from inside its showing.
    if (!FRouteOfferFor.empty())
        QTimer::singleShot(0, this,
                           [this, name = std::exchange(FRouteOfferFor, {})] { FRoutes.OfferRouteBeside(name); });
}

void TFileCommands::actSaveArrayExecute()
{
    TPointSetState state = FDocument.State();
    const std::optional<QString> name = Dialogs().SaveFileName(&FParent, FileNameFromStd(state.FFileName));
    if (!name)
        return;
    const std::string fileName = FileNameToStd(*name);
    // A format that can't hold what the set has (degrees, decimals, a
    // measure on the Earth) says what would go, and the user decides.
    const TPointFormat format = PointFormatOfFile(fileName);
    const std::vector<TSaveLoss> losses = SaveLosses(format, state.FPoints, state.FPlaces);
    if (AnySeriousLoss(losses) && !Dialogs().AskYesNo(&FParent, QStringLiteral("Zapisz zbiór"),
                                                      QString::fromStdString(SaveLossQuestion(format, losses))))
        return;
    // No point format holds the links; the route may go beside the set,
    // asked before anything is written so that Anuluj saves nothing.
    const std::optional<std::string> routeFile = FRoutes.AskRouteBeside(fileName);
    if (!routeFile)
        return;
    if (const TOperationResult failure = SavePointSet(state, fileName)) {
        ShowFileError(&FParent, fileName, failure->Caption, failure->Text);
        return;
    }
    // The list and the map show the set afresh.
    FDocument.MarkSaved(fileName);
    Dialogs().FileWorked(*name);
    FRoutes.SaveRouteBeside(*routeFile);
}
