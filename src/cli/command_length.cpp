#include "cli/cli_host.h"
#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/json_text.h"
#include "cli/option_values.h"
#include "cli/regional_settings.h"
#include "core/number_text.h"
#include "core/point_set_ops.h"

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
    TCliHost host(state);
    host.SetErrorPlace(FilePlace("length", fileName));
    if (!LoadPointSet(state, host, InputFileName(fileName)))
        return ExitFailure;
    CheckIndices("--route", route, state.FPoints.size());

    const double length = RouteLength(state.FDistances, route);
    if (parsed.Has("--json"))
        WriteOutLine(TJsonObject().Add("length", length).Text());
    else
        WriteOutLine("Długość drogi: " + FormatNumber(length, 2, SystemNumberFormat()));
    return FinishOutput() ? ExitOk : ExitFailure;
}
