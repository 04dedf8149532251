// The file commands: a new set, opening and saving, the route kept in a
// tour file beside the set, the question about unsaved changes, and the
// error box of a failed read or write.
#include <QString>
#include <QUndoStack>

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "core/point_set_ops.h"
#include "core/point_text.h"
#include "core/route_file.h"
#include "core/route_links.h"
#include "core/safe_save.h"
#include "core/tour_file.h"
#include "core/tsplib_file.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/file_names.h"
#include "ui/main_form.h"
#include "ui/undo_commands.h"

namespace {

bool IsOrdinaryFile(const std::string& fileName)
{
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

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
    if (info.RoundedCount > 0) {
        FReadNotice = RoundedCoordinatesText(info.RoundedCount);
        if (isVisible())
            ShowStatus(std::exchange(FReadNotice, {}), 0);
    }
    // The route saved with the set is offered too; at start-up once the
    // window is on screen.
    if (isVisible())
        OfferRouteBeside(fileName);
    else
        FRouteOfferFor = fileName;
}

void TMainForm::OfferRouteBeside(const std::string& pointFileName)
{
    const std::string routeFile = RouteFileBeside(pointFileName);
    if (State().FPoints.empty() || routeFile == pointFileName || !IsOrdinaryFile(routeFile))
        return;
    if (Dialogs().AskYesNo(
            this, QStringLiteral("Wczytaj drogę"),
            QStringLiteral("Obok zbioru leży plik drogi:\n%1\nWczytać także drogę?").arg(FileNameFromStd(routeFile))))
        LoadRoute(routeFile);
}

bool TMainForm::LoadRoute(const std::string& fileName)
{
    TSpecimen route;
    const TFileResult read = ReadRouteFile(fileName, State().FPoints, route);
    if (!read.Ok()) {
        ShowFileError(fileName, TOperationError{"Błąd odczytu", read.ErrorText});
        return false;
    }
    TPointArray linked = State().FPoints;
    ApplyBestRoute(linked, route);
    // A route read from a file is kept there: taking it in changes nothing
    // that could be lost.
    PushStep(
        new TLinksCommand(*this, QStringLiteral("wczytanie drogi"), LinksOf(State().FPoints), LinksOf(linked), false));
    Dialogs().FileWorked(FileNameFromStd(fileName));
    return true;
}

void TMainForm::actLoadRouteExecute()
{
    if (const std::optional<QString> name = Dialogs().RouteFileName(this))
        LoadRoute(FileNameToStd(*name));
}

bool TMainForm::actLoadRouteUpdate()
{
    return actCountWayUpdate() && !State().FPoints.empty();
}

TDialogs::TAnswer TMainForm::AskSaveRoute(const std::string& routeFile)
{
    QString text = QStringLiteral("Plik zbioru punktów nie przechowuje drogi.\nZapisać drogę obok niego, w pliku:\n%1")
                       .arg(FileNameFromStd(routeFile));
    if (IsOrdinaryFile(routeFile))
        text += QStringLiteral("\n(ten plik już istnieje i zostanie zastąpiony)");
    return Dialogs().AskYesNoCancel(this, QStringLiteral("Zapisać drogę?"), text);
}

void TMainForm::actSaveArrayExecute()
{
    const std::optional<QString> name = Dialogs().SaveFileName(this, FileNameFromStd(State().FFileName));
    if (!name)
        return;
    const std::string fileName = FileNameToStd(*name);
    // No point format holds the links. A route goes into a tour file beside
    // the set when the user wants it; asked first, so that Anuluj saves
    // nothing at all.
    const TPointArray& points = State().FPoints;
    const bool linked = std::any_of(points.begin(), points.end(), [](const TMapPoint& p) { return p.Next >= 0; });
    const std::optional<TSpecimen> route = linked ? RouteFromLinks(points) : std::nullopt;
    std::string routeFile;
    if (route) {
        switch (AskSaveRoute(RouteFileBeside(fileName))) {
        case TDialogs::TAnswer::Cancel:
            return;
        case TDialogs::TAnswer::Yes:
            routeFile = RouteFileBeside(fileName);
            break;
        case TDialogs::TAnswer::No:
            break;
        }
    }
    if (const TOperationResult failure = SavePointSet(State(), fileName)) {
        ShowFileError(fileName, *failure);
        return;
    }
    FHistory->setClean();
    Dialogs().FileWorked(*name);
    Rebuild(TRebuild::List);
    if (!routeFile.empty()) {
        const TFileResult saved = WriteFileReplacing(routeFile, FormatTour(TsplibName(routeFile), *route));
        if (!saved.Ok()) {
            // The points are saved, the route is not: the set stays marked,
            // so closing still asks.
            State().FModified = true;
            ShowFileError(routeFile, TOperationError{"Błąd zapisu", saved.ErrorText});
        }
    } else if (linked && !route) {
        Dialogs().ShowInformation(
            this, QStringLiteral("Zapisz zbiór"),
            QStringLiteral("Zapisano tylko współrzędne punktów. Połączenia punktów nie tworzą jednej drogi przez "
                           "wszystkie punkty, więc nie zapisano ich w pliku trasy."));
    }
}

void TMainForm::ShowFileError(const std::string& fileName, const TOperationError& error)
{
    // The file on a line of its own: the system's text alone does not say
    // which file it means.
    Dialogs().ShowErrorBox(this, QString::fromStdString(error.Caption),
                           FileNameFromStd(fileName) + u'\n' + QString::fromStdString(error.Text));
}
