#include <array>
#include <limits>
#include <utility>

#include "cli/cli_progress.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/interrupt.h"
#include "cli/json_text.h"
#include "cli/load_points.h"
#include "cli/option_values.h"
#include "cli/regional_settings.h"
#include "cli/seed_option.h"
#include "core/distances.h"
#include "core/point_set_ops.h"
#include "search/run_control.h"

namespace {

// By method index; the names a script types.
const std::array<const char*, 3> MethodNames = {"exhaustive", "random", "genetic"};

TSearchMethod ParseMethod(const std::string& text)
{
    for (size_t i = 0; i < MethodNames.size(); ++i)
        if (text == MethodNames[i])
            return static_cast<TSearchMethod>(i);
    throw TUsageError("--method: nieznana metoda „" + text + "” (exhaustive, random albo genetic)");
}

// Options of one method make no sense with another; a script that passes
// them has most likely picked the wrong method.
void RefuseForeignOptions(const TParsedArgs& parsed, TSearchMethod method)
{
    const std::array<std::pair<const char*, TSearchMethod>, 7> owners = {{
        {"--tries", smRandom},
        {"--population", smGenetic},
        {"--crossover", smGenetic},
        {"--mutation", smGenetic},
        {"--generations", smGenetic},
        {"--threshold", smGenetic},
        {"--keep-best", smGenetic},
    }};
    for (const auto& [name, owner] : owners)
        if (parsed.Has(name) && owner != method)
            throw TUsageError(std::string("opcja ") + name + " dotyczy tylko metody " + MethodNames[owner]);
}

TSearchSettings ReadSettings(const TParsedArgs& parsed)
{
    TSearchSettings settings;
    TGeneticParams& genetic = settings.Genetic;
    // The ranges of the search tab's spin edits.
    if (parsed.Has("--tries"))
        settings.RandomCount = static_cast<int32_t>(ParseIntOption("--tries", parsed.ValueOr("--tries", ""), 1, 32000));
    if (parsed.Has("--population"))
        genetic.Population =
            static_cast<int32_t>(ParseIntOption("--population", parsed.ValueOr("--population", ""), 10, 1000));
    if (parsed.Has("--crossover"))
        genetic.CrossoverRate = ParseDecimalOption("--crossover", parsed.ValueOr("--crossover", ""));
    if (parsed.Has("--mutation"))
        genetic.MutationRate = ParseDecimalOption("--mutation", parsed.ValueOr("--mutation", ""));
    if (parsed.Has("--generations") && parsed.Has("--threshold"))
        throw TUsageError("opcje --generations i --threshold wykluczają się");
    if (parsed.Has("--generations"))
        genetic.GenerationCount =
            static_cast<int32_t>(ParseIntOption("--generations", parsed.ValueOr("--generations", ""), 100, 32000));
    if (parsed.Has("--threshold")) {
        genetic.StopByCount = false;
        genetic.Treshold =
            static_cast<int32_t>(ParseIntOption("--threshold", parsed.ValueOr("--threshold", ""), 1, 100));
    }
    genetic.SecureBad = parsed.Has("--keep-best");
    return settings;
}

void PlanProgress(TCliProgress& progress, TSearchMethod method, const TSearchSettings& settings, int32_t pointCount)
{
    switch (method) {
    case smExhaustive:
        // The refusals keep n at 20 or below, where n! is exact.
        progress.SetProgressPlan("dróg", Factorial(pointCount));
        break;
    case smRandom:
        progress.SetProgressPlan("dróg", settings.RandomCount);
        break;
    case smGenetic:
        progress.SetProgressPlan("pokoleń", settings.Genetic.StopByCount ? settings.Genetic.GenerationCount : 0);
        break;
    case smExact:
        progress.SetProgressPlan("bloków", 0);
        break;
    case smLocal:
        progress.SetProgressPlan("prób", settings.Local.StopByTime ? 0 : settings.Local.Tries);
        break;
    }
}

std::string RouteText(const TSpecimen& route)
{
    std::string text = "Droga:";
    for (const int32_t index : route) {
        text += ' ';
        text += std::to_string(index);
    }
    return text;
}

}  // namespace

int RunSolve(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, {{"--method", true},
                                                {"--tries", true},
                                                {"--population", true},
                                                {"--crossover", true},
                                                {"--mutation", true},
                                                {"--generations", true},
                                                {"--threshold", true},
                                                {"--keep-best", false},
                                                {"--seed", true},
                                                {"--json", false}});
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("solve"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    const TSearchMethod method = ParseMethod(parsed.ValueOr("--method", MethodNames[smExhaustive]));
    RefuseForeignOptions(parsed, method);
    const TSearchSettings settings = ReadSettings(parsed);
    ApplySeedOption(parsed);
    const bool json = parsed.Has("--json");

    TPointSetState state;
    if (!LoadPointsForCommand(state, "solve", fileName))
        return ExitFailure;
    const int32_t pointCount = static_cast<int32_t>(state.FPoints.size());
    // Refused before the matrix is built: for a set the method can't take
    // it would only cost time and memory.
    const std::string refusal = SearchRefusal(method, pointCount);
    if (!refusal.empty()) {
        ErrorLine(refusal);
        return ExitFailure;
    }

    TCliProgress progress(state);
    PlanProgress(progress, method, settings, pointCount);
    TRunView view;
    view.ClearRoute = [&] {
        ClearRoute(state);
        if (MethodReadsMatrix(method)) {
            ComputeDistances(state.FPoints, state.FDistances, progress, 0);
            progress.ShowStatus("", 0);
        }
    };
    view.SearchBegins = [&] {
        // From here Ctrl+C stops the search like "Przerwij" and the best
        // route so far is still reported; before, it ends the program.
        InstallInterruptHandler();
        progress.BeginSearch();
    };
    view.LongTimeFormat = SystemLongTimeFormat();
    const TRunResult result = RunSearch(state, progress, method, settings, view);
    progress.EndProgress();

    const TSpecimen route = result.Outcome.Evaluated ? state.FBestRoute : TSpecimen();
    if (json) {
        TJsonObject object;
        object.Add("method", std::string(MethodNames[static_cast<size_t>(method)])).Add("points", pointCount);
        if (result.Outcome.Evaluated)
            object.Add("length", result.Length);
        else
            object.Add("length", std::numeric_limits<double>::quiet_NaN());
        object.Add("route", route).Add("steps", result.Outcome.Steps).Add("elapsed_ms", result.ElapsedMs);
        WriteOutLine(object.Text());
    } else {
        for (const std::string& line : result.Lines)
            WriteOutLine(line);
        WriteOutLine(RouteText(route));
    }
    if (!FinishOutput())
        return ExitFailure;
    return InterruptRequested() ? ExitInterrupted : ExitOk;
}
