#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/json_text.h"
#include "cli/load_points.h"
#include "cli/option_values.h"
#include "cli/regional_settings.h"
#include "cli/tour_input.h"
#include "core/number_text.h"

int RunLength(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"--route", true}, {"--tour", true}, {"--json", false}});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("length"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    if (parsed.Has("--route") && parsed.Has("--tour"))
        throw TUsageError("opcje --route i --tour wykluczają się");
    if (!parsed.Has("--route") && !parsed.Has("--tour"))
        throw TUsageError("brak opcji --route albo --tour");
    TSpecimen route = parsed.Has("--route") ? ParseIndexList("--route", parsed.ValueOr("--route", "")) : TSpecimen();

    TPointSetState state;
    if (!LoadPointsForCommand(state, "length", fileName))
        return ExitFailure;
    if (parsed.Has("--tour")) {
        if (!ReadTourRoute("length", parsed.ValueOr("--tour", ""), state.FPoints, route))
            return ExitFailure;
    } else {
        // -1 names no point, as in the window's routes; the length rule
        // skips the legs on either side of it.
        CheckIndices("--route", route, state.FPoints.size(), true);
    }

    // Legs from the coordinates: one route needs no n * n matrix.
    const double length = RouteLengthOfPoints(state.FPoints, route);
    if (parsed.Has("--json"))
        WriteOutLine(TJsonObject().Add("length", length).Text());
    else
        WriteOutLine("Długość drogi: " + FormatNumber(length, 2, SystemNumberFormat()));
    return FinishOutput() ? ExitOk : ExitFailure;
}
