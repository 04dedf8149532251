// The route beside the set: no point format holds the links, so a route is
// kept in a TSPLIB tour file of the set's name, offered when the set is
// saved and when it is opened, and "Wczytaj drogę..." reads a tour or a
// route CSV onto the set.
#include <QString>

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>

#include "core/route_file.h"
#include "core/route_links.h"
#include "core/safe_save.h"
#include "core/tour_file.h"
#include "core/tsplib_file.h"
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

bool HasLinks(const TPointArray& points)
{
    return std::any_of(points.begin(), points.end(), [](const TMapPoint& point) { return point.Next >= 0; });
}

}  // namespace

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

std::optional<std::string> TMainForm::AskRouteBeside(const std::string& pointFileName)
{
    // A lone point is a route too, but there is nothing to keep.
    const TPointArray& points = State().FPoints;
    if (!HasLinks(points) || !RouteFromLinks(points))
        return std::string();
    const std::string routeFile = RouteFileBeside(pointFileName);
    QString text = QStringLiteral("Plik zbioru punktów nie przechowuje drogi.\nZapisać drogę obok niego, w pliku:\n%1")
                       .arg(FileNameFromStd(routeFile));
    if (IsOrdinaryFile(routeFile))
        text += QStringLiteral("\n(ten plik już istnieje i zostanie zastąpiony)");
    switch (Dialogs().AskYesNoCancel(this, QStringLiteral("Zapisać drogę?"), text)) {
    case TDialogs::TAnswer::Yes:
        return routeFile;
    case TDialogs::TAnswer::No:
        return std::string();
    case TDialogs::TAnswer::Cancel:
        break;
    }
    return std::nullopt;
}

void TMainForm::SaveRouteBeside(const std::string& routeFile)
{
    const TPointArray& points = State().FPoints;
    if (!HasLinks(points))
        return;
    const std::optional<TSpecimen> route = RouteFromLinks(points);
    if (!route) {
        Dialogs().ShowInformation(
            this, QStringLiteral("Zapisz zbiór"),
            QStringLiteral("Zapisano tylko współrzędne punktów. Połączenia punktów nie tworzą jednej drogi przez "
                           "wszystkie punkty, więc nie zapisano ich w pliku trasy."));
        return;
    }
    if (routeFile.empty())
        return;
    const TFileResult saved = WriteFileReplacing(routeFile, FormatTour(TsplibName(routeFile), *route));
    if (!saved.Ok()) {
        // The points are saved, the route is not: the set stays marked, so
        // closing still asks.
        State().FModified = true;
        ShowFileError(routeFile, TOperationError{"Błąd zapisu", saved.ErrorText});
    }
}
