#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/json_text.h"
#include "cli/load_points.h"
#include "cli/option_values.h"
#include "cli/regional_settings.h"
#include "core/number_text.h"

int RunLength(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"--route", true}, {"--json", false}});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("length"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    if (!parsed.Has("--route"))
        throw TUsageError("brak opcji --route");
    const TSpecimen route = ParseIndexList("--route", parsed.ValueOr("--route", ""));

    TPointSetState state;
    if (!LoadPointsForCommand(state, "length", fileName))
        return ExitFailure;
    CheckIndices("--route", route, state.FPoints.size());

    // Legs from the coordinates: one route needs no n * n matrix.
    const double length = RouteLengthOfPoints(state.FPoints, route);
    if (parsed.Has("--json"))
        WriteOutLine(TJsonObject().Add("length", length).Text());
    else
        WriteOutLine("Długość drogi: " + FormatNumber(length, 2, SystemNumberFormat()));
    return FinishOutput() ? ExitOk : ExitFailure;
}
