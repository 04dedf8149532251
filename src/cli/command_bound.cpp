#include <limits>

#include "cli/bound_report.h"
#include "cli/cli_progress.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/interrupt.h"
#include "cli/json_text.h"
#include "cli/load_points.h"
#include "cli/regional_settings.h"
#include "cli/set_options.h"

int RunBound(const std::vector<std::string>& args)
{
    std::vector<TOptionRule> rules = {{"--start", true}, {"--json", false}};
    for (const TOptionRule& rule : SetOptionRules())
        rules.push_back(rule);
    const TParsedArgs parsed = ParseArgs(args, rules);
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("bound"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");

    TPointSetState state;
    if (!LoadPointsForCommand(state, "bound", fileName))
        return ExitFailure;
    ApplyMetricOption(parsed, state.FPlaces);
    CheckRouteKindOptions(parsed, state.FPoints.size());
    const TRouteKind kind = ReadRouteKind(parsed);
    TCliProgress progress(state);
    const TLowerBound bound = RunLowerBound(state, progress, kind);

    if (parsed.Has("--json")) {
        const double value = bound.Certified ? bound.Value : std::numeric_limits<double>::quiet_NaN();
        TJsonObject object;
        object.Add("points", static_cast<int64_t>(state.FPoints.size())).Add("bound", value);
        AddSetFields(object, state.FPlaces, kind);
        WriteOutLine(object.Text());
    } else {
        for (const std::string& line : SetLines(state.FPlaces, kind))
            WriteOutLine(line);
        WriteOutLine(BoundLine(bound, SystemNumberFormat()));
    }
    if (!FinishOutput())
        return ExitFailure;
    return InterruptRequested() ? InterruptExitStatus() : ExitOk;
}
