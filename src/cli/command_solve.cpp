#include <algorithm>
#include <limits>
#include <optional>

#include "cli/bound_report.h"
#include "cli/cli_progress.h"
#include "cli/command_files.h"
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/improvement_trace.h"
#include "cli/interrupt.h"
#include "cli/json_text.h"
#include "cli/load_points.h"
#include "cli/output_kind.h"
#include "cli/regional_settings.h"
#include "cli/seed_option.h"
#include "cli/set_options.h"
#include "cli/solve_options.h"
#include "core/csv_points.h"
#include "core/distances.h"
#include "core/point_set_ops.h"
#include "core/tour_file.h"
#include "core/tsplib_file.h"
#include "search/run/run_control.h"

namespace {

const TOutputKinds RouteKinds{"-o", "drogę", {"tour", "csv"}};

std::string RouteText(const TSpecimen& route)
{
    std::string text = "Droga:";
    for (const int32_t index : route) {
        text += ' ';
        text += std::to_string(index);
    }
    return text;
}

// The route file's text; a tour is named after its file, or after the
// point set when it goes to standard output.
std::string RouteFileText(const std::string& kind, const std::string& outName, const std::string& pointFile,
                          const TPointSetState& state)
{
    if (kind == "csv")
        return FormatRouteCsv(state.FPoints, state.FBestRoute, state.FRouteKind.RoundTrip);
    return FormatTour(TsplibName(outName == "-" ? InputFileName(pointFile) : outName), state.FBestRoute);
}

// What the run found, as lines or as one JSON object. Without a stop the
// bound is computed after the search; with one it is not, and JSON says so
// with null.
// improvementsJson, when not empty, is the JSON array of the trace.
std::vector<std::string> ResultTexts(const TRunResult& result, TSearchMethod method, const TPointSetState& state,
                                     const TSpecimen& route, const std::optional<TLowerBound>& bound, bool json,
                                     bool wantBound, const std::string& improvementsJson)
{
    const auto pointCount = static_cast<int32_t>(state.FPoints.size());
    const bool evaluated = result.Outcome.Evaluated;
    const double length = evaluated ? result.Length : std::numeric_limits<double>::quiet_NaN();
    // One bound is shown, the best known: what the exact method proved may
    // pass the bound computed. One gap is given, against it.
    std::optional<TLowerBound> shown = bound;
    TBoundSource source = TBoundSource::Computed;
    const TLowerBound& proof = result.Outcome.Bound;
    if (bound && evaluated && method == smExact && proof.Certified &&
        (!bound->Certified || proof.Value > bound->Value)) {
        shown = proof;
        source = result.Outcome.Proved ? TBoundSource::ProvedRoute : TBoundSource::StoppedProof;
    }
    if (json) {
        TJsonObject object;
        object.Add("method", std::string(MethodName(method))).Add("points", pointCount).Add("length", length);
        object.Add("route", route).Add("steps", result.Outcome.Steps).Add("elapsed_ms", result.ElapsedMs);
        // Whether the exact method proved its route the shortest (a stop
        // leaves it unproved).
        if (method == smExact) {
            object.AddFlag("proved", result.Outcome.Proved);
            // What the method proved: no route is shorter than this (the
            // length itself once proved); null when nothing was proved.
            const TLowerBound& proved = result.Outcome.Bound;
            object.Add("lower_bound",
                       evaluated && proved.Certified ? proved.Value : std::numeric_limits<double>::quiet_NaN());
        }
        if (wantBound) {
            const double none = std::numeric_limits<double>::quiet_NaN();
            const bool certified = shown && shown->Certified;
            const std::optional<double> gap = shown && evaluated ? GapFraction(length, *shown) : std::nullopt;
            object.Add("bound", certified ? shown->Value : none).Add("gap", gap ? *gap : none);
        }
        if (!improvementsJson.empty())
            object.AddJson("improvements", improvementsJson);
        AddSetFields(object, state.FPlaces, state.FRouteKind);
        return {object.Text()};
    }
    std::vector<std::string> lines = SetLines(state.FPlaces, state.FRouteKind);
    lines.insert(lines.end(), result.Lines.begin(), result.Lines.end());
    if (shown) {
        // The run's own gap, against what the method proved, gives way to
        // the one against the bound shown.
        const std::string runGap = evaluated ? GapLine(length, proof, SystemNumberFormat()) : std::string();
        lines.erase(std::remove(lines.begin(), lines.end(), runGap), lines.end());
        lines.push_back(KnownBoundLine(*shown, source, SystemNumberFormat()));
        const std::string gapLine = evaluated ? GapLine(length, *shown, SystemNumberFormat()) : std::string();
        if (!gapLine.empty())
            lines.push_back(gapLine);
    }
    lines.push_back(RouteText(route));
    return lines;
}

}  // namespace

int RunSolve(const std::vector<std::string>& args)
{
    const TParsedArgs parsed = ParseArgs(args, SolveOptionRules());
    if (parsed.HelpWanted) {
        WriteOut(CommandHelp("solve"));
        return FinishOutput() ? ExitOk : ExitFailure;
    }
    const std::string& fileName = SinglePositional(parsed, "PLIK");
    const TSearchMethod method = ParseMethod(parsed.ValueOr("--method", MethodName(smExhaustive)));
    const TSearchSettings settings = ReadSettings(parsed, method);
    ApplySeedOption(parsed);
    const bool json = parsed.Has("--json");
    const bool wantBound = parsed.Has("--bound");
    const std::string outName = parsed.ValueOr("-o", "");
    if (parsed.Has("--format") && !parsed.Has("-o"))
        throw TUsageError("opcja --format dotyczy tylko zapisu drogi na standardowe wyjście (-o -)");
    const std::string routeKind = parsed.Has("-o") ? ChooseOutputKind(RouteKinds, outName, parsed) : std::string();
    // "--trace -" puts the improvements into the JSON result, or without
    // --json writes them to standard output as they come.
    const std::string traceName = parsed.ValueOr("--trace", "");
    if (parsed.Has("--trace") && traceName.empty())
        throw TUsageError("--trace: brak nazwy pliku");
    const bool traceInJson = json && traceName == "-";
    const bool traceToOut = !json && traceName == "-";
    if (traceToOut && outName == "-")
        throw TUsageError("opcje --trace - i -o - nie mogą obie pisać na standardowe wyjście");
    // Standard output carries the route file (or the trace) alone; the
    // results a person reads go beside the progress line.
    const bool resultsToErr = outName == "-" || traceToOut;

    const bool traceToFile = parsed.Has("--trace") && traceName != "-";
    if (parsed.Has("-o") && traceToFile && outName != "-" &&
        (outName == traceName || SameExistingFile(outName, traceName)))
        throw TUsageError("opcje -o i --trace wskazują ten sam plik");
    if ((parsed.Has("-o") && !CheckOutputIsNoInput("solve", outName, {fileName})) ||
        (traceToFile && !CheckOutputIsNoInput("solve", traceName, {fileName})))
        return ExitFailure;

    TPointSetState state;
    if (!LoadPointsForCommand(state, "solve", fileName))
        return ExitFailure;
    ApplyMetricOption(parsed, state.FPlaces);
    const int32_t pointCount = static_cast<int32_t>(state.FPoints.size());
    // Refused before the matrix is built: for a set the method can't take
    // it would only cost time and memory.
    const std::string refusal = SearchRefusal(method, pointCount);
    const std::string shortage = MethodReadsMatrix(method) ? MatrixShortage(pointCount) : std::string();
    if (!refusal.empty() || !shortage.empty()) {
        ErrorLine(FilePlace("solve", fileName) + (refusal.empty() ? shortage : refusal));
        return ExitFailure;
    }
    CheckRouteKindOptions(parsed, state.FPoints.size());
    state.FRouteKind = settings.Kind;
    const TMeasure measure = MeasureOf(state.FPlaces, state.FPoints);

    TCliProgress progress(state);
    PlanSearchProgress(progress, method, settings, pointCount);
    TImprovementTrace trace;
    if (parsed.Has("--trace")) {
        if (!trace.Open("solve", traceInJson ? std::string() : traceName))
            return ExitFailure;
        progress.WatchRoutes([&trace](const TRouteOffer& offer) { trace.Offer(offer); });
    }
    ClearRoute(state);
    // Beyond a table's size the legs are measured as the search needs them.
    if (MethodReadsMatrix(method) && pointCount <= MaxLegTablePoints) {
        ComputeDistances(measure, state.FDistances, progress, 0);
        progress.ShowStatus("", 0);
    }
    TRunView view;
    view.SearchBegins = [&] {
        // From here Ctrl+C stops the search like "Przerwij" and the best
        // route so far is still reported; before, it ends the program.
        InstallInterruptHandler();
        progress.BeginSearch();
    };
    view.LongTimeFormat = SystemLongTimeFormat();
    state.FSearching = true;
    const TRunResult result =
        RunSearch(ProblemOfState(state, settings.Kind, MethodReadsMatrix(method)), progress, method, settings, view);
    state.FSearching = false;
    if (result.Outcome.Evaluated) {
        state.FBestRoute = result.Outcome.Route;
        ApplyBestRoute(state.FPoints, state.FBestRoute);
    }
    progress.EndProgress();
    QuitOnInterrupt();
    const bool traceWritten = trace.Finish();
    if (!result.Failure.empty()) {
        ErrorLine(FilePlace("solve", fileName) + result.Failure);
        return ExitFailure;
    }

    // A stopped search wants its answer now, not a further long run.
    std::optional<TLowerBound> bound;
    if (wantBound && !InterruptRequested())
        bound = RunLowerBound(state, progress, settings.Kind);

    const TSpecimen route = result.Outcome.Evaluated ? state.FBestRoute : TSpecimen();
    const std::string improvementsJson = traceInJson ? trace.JsonArray() : std::string();
    for (const std::string& text :
         ResultTexts(result, method, state, route, bound, json, wantBound, improvementsJson)) {
        if (resultsToErr)
            ErrorLine(text);
        else
            WriteOutLine(text);
    }
    if (!FinishOutput() || !traceWritten)
        return ExitFailure;
    if (parsed.Has("-o")) {
        if (!result.Outcome.Evaluated) {
            ErrorLine(FilePlace("solve", outName) + "Błąd zapisu: nie znaleziono drogi");
            return ExitFailure;
        }
        if (!SaveOutputFile("solve", outName, RouteFileText(routeKind, outName, fileName, state)))
            return ExitFailure;
    }
    return InterruptRequested() ? InterruptExitStatus() : ExitOk;
}
