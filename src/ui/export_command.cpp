#include "ui/export_command.h"

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "core/csv_points.h"
#include "core/route_links.h"
#include "core/safe_save.h"
#include "core/tour_file.h"
#include "core/tsplib_file.h"
#include "picture/map_svg.h"
#include "picture/png_image.h"
#include "raster/map_render.h"
#include "ui/dialogs.h"
#include "ui/document.h"
#include "ui/file_names.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/point_list.h"
#include "ui/route_files.h"

namespace {

// The map window's size, or its design size before it was ever shown.
QSize MapPictureSize(const TPointSetState& state)
{
    if (state.FMapWidth > 0 && state.FMapHeight > 0)
        return {state.FMapWidth, state.FMapHeight};
    return {TMapForm::DesignClientWidth, TMapForm::DesignClientHeight};
}

}  // namespace

TExportCommand::TExportCommand(const TDocument& document, const TMapController& map, const TPointList& list,
                               QWidget& parent)
    : QObject(&parent), FDocument(document), FMap(map), FList(list), FParent(parent)
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
        content = choice->Kind == TDialogs::TExportKind::RouteTour ? FormatTour(name, *route)
                                                                   : FormatRouteCsv(points, *route);
        break;
    }
    case TDialogs::TExportKind::PointsTsplib:
        content = FormatPointsTsplib(name, points);
        break;
    case TDialogs::TExportKind::PointsCsv:
        content = FormatPointsCsv(points);
        break;
    case TDialogs::TExportKind::MapPng:
    case TDialogs::TExportKind::MapSvg: {
        // The picture the map window shows: its size, selection and scale.
        const QSize size = MapPictureSize(FDocument.State());
        const std::vector<char> selected = FList.SelectedRows();
        const auto isSelected = [&selected](int32_t i) { return RowSelected(selected, i); };
        if (choice->Kind == TDialogs::TExportKind::MapSvg) {
            content = EncodeMapSvg(points, size.width(), size.height(), isSelected, FMap.Fit());
        } else {
            TBitmap32 surface;
            RenderMap(surface, size.width(), size.height(), points, isSelected, FMap.Fit());
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
