#include "ui/route_files.h"

#include <QString>
#include <QWidget>

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <string>

#include "core/route_file.h"
#include "core/route_links.h"
#include "core/safe_save.h"
#include "core/tour_file.h"
#include "core/tour_kind.h"
#include "core/tsplib_file.h"
#include "ui/dialogs.h"
#include "ui/document.h"
#include "ui/file_names.h"
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

void ShowFileError(QWidget* parent, const std::string& fileName, const std::string& caption, const std::string& text)
{
    // The file on a line of its own: the system's text alone does not say
    // which file it means.
    Dialogs().ShowErrorBox(parent, QString::fromStdString(caption),
                           FileNameFromStd(fileName) + u'\n' + QString::fromStdString(text));
}

TRouteFiles::TRouteFiles(TDocument& document, QWidget& parent) : QObject(&parent), FDocument(document), FParent(parent)
{
}

void TRouteFiles::OfferRouteBeside(const std::string& pointFileName)
{
    const std::string routeFile = RouteFileBeside(pointFileName);
    if (FDocument.State().FPoints.empty() || routeFile == pointFileName || !IsOrdinaryFile(routeFile))
        return;
    if (Dialogs().AskYesNo(
            &FParent, QStringLiteral("Wczytaj drogę"),
            QStringLiteral("Obok zbioru leży plik drogi:\n%1\nWczytać także drogę?").arg(FileNameFromStd(routeFile))))
        LoadRoute(routeFile);
}

bool TRouteFiles::LoadRoute(const std::string& fileName, bool askKind)
{
    TSpecimen route;
    const TFileResult read = ReadRouteFile(fileName, FDocument.State().FPoints, route);
    if (!read.Ok()) {
        ShowFileError(&FParent, fileName, "Błąd odczytu", read.ErrorText);
        return false;
    }
    TPointArray linked = FDocument.State().FPoints;
    ApplyBestRoute(linked, route);
    // A TSPLIB tour is a round trip by that format's meaning, but a route
    // saved from here may have been open: a round trip saved here says so,
    // otherwise the user says which. A route CSV without the round trip's
    // header is open.
    TRouteKind kind;
    if (RouteFileSaysRoundTrip(fileName))
        kind.RoundTrip = true;
    else if (askKind && !IsRouteCsvName(fileName))
        kind.RoundTrip = Dialogs().AskYesNo(
            &FParent, QStringLiteral("Wczytaj drogę"),
            QStringLiteral("Trasa TSPLIB (.tour) opisuje zwykle drogę zamkniętą: po ostatnim punkcie wraca ona do "
                           "pierwszego.\nWczytać ją jako drogę zamkniętą?\n(Nie: jako drogę otwartą, bez powrotu.)"));
    // A route read from a file is kept there: taking it in changes nothing
    // that could be lost.
    FDocument.Push(new TRouteCommand(FDocument, QStringLiteral("wczytanie drogi"),
                                     {LinksOf(FDocument.State().FPoints), FDocument.State().FRouteKind},
                                     {LinksOf(linked), kind}, false));
    Dialogs().FileWorked(FileNameFromStd(fileName));
    return true;
}

void TRouteFiles::actLoadRouteExecute()
{
    if (const std::optional<QString> name = Dialogs().RouteFileName(&FParent))
        LoadRoute(FileNameToStd(*name), true);
}

std::optional<std::string> TRouteFiles::AskRouteBeside(const std::string& pointFileName)
{
    // A lone point is a route too, but there is nothing to keep.
    const TPointArray& points = FDocument.State().FPoints;
    if (!HasLinks(points) || !RouteFromLinks(points))
        return std::string();
    const std::string routeFile = RouteFileBeside(pointFileName);
    QString text = QStringLiteral("Plik zbioru punktów nie przechowuje drogi.\nZapisać drogę obok niego, w pliku:\n%1")
                       .arg(FileNameFromStd(routeFile));
    if (IsOrdinaryFile(routeFile))
        text += QStringLiteral("\n(ten plik już istnieje i zostanie zastąpiony)");
    switch (Dialogs().AskYesNoCancel(&FParent, QStringLiteral("Zapisać drogę?"), text)) {
    case TDialogs::TAnswer::Yes:
        return routeFile;
    case TDialogs::TAnswer::No:
        return std::string();
    case TDialogs::TAnswer::Cancel:
        break;
    }
    return std::nullopt;
}

void TRouteFiles::SaveRouteBeside(const std::string& routeFile)
{
    const TPointArray& points = FDocument.State().FPoints;
    if (!HasLinks(points))
        return;
    const std::optional<TSpecimen> route = RouteFromLinks(points);
    if (!route) {
        Dialogs().ShowInformation(
            &FParent, QStringLiteral("Zapisz zbiór"),
            QStringLiteral("Zapisano tylko współrzędne punktów. Połączenia punktów nie tworzą jednej drogi przez "
                           "wszystkie punkty, więc nie zapisano ich w pliku trasy."));
        return;
    }
    if (routeFile.empty())
        return;
    const TFileResult saved = WriteFileReplacing(
        routeFile, TourOfKind(FormatTour(TsplibName(routeFile), *route), FDocument.State().FRouteKind.RoundTrip));
    if (!saved.Ok()) {
        // The points are saved, the route is not: the set stays marked, so
        // closing still asks.
        FDocument.SetModified(true);
        ShowFileError(&FParent, routeFile, "Błąd zapisu", saved.ErrorText);
    }
}
