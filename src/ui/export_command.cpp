#include "ui/export_command.h"

#include <QAction>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/csv_points.h"
#include "core/route_links.h"
#include "core/safe_save.h"
#include "core/tour_file.h"
#include "core/tour_kind.h"
#include "core/tsplib_file.h"
#include "picture/map_view_paint.h"
#include "picture/map_view_svg.h"
#include "picture/png_image.h"
#include "raster/map_view.h"
#include "raster/map_view_picture.h"
#include "ui/dialogs.h"
#include "ui/document.h"
#include "ui/file_names.h"
#include "ui/map_round_trip.h"
#include "ui/point_list.h"
#include "ui/route_files.h"

namespace {

// The long side of the size a picture is first proposed at.
constexpr int32_t ProposedLongSidePx = 2000;

}  // namespace

TExportCommand::TExportCommand(const TDocument& document, const QAction& pointNumbers, const TPointList& list,
                               QWidget& parent)
    : QObject(&parent), FDocument(document), FPointNumbers(pointNumbers), FList(list), FParent(parent)
{
}

// Every file goes through the core's one safe save.
void TExportCommand::actExportExecute()
{
    const std::optional<TDialogs::TExportChoice> choice = Dialogs().ExportFileName(&FParent);
    if (!choice)
        return;
    const std::string fileName = FileNameToStd(choice->FileName);
    const TPointArray& points = FDocument.State().FPoints;
    const std::string name = TsplibName(fileName);

    std::string content;
    switch (choice->Kind) {
    case TDialogs::TExportKind::RouteTour:
    case TDialogs::TExportKind::RouteCsv: {
        const std::optional<TSpecimen> route = RouteFromLinks(points);
        if (!route) {
            Dialogs().ShowInformation(&FParent, QStringLiteral("Eksportuj"),
                                      QStringLiteral("Połączenia punktów nie tworzą jednej drogi przez wszystkie "
                                                     "punkty, więc nie ma drogi do zapisania."));
            return;
        }
        // A round trip's tour says it is one.
        content = choice->Kind == TDialogs::TExportKind::RouteTour
                      ? TourOfKind(FormatTour(name, *route), FDocument.State().FRouteKind.RoundTrip)
                      : FormatRouteCsv(points, *route, FDocument.State().FRouteKind.RoundTrip);
        break;
    }
    case TDialogs::TExportKind::PointsTsplib:
        content = FormatPointsTsplib(name, points);
        break;
    case TDialogs::TExportKind::PointsCsv:
        content = FormatPointsCsv(points);
        break;
    case TDialogs::TExportKind::MapPng:
    case TDialogs::TExportKind::MapSvg:
    case TDialogs::TExportKind::MapPdf: {
        const std::optional<TMapViewPicture> picture = MapPicture(choice->Kind);
        if (!picture)
            return;
        if (choice->Kind == TDialogs::TExportKind::MapSvg) {
            content = EncodeMapViewSvg(*picture);
        } else if (choice->Kind == TDialogs::TExportKind::MapPdf) {
            content = EncodeMapPdf(*picture, PrintPageSize(points));
        } else {
            TBitmap32 surface;
            RenderMapView(surface, *picture);
            content = EncodePng(surface);
        }
        break;
    }
    }
    const TFileResult saved = WriteFileReplacing(fileName, content);
    if (!saved.Ok()) {
        ShowFileError(&FParent, fileName, "Błąd zapisu", saved.ErrorText);
        return;
    }
    Dialogs().FileWorked(choice->FileName);
}

std::optional<TMapViewPicture> TExportCommand::MapPicture(TDialogs::TExportKind kind) const
{
    // The whole set fitted to the picture, whatever part of it the map
    // window shows, with the list's selection and the map's numbers.
    // A round trip with its way back, as the map shows it.
    const TClosedRoute closed = CloseRoundTrip(FDocument.State().FPoints, FDocument.State().FRouteKind);
    const TPointArray& points = closed.Points;
    const std::vector<char> selected = FList.SelectedRows();
    const auto isSelected = [&selected](int32_t i) { return RowSelected(selected, i); };
    const bool numbers = FPointNumbers.isChecked();
    TMapViewPicture picture;
    if (kind == TDialogs::TExportKind::MapPdf) {
        picture = BuildPrintPicture(points, isSelected, numbers);
    } else {
        const TPictureSize proposed = FittedPictureSize(points, ProposedLongSidePx);
        const std::optional<QSize> size = Dialogs().PictureSize(&FParent, QSize(proposed.Width, proposed.Height));
        if (!size)
            return std::nullopt;
        picture = BuildMapViewPicture(points, isSelected, size->width(), size->height(),
                                      FitMapToPoints(points, size->width(), size->height()), numbers);
    }
    if (closed.First >= 0)
        MarkRoundTripStart(picture, closed.First, numbers);
    return picture;
}
