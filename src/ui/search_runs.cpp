#include "ui/search_runs.h"

#include <QApplication>
#include <QLocale>
#include <QWidget>

#include <algorithm>

#include "core/length_words.h"
#include "core/number_text.h"
#include "core/route_links.h"
#include "core/route_problem.h"
#include "search/bound/bound_texts.h"
#include "search/bound/lower_bound.h"
#include "search/exact/exact_search.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/local/local_search.h"
#include "search/run/run_control.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/distance_model.h"
#include "ui/document.h"
#include "ui/point_list.h"
#include "ui/run_history.h"
#include "ui/search_runner.h"
#include "ui/search_tab.h"
#include "ui/undo_commands.h"
#include "ui/window_progress.h"

namespace {

// "0:12", "1:02:03", "3 dni": the time left of a search, rounded to seconds.
QString TimeLeftText(double seconds)
{
    const auto total = static_cast<int64_t>(seconds + 0.5);
    if (total >= 2 * 86400)
        return QStringLiteral("%1 dni").arg(total / 86400);
    const QString minutesSeconds = QStringLiteral("%1:%2")
                                       .arg(total / 60 % 60, total >= 3600 ? 2 : 1, 10, QLatin1Char('0'))
                                       .arg(total % 60, 2, 10, QLatin1Char('0'));
    return total >= 3600 ? QStringLiteral("%1:%2").arg(total / 3600).arg(minutesSeconds) : minutesSeconds;
}

// The problem a search of the set is asked, its own copy: the distance
// table's matrix as its table when it holds one of the set's size (what the
// window's searches have always read), or the legs measured.
TRouteProblem SearchProblem(const TPointSetState& state, const TDistanceMatrix& matrix, const TRouteKind& kind,
                            bool withTable)
{
    TMeasure measure = MeasureOf(state.FPlaces, state.FPoints);
    const size_t n = state.FPoints.size();
    if (!withTable || n > static_cast<size_t>(MaxLegTablePoints) || matrix.size() != n)
        return MakeRouteProblem(std::move(measure), kind, withTable);
    TRouteProblem problem;
    problem.Measure = std::move(measure);
    problem.Kind = kind;
    problem.Distances = matrix;
    return problem;
}

}  // namespace

TSearchRuns::TSearchRuns(TDocument& document, TSearchRunner& runner, TWindowProgress& progress, TSearchTab& searchTab,
                         const TPointList& list, const TDistanceGridModel& distances, TCommand& generate,
                         TCommand& stop, QWidget& parent)
    : QObject(&parent),
      FDocument(document),
      FRunner(runner),
      FProgress(progress),
      FSearchTab(searchTab),
      FList(list),
      FDistances(distances),
      FGenerate(generate),
      FStop(stop),
      FParent(parent)
{
    FProgress.SetBeforeEvents([this] { ShowSearchProgress(); });
}

void TSearchRuns::actGenerateExecute()
{
    const TPointSetState& state = FDocument.State();
    const TSearchMethod method = FSearchTab.Method();
    const auto n = static_cast<int32_t>(state.FPoints.size());
    const QString caption = QStringLiteral("Szukaj drogi");
    const std::string refusal = SearchRefusal(method, n);
    if (!refusal.empty()) {
        Dialogs().ShowInformation(&FParent, caption, QString::fromStdString(refusal));
        return;
    }
    // The kind asked for, checked before anything changes.
    const TSearchTab::TKindChoice choice = FSearchTab.ReadKind(FList.SelectedRows());
    const std::string kindRefusal = choice.Refusal.empty() ? RouteKindRefusal(choice.Kind, n) : choice.Refusal;
    if (!kindRefusal.empty()) {
        Dialogs().ShowInformation(&FParent, caption, QString::fromStdString(kindRefusal));
        return;
    }
    if (method == smExact) {
        for (const std::string& question : {ExactMemoryQuestion(n), ExactLongProofQuestion(n)})
            if (!question.empty() && !Dialogs().AskYesNo(&FParent, caption, QString::fromStdString(question)))
                return;
    }
    const TSearchSettings settings = FSearchTab.ReadSettings(choice.Kind);
    // A proof that may take long says so while it runs, and with its result.
    const QString warning = method == smExact ? QString::fromStdString(ExactLongProofWarning(n)) : QString();

    TRunView view;
    view.SearchBegins = [this, method, &settings, &warning] {
        BeginLongWork(method == smGenetic);
        if (!warning.isEmpty())
            FSearchTab.AddResultLine(warning);
        FDocument.Runs().BeginLive(method, settings.Kind, FDocument.State().FPlaces.ActiveMetric());
    };
    view.LongTimeFormat = QLocale().timeFormat(QLocale::LongFormat).toStdString();
    // The route found is one step from the links before the run cleared them.
    TRouteCommand::TRoute before{LinksOf(state.FPoints), state.FRouteKind};
    FDocument.ClearRouteForSearch();
    const TRouteProblem problem =
        SearchProblem(state, FDistances.Distances(), settings.Kind, MethodReadsMatrix(method));
    FRunner.Begin(settings.Kind);
    const TRunResult result = RunSearch(problem, FProgress, method, settings, view);
    FRunner.End();
    FDocument.KeepRun(result, n);
    AddToHistory(method, settings, problem, result);
    // Points added on the map meanwhile are past the route's end and keep
    // their links.
    TPointArray linked = FDocument.State().FPoints;
    if (result.Outcome.Evaluated)
        ApplyBestRoute(linked, result.Outcome.Route);
    FDocument.Push(new TRouteCommand(FDocument, QStringLiteral("szukanie drogi"), std::move(before),
                                     {LinksOf(linked), settings.Kind}, true));
    // The new links first: the lines that follow are about them.
    FSearchTab.ClearResults();
    if (!warning.isEmpty())
        FSearchTab.AddResultLine(warning);
    for (const std::string& line : result.Lines)
        FSearchTab.AddResultLine(QString::fromStdString(line));
    EndLongWork();
    if (!result.Failure.empty())
        Dialogs().ShowErrorBox(&FParent, caption, QString::fromStdString(result.Failure));
    if (FAfterRun)
        FAfterRun();
}

void TSearchRuns::AddToHistory(TSearchMethod method, const TSearchSettings& settings, const TRouteProblem& problem,
                               const TRunResult& result)
{
    TRunHistory& history = FDocument.Runs();
    const int32_t pointCount = problem.Count();
    TRunRecord record;
    record.Method = method;
    record.Settings = settings;
    record.Threads = method == smExhaustive ? ExhaustiveThreadCount(pointCount, false, settings.ExhaustiveThreads)
                     : method == smLocal    ? LocalThreadCount(pointCount, false, settings.Local.Threads)
                                            : 1;
    record.Metric = problem.Measure.Metric();
    record.PointCount = pointCount;
    record.Evaluated = result.Outcome.Evaluated;
    record.Length = result.Length;
    record.ElapsedMs = result.ElapsedMs;
    record.Steps = result.Outcome.Steps;
    record.Stopped = FRunner.StopRequested();
    record.Proved = result.Outcome.Proved;
    // The set the search started on: points added meanwhile took no part.
    record.SetId = history.Live() ? history.Live()->SetId : history.CurrentSet();
    if (record.Evaluated)
        record.Route = FDocument.State().FBestRoute;
    record.Trace = history.EndLive(record);
    history.NoteBound(result.Outcome.Bound, GroupOf(record));
    history.Add(std::move(record));
}

void TSearchRuns::BeginLongWork(bool countsGenerations)
{
    FSearchTab.ClearResults();
    // The focus goes to the stop button before the search button is
    // disabled: Qt would pass it on to the next control, a stop-rule
    // spin edit, and choose that rule behind the user's back.
    FStop.Update();
    FSearchTab.FocusOn(TSearchTab::TButton::Stop);
    FGenerate.Update();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FSearchStart = std::chrono::steady_clock::now();
    FStepsAtSearchStart = FProgress.PrBar().StepsTaken();
    FSearchCountsGenerations = countsGenerations;
}

void TSearchRuns::EndLongWork()
{
    FProgress.ShowStatus("", 2);
    // And back to "Szukaj drogi" before the stop button is disabled.
    FGenerate.Update();
    FSearchTab.FocusOn(TSearchTab::TButton::Search);
    FStop.Update();
}

void TSearchRuns::actEstimateRouteExecute()
{
    // Long work like a search: "Przerwij" ends it and the other commands
    // wait for it. Points added on the map meanwhile take no part: the
    // bound reads a problem of its own, of the kind of route the links hold
    // (a fixed point the set no longer has is free again).
    const TPointSetState& state = FDocument.State();
    TRouteKind kind = state.FRouteKind;
    if (!RouteKindRefusal(kind, static_cast<int32_t>(state.FPoints.size())).empty())
        kind = TRouteKind{kind.RoundTrip, -1, -1};
    const TRouteProblem problem = ProblemOfState(state, kind, false);
    const TRunGroup group = FDocument.Runs().GroupOnCurrentSet(kind, problem.Measure.Metric());
    FRunner.Begin(kind);
    FProgress.PrBar().SetPosition(0);
    BeginLongWork(false);
    const TLowerBound bound = ComputeLowerBound(problem, FProgress);
    actStopExecute();
    EndLongWork();
    FDocument.Runs().NoteBound(bound, group);

    const TNumberFormat format = FProgress.NumberFormat();
    const TLengthWords words = LengthWordsOf(kind, problem.Measure.Metric());
    const QString boundLine = QString::fromStdString(BoundLine(bound, format, words));
    FSearchTab.AddResultLine(boundLine);
    QString shown = boundLine;
    const TPointArray& now = FDocument.State().FPoints;
    if (const std::optional<TSpecimen> route = RouteFromLinks(now);
        route && static_cast<int32_t>(route->size()) == problem.Count()) {
        const std::string gapLine = GapLine(problem.Length(*route), bound, format, words);
        if (!gapLine.empty()) {
            FSearchTab.AddResultLine(QString::fromStdString(gapLine));
            shown = QString::fromStdString(gapLine);
        }
    }
    // The result list may lie on a tab out of sight: the status bar says
    // it too, until something else is written there.
    FProgress.ShowStatus(shown.toStdString(), 0);
}

void TSearchRuns::actStopExecute()
{
    FRunner.Stop();
    FProgress.PrBar().SetPosition(0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TSearchRuns::ShowSearchProgress()
{
    const TProgressBar& bar = FProgress.PrBar();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - FSearchStart).count();
    QString text;
    if (bar.Max() > bar.Min()) {
        const double done =
            static_cast<double>(bar.Position() - bar.Min()) / (static_cast<double>(bar.Max()) - bar.Min());
        // Too early, or a bar that started over, says nothing yet.
        if (elapsed >= 1.0 && done > 0.0 && done < 1.0)
            text = QStringLiteral("zostało ok. ") + TimeLeftText(elapsed * (1.0 - done) / done);
    } else if (FSearchCountsGenerations) {
        // No end is known (the genetic search's spread rule): the count.
        text = QStringLiteral("pokoleń: ") +
               QString::fromStdString(FormatNumber(static_cast<double>(bar.StepsTaken() - FStepsAtSearchStart), 0,
                                                   FProgress.NumberFormat()));
    }
    FProgress.SetPanelText(2, text);
}
