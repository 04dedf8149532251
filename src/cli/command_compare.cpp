#include <algorithm>
#include <new>
#include <optional>

#include "cli/bound_report.h"
#include "cli/cli_progress.h"
#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/compare_report.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/interrupt.h"
#include "cli/load_points.h"
#include "cli/option_values.h"
#include "cli/regional_settings.h"
#include "cli/seed_option.h"
#include "cli/set_options.h"
#include "cli/solve_options.h"
#include "core/distances.h"
#include "core/memory_shortage.h"
#include "core/number_text.h"
#include "core/point_set_ops.h"
#include "search/run/run_control.h"

namespace {

const char* const AllMethods = "exhaustive,random,genetic,exact,local";

// "exhaustive,local": each method once, in the order given.
std::vector<TSearchMethod> ParseMethodList(const std::string& text)
{
    std::vector<TSearchMethod> methods;
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t end = std::min(text.find(',', begin), text.size());
        const std::string name = text.substr(begin, end - begin);
        std::optional<TSearchMethod> found;
        for (const TSearchMethod method : {smExhaustive, smRandom, smGenetic, smExact, smLocal})
            if (name == MethodName(method))
                found = method;
        if (!found)
            throw TUsageError("--methods: nieznana metoda „" + name +
                              "” (exhaustive, random, genetic, exact albo local)");
        if (std::find(methods.begin(), methods.end(), *found) != methods.end())
            throw TUsageError("--methods: metoda " + name + " podana dwa razy");
        methods.push_back(*found);
        begin = end + 1;
    }
    return methods;
}

}  // namespace

int RunCompare(const std::vector<std::string>& args)
{
    std::vector<TOptionRule> rules = {
        {"--methods", true}, {"--time-limit", true}, {"--seed", true}, {"--start", true}, {"--json", false}};
    for (const TOptionRule& rule : SetOptionRules())
        rules.push_back(rule);
    const TParsedArgs parsed = ParseArgs(args, rules);
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("compare"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    const std::vector<TSearchMethod> methods = ParseMethodList(parsed.ValueOr("--methods", AllMethods));
    // The local search stops by its time limit (5 s unless given); the
    // others run to their own end, or until the limit given.
    TSearchSettings settings;
    double timeLimit = 0.0;
    if (parsed.Has("--time-limit")) {
        timeLimit =
            ParseDecimalOption("--time-limit", parsed.ValueOr("--time-limit", ""), MinLocalSeconds, MaxLocalSeconds);
        settings.Local.TimeLimitSeconds = timeLimit;
    }
    ApplySeedOption(parsed);
    const bool json = parsed.Has("--json");

    TPointSetState state;
    if (!LoadPointsForCommand(state, "compare", fileName))
        return ExitFailure;
    ApplyMetricOption(parsed, state.FPlaces);
    CheckRouteKindOptions(parsed, state.FPoints.size());
    const TRouteKind kind = ReadRouteKind(parsed);
    const auto pointCount = static_cast<int32_t>(state.FPoints.size());

    TCliProgress progress(state);
    // From here Ctrl+C stops the method that runs, and the ones after it are
    // left out: the table of what ran comes all the same.
    InstallInterruptHandler();
    std::vector<TComparedMethod> rows;
    bool matrixReady = false;
    bool anyRan = false;
    for (const TSearchMethod method : methods) {
        TComparedMethod row;
        row.Method = method;
        row.Skipped = SearchRefusal(method, pointCount);
        if (row.Skipped.empty() && InterruptRequested())
            row.Skipped = "przerwano przed jej początkiem";
        // A method that can't get its table is left out; the others still
        // have their say.
        if (row.Skipped.empty() && MethodReadsMatrix(method) && !matrixReady)
            row.Skipped = MatrixShortage(pointCount);
        if (!row.Skipped.empty()) {
            rows.push_back(row);
            continue;
        }
        PlanSearchProgress(progress, method, settings, pointCount);
        progress.SetTimeLimit(method == smLocal ? 0.0 : timeLimit);
        ClearRoute(state);
        // One matrix for every method that reads it, up to a table's size.
        if (MethodReadsMatrix(method) && !matrixReady && pointCount <= MaxLegTablePoints) {
            ComputeDistances(MeasureOf(state.FPlaces, state.FPoints), state.FDistances, progress, 0);
            progress.ShowStatus("", 0);
            matrixReady = true;
        }
        TRunView view;
        view.SearchBegins = [&] { progress.BeginSearch(); };
        view.LongTimeFormat = SystemLongTimeFormat();
        try {
            state.FSearching = true;
            row.Result =
                RunSearch(ProblemOfState(state, kind, MethodReadsMatrix(method)), progress, method, settings, view);
            state.FSearching = false;
        } catch (const std::bad_alloc&) {
            // Whatever the method had taken goes with it.
            state.FSearching = false;
            TDistanceMatrix().swap(state.FDistances);
            matrixReady = false;
            progress.EndProgress();
            row.Skipped = OutOfMemoryText();
            rows.push_back(row);
            continue;
        }
        progress.EndProgress();
        row.Stopped = progress.TimeLimitReached() || InterruptRequested();
        anyRan = true;
        rows.push_back(row);
    }
    QuitOnInterrupt();

    // The bound once for all, within the same time limit as each method; a
    // stopped comparison wants its table now.
    std::optional<TLowerBound> computed;
    if (!InterruptRequested()) {
        progress.SetTimeLimit(timeLimit);
        try {
            computed = RunLowerBound(state, progress, kind);
        } catch (const std::bad_alloc&) {
            state.FSearching = false;
            progress.EndProgress();
            ErrorLine(FilePlace("compare", fileName) + "dolne ograniczenie: " + OutOfMemoryText());
        }
    }
    const TLowerBound bound = BestKnownBound(computed, rows);
    const TBoundSource source = KnownBoundSource(bound, computed, rows);
    if (json) {
        WriteOutLine(CompareJson(rows, bound, pointCount, state.FPlaces, kind));
    } else {
        for (const std::string& line : SetLines(state.FPlaces, kind))
            WriteOutLine(line);
        for (const std::string& line : CompareTableLines(rows, bound, source, SystemNumberFormat()))
            WriteOutLine(line);
    }
    if (!FinishOutput())
        return ExitFailure;
    if (InterruptRequested())
        return InterruptExitStatus();
    // Nothing was compared: the set suits none of the methods asked for.
    return anyRan ? ExitOk : ExitFailure;
}
