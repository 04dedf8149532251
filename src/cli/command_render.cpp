#include <unistd.h>
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
#include "core/point_file.h"
#include "picture/map_svg.h"
#include "picture/png_image.h"
#include "raster/map_fit.h"
#include "raster/map_render.h"

namespace {

const TOutputKinds PictureKinds{"-o", "obraz", {"png", "svg"}};

}  // namespace

int RunRender(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(
        args,
        {{"-o", true}, {"--size", true}, {"--route", true}, {"--select", true}, {"--fit", false}, FormatOptionRule});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("render"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    if (!parsed.Has("-o"))
        throw TUsageError("brak opcji -o OBRAZ (.png albo .svg, „-” to standardowe wyjście)");
    const std::string outName = parsed.ValueOr("-o", "");
    const std::string kind = ChooseOutputKind(PictureKinds, outName, parsed);
    // PNG bytes on a terminal only garble it; SVG is text and may be read there.
    if (outName == "-" && kind == "png" && ::isatty(STDOUT_FILENO) == 1)
        throw TUsageError("-o -: obraz PNG nie trafi na terminal; przekieruj wyjście albo podaj plik .png");
    const TMapSize size =
        parsed.Has("--size") ? ParseMapSize("--size", parsed.ValueOr("--size", ""), MaxMapSidePx) : DefaultMapSize;
    const TSpecimen route =
        parsed.Has("--route") ? ParseIndexList("--route", parsed.ValueOr("--route", "")) : TSpecimen();
    const std::vector<int32_t> selection =
        parsed.Has("--select") ? ParseIndexList("--select", parsed.ValueOr("--select", "")) : std::vector<int32_t>();

    TPointSetState state;
    if (!LoadPointsForCommand(state, "render", fileName))
        return ExitFailure;
    CheckIndices("--route", route, state.FPoints.size());
    CheckIndices("--select", selection, state.FPoints.size());

    if (!route.empty())
        ApplyBestRoute(state.FPoints, route);
    const std::unordered_set<int32_t> selected(selection.begin(), selection.end());
    const auto isSelected = [&selected](int32_t index) { return selected.count(index) > 0; };
    const TMapFit fit = parsed.Has("--fit") ? FitMapToPoints(state.FPoints, size.Width, size.Height) : TMapFit();

    std::string picture;
    if (kind == "svg") {
        picture = EncodeMapSvg(state.FPoints, size.Width, size.Height, isSelected, fit);
    } else {
        TBitmap32 surface;
        RenderMap(surface, size.Width, size.Height, state.FPoints, isSelected, fit);
        picture = EncodePng(surface);
        if (picture.empty()) {
            ErrorLine(FilePlace("render", outName) + "Błąd zapisu: nie udało się zakodować obrazu PNG");
            return ExitFailure;
        }
    }
    return SaveOutputFile("render", outName, picture) ? ExitOk : ExitFailure;
}
