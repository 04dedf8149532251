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

int RunBound(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"--json", false}});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("bound"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");

    TPointSetState state;
    if (!LoadPointsForCommand(state, "bound", fileName))
        return ExitFailure;
    TCliProgress progress(state);
    const TLowerBound bound = RunLowerBound(state, progress);

    if (parsed.Has("--json")) {
        const double value = bound.Certified ? bound.Value : std::numeric_limits<double>::quiet_NaN();
        WriteOutLine(
            TJsonObject().Add("points", static_cast<int64_t>(state.FPoints.size())).Add("bound", value).Text());
    } else {
        WriteOutLine(BoundLine(bound, SystemNumberFormat()));
    }
    if (!FinishOutput())
        return ExitFailure;
    return InterruptRequested() ? InterruptExitStatus() : ExitOk;
}
