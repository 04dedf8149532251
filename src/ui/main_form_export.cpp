// "Eksportuj...": the route, the points or the map in the formats other
// programs read. Every file goes through the core's one safe save.
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
#include "ui/file_names.h"
#include "ui/main_form.h"
#include "ui/map_window.h"
#include "ui/point_list.h"

namespace {

// The map window's size, or its design size before it was ever shown.
QSize MapPictureSize(const TPointSetState& state)
{
    if (state.FMapWidth > 0 && state.FMapHeight > 0)
        return {state.FMapWidth, state.FMapHeight};
    return {TMapForm::DesignClientWidth, TMapForm::DesignClientHeight};
}

}  // namespace

void TMainForm::actExportExecute()
{
    const std::optional<TDialogs::TExportChoice> choice = Dialogs().ExportFileName(this);
    if (!choice)
        return;
    const std::string fileName = FileNameToStd(choice->FileName);
    const TPointArray& points = State().FPoints;
    const std::string name = TsplibName(fileName);

    std::string content;
    switch (choice->Kind) {
    case TDialogs::TExportKind::RouteTour:
    case TDialogs::TExportKind::RouteCsv: {
        const std::optional<TSpecimen> route = RouteFromLinks(points);
        if (!route) {
            Dialogs().ShowInformation(this, QStringLiteral("Eksportuj"),
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
        const QSize size = MapPictureSize(State());
        const std::vector<char> selected = ListBox1->SelectedRows();
        const auto isSelected = [&selected](int32_t i) { return RowSelected(selected, i); };
        if (choice->Kind == TDialogs::TExportKind::MapSvg) {
            content = EncodeMapSvg(points, size.width(), size.height(), isSelected, FMapFit);
        } else {
            TBitmap32 surface;
            RenderMap(surface, size.width(), size.height(), points, isSelected, FMapFit);
            content = EncodePng(surface);
        }
        break;
    }
    }
    const TFileResult saved = WriteFileReplacing(fileName, content);
    if (!saved.Ok()) {
        ShowFileError(fileName, TOperationError{"Błąd zapisu", saved.ErrorText});
        return;
    }
    Dialogs().FileWorked(choice->FileName);
}
