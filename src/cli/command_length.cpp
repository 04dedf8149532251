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
#include "cli/set_options.h"
#include "cli/tour_input.h"
#include "core/number_text.h"

int RunLength(const std::vector<std::string>& args)
{
    std::vector<TOptionRule> rules = {{"--route", true}, {"--tour", true}, {"--start", true}, {"--json", false}};
    for (const TOptionRule& rule : SetOptionRules())
        rules.push_back(rule);
    const TParsedArgs parsed = ParseArgs(args, rules);
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
    ApplyMetricOption(parsed, state.FPlaces);
    CheckRouteKindOptions(parsed, state.FPoints.size());
    const TRouteKind kind = ReadRouteKind(parsed);
    if (parsed.Has("--tour")) {
        if (!ReadTourRoute("length", parsed.ValueOr("--tour", ""), state.FPoints, route))
            return ExitFailure;
    } else {
        // -1 names no point, as in the window's routes; the length rule
        // skips the legs on either side of it.
        CheckIndices("--route", route, state.FPoints.size(), true);
    }

    // A route given for a kind with fixed ends must have them.
    if (!kind.FreeOpen() && !RouteFitsKind(route, kind, static_cast<int32_t>(state.FPoints.size()))) {
        ErrorLine(FilePlace("length", fileName) + "droga nie jest drogą rodzaju „" + RouteKindText(kind) +
                  "” przez wszystkie punkty zbioru");
        return ExitFailure;
    }

    // Legs from the set's measure: one route needs no n * n matrix.
    const double length = KindRouteLength(MeasureOf(state.FPlaces, state.FPoints), route, kind);
    if (parsed.Has("--json")) {
        TJsonObject object;
        object.Add("length", length);
        AddSetFields(object, state.FPlaces, kind);
        WriteOutLine(object.Text());
    } else {
        for (const std::string& line : SetLines(state.FPlaces, kind))
            WriteOutLine(line);
        WriteOutLine("Długość drogi: " + FormatNumber(length, 2, SystemNumberFormat()));
    }
    return FinishOutput() ? ExitOk : ExitFailure;
}
