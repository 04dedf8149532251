#include <QGuiApplication>

#include <unistd.h>
#include <memory>
#include <unordered_set>

#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/load_points.h"
#include "cli/option_values.h"
#include "cli/output_kind.h"
#include "cli/tour_input.h"
#include "core/point_file.h"
#include "picture/map_svg.h"
#include "picture/map_view_paint.h"
#include "picture/map_view_svg.h"
#include "picture/png_image.h"
#include "raster/map_fit.h"
#include "raster/map_render.h"
#include "raster/map_view.h"
#include "raster/map_view_picture.h"

namespace {

const TOutputKinds PictureKinds{"-o", "obraz", {"png", "svg", "pdf"}};

// Type (the numbers) and the PDF writer need a running QGuiApplication;
// the tool starts one without any display, and only when a picture needs
// it.
std::unique_ptr<QGuiApplication> StartPainting()
{
    if (QGuiApplication::instance())
        return nullptr;
    static int argc = 3;
    static char name[] = "tovu-cli";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    // Qt's notes on a machine without a desktop (no runtime folder) are no
    // business of the tool's user; its errors are.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            ErrorLine("tovu-cli render: " + message.toStdString());
    });
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int RunRender(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"-o", true},
                                                {"--size", true},
                                                {"--route", true},
                                                {"--tour", true},
                                                {"--select", true},
                                                {"--fit", false},
                                                {"--no-fit", false},
                                                {"--numbers", false},
                                                {"--round-trip", false},
                                                FormatOptionRule});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("render"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    if (!parsed.Has("-o"))
        throw TUsageError("brak opcji -o OBRAZ (.png, .svg albo .pdf, „-” to standardowe wyjście)");
    const std::string outName = parsed.ValueOr("-o", "");
    const std::string kind = ChooseOutputKind(PictureKinds, outName, parsed);
    // PNG and PDF bytes on a terminal only garble it; SVG is text and may be
    // read there.
    if (outName == "-" && kind != "svg" && ::isatty(STDOUT_FILENO) == 1)
        throw TUsageError(kind == "png"
                              ? "-o -: obraz PNG nie trafi na terminal; przekieruj wyjście albo podaj plik .png"
                              : "-o -: dokument PDF nie trafi na terminal; przekieruj wyjście albo podaj "
                                "plik .pdf");
    if (parsed.Has("--route") && parsed.Has("--tour"))
        throw TUsageError("opcje --route i --tour wykluczają się");
    if (parsed.Has("--fit") && parsed.Has("--no-fit"))
        throw TUsageError("opcje --fit i --no-fit wykluczają się");
    std::optional<TMapSize> size;
    if (parsed.Has("--size"))
        size = ParseMapSize("--size", parsed.ValueOr("--size", ""), MaxMapSidePx);
    TSpecimen route = parsed.Has("--route") ? ParseIndexList("--route", parsed.ValueOr("--route", "")) : TSpecimen();
    const std::vector<int32_t> selection =
        parsed.Has("--select") ? ParseIndexList("--select", parsed.ValueOr("--select", "")) : std::vector<int32_t>();

    std::vector<std::string> inputs{fileName};
    if (parsed.Has("--tour"))
        inputs.push_back(parsed.ValueOr("--tour", ""));
    if (!CheckOutputIsNoInput("render", outName, inputs))
        return ExitFailure;

    TPointSetState state;
    if (!LoadPointsForCommand(state, "render", fileName))
        return ExitFailure;
    if (parsed.Has("--tour") && !ReadTourRoute("render", parsed.ValueOr("--tour", ""), state.FPoints, route))
        return ExitFailure;
    CheckIndices("--route", route, state.FPoints.size());
    CheckIndices("--select", selection, state.FPoints.size());

    if (!route.empty())
        ApplyBestRoute(state.FPoints, route);
    // A round trip's closing leg is drawn as a link of the ring.
    if (parsed.Has("--round-trip") && route.size() > 2 && route.back() >= 0 && route.front() >= 0)
        state.FPoints[static_cast<size_t>(route.back())].Next = route.front();
    const TPointArray& points = state.FPoints;
    const std::unordered_set<int32_t> selected(selection.begin(), selection.end());
    const auto isSelected = [&selected](int32_t index) { return selected.count(index) > 0; };
    // A PDF is a page to print unless a size is given.
    const bool printPage = kind == "pdf" && !size && !parsed.Has("--no-fit");
    if (!size)
        size = kind == "pdf" ? TMapSize{PrintPageSize(points).Width, PrintPageSize(points).Height} : DefaultMapSize;
    const int32_t width = size->Width;
    const int32_t height = size->Height;
    // As the window shows a set it opens: whole, and at its own coordinates
    // when it lies on the map. --no-fit is the map at 1:1 (Ctrl+0): its own
    // coordinates whatever they are, what lies beyond the picture cut off.
    const bool onMap = parsed.Has("--no-fit") || PointsLieOnMap(points, width, height);
    if (!parsed.Has("--fit") && !onMap)
        ErrorLine(FilePlace("render", fileName) + "punkty wychodzą poza obraz " + std::to_string(width) + "x" +
                  std::to_string(height) + ", więc obraz pokazuje cały zbiór (jak z --fit)");
    const bool fitted = parsed.Has("--fit") || !onMap;
    const TMapFit view = fitted ? FitMapToPoints(points, width, height) : TMapFit();
    const bool numbers = parsed.Has("--numbers");
    const std::unique_ptr<QGuiApplication> painting = kind == "pdf" || numbers ? StartPainting() : nullptr;

    std::string picture;
    if (printPage) {
        // The page shows the set as a larger picture would, shrunk: marks
        // and lines as on the screen, not a mass of ink at ten thousand
        // points.
        picture = EncodeMapPdf(BuildPrintPicture(points, isSelected, numbers), PrintPageSize(points));
    } else if (kind == "pdf" || (fitted && kind == "svg")) {
        const TMapViewPicture shapes = BuildMapViewPicture(points, isSelected, width, height, view, numbers);
        picture = kind == "pdf" ? EncodeMapPdf(shapes) : EncodeMapViewSvg(shapes);
    } else if (kind == "svg") {
        // The pixel picture's twin, the points' numbers over it.
        picture = EncodeMapSvg(points, width, height, isSelected);
        if (numbers)
            picture.insert(
                picture.rfind("</svg>"),
                SvgLabels(PlaceLabels(PixelPictureMarks(points, isSelected, view, width, height), width, height)));
    } else {
        TBitmap32 surface;
        if (fitted) {
            RenderMapView(surface, BuildMapViewPicture(points, isSelected, width, height, view, numbers));
        } else {
            RenderMap(surface, width, height, points, isSelected);
            if (numbers)
                PaintMapLabels(surface,
                               PlaceLabels(PixelPictureMarks(points, isSelected, view, width, height), width, height));
        }
        picture = EncodePng(surface);
    }
    if (picture.empty()) {
        ErrorLine(FilePlace("render", outName) + "Błąd zapisu: nie udało się zapisać obrazu " +
                  (kind == "pdf" ? "PDF" : "PNG"));
        return ExitFailure;
    }
    return SaveOutputFile("render", outName, picture) ? ExitOk : ExitFailure;
}
