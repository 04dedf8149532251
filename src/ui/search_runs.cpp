#include "ui/search_runs.h"

#include <QApplication>
#include <QLocale>
#include <QWidget>

#include <algorithm>

#include "core/number_text.h"
#include "core/route_links.h"
#include "core/route_problem.h"
#include "search/bound/bound_texts.h"
#include "search/bound/lower_bound.h"
#include "search/exhaustive/exhaustive_search.h"
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

int32_t TSearchRuns::ChosenStartPoint()
{
    if (!FSearchTab.StartsAtSelected())
        return -1;
    if (FList.SelCount() != 1) {
        Dialogs().ShowInformation(&FParent, QStringLiteral("Szukaj drogi"),
                                  QStringLiteral("Zaznacz na liście jeden punkt, od którego ma się zaczynać droga."));
        return -2;
    }
    const std::vector<char> selected = FList.SelectedRows();
    const auto first = std::find(selected.begin(), selected.end(), 1);
    return first == selected.end() ? -1 : static_cast<int32_t>(first - selected.begin());
}

void TSearchRuns::actGenerateExecute()
{
    const TPointSetState& state = FDocument.State();
    const TSearchMethod method = FSearchTab.Method();
    const auto n = static_cast<int32_t>(state.FPoints.size());
    const std::string refusal = SearchRefusal(method, n);
    if (!refusal.empty()) {
        Dialogs().ShowInformation(&FParent, QStringLiteral("Szukaj drogi"), QString::fromStdString(refusal));
        return;
    }
    const std::string memoryQuestion = method == smExact ? ExactMemoryQuestion(n) : std::string();
    if (!memoryQuestion.empty() &&
        !Dialogs().AskYesNo(&FParent, QStringLiteral("Szukaj drogi"), QString::fromStdString(memoryQuestion)))
        return;
    // Methods that may start at a point take the one row selected.
    int32_t startPoint = -1;
    if (method == smExact || method == smLocal) {
        startPoint = ChosenStartPoint();
        if (startPoint == -2)
            return;
    }
    const TSearchSettings settings = FSearchTab.ReadSettings(startPoint);

    TRunView view;
    view.SearchBegins = [this, method] {
        BeginLongWork(method == smGenetic);
        FDocument.Runs().BeginLive(method);
    };
    view.LongTimeFormat = QLocale().timeFormat(QLocale::LongFormat).toStdString();
    // The route found is one step from the links before the run cleared them.
    TSearchRouteCommand::TRoute before{LinksOf(state.FPoints), state.FRouteKind};
    FDocument.ClearRouteForSearch();
    const TRouteProblem problem =
        SearchProblem(state, FDistances.Distances(), settings.Kind, MethodReadsMatrix(method));
    FRunner.Begin();
    const TRunResult result = RunSearch(problem, FProgress, method, settings, view);
    FRunner.End();
    FDocument.KeepRun(result, n);
    AddToHistory(method, settings, n, result);
    // Points added on the map meanwhile are past the route's end and keep
    // their links.
    TPointArray linked = FDocument.State().FPoints;
    if (result.Outcome.Evaluated)
        ApplyBestRoute(linked, result.Outcome.Route);
    FDocument.Push(new TSearchRouteCommand(FDocument, std::move(before), {LinksOf(linked), settings.Kind}));
    // The new links first: the lines that follow are about them.
    for (const std::string& line : result.Lines)
        FSearchTab.AddResultLine(QString::fromStdString(line));
    EndLongWork();
    if (!result.Failure.empty())
        Dialogs().ShowErrorBox(&FParent, QStringLiteral("Szukaj drogi"), QString::fromStdString(result.Failure));
    if (FAfterRun)
        FAfterRun();
}

void TSearchRuns::AddToHistory(TSearchMethod method, const TSearchSettings& settings, int32_t pointCount,
                               const TRunResult& result)
{
    TRunHistory& history = FDocument.Runs();
    TRunRecord record;
    record.Method = method;
    record.Settings = settings;
    record.Threads = method == smExhaustive ? ExhaustiveThreadCount(pointCount, false, settings.ExhaustiveThreads) : 1;
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
    history.NoteBound(result.Outcome.Bound, record.SetId);
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
    // bound reads a copy of its own.
    const TPointArray points = FDocument.State().FPoints;
    FRunner.Begin();
    FProgress.PrBar().SetPosition(0);
    BeginLongWork(false);
    const TLowerBound bound = ComputeLowerBound(points, FProgress);
    actStopExecute();
    EndLongWork();
    FDocument.Runs().NoteBound(bound, FDocument.Runs().CurrentSet());

    const TNumberFormat format = FProgress.NumberFormat();
    const QString boundLine = QString::fromStdString(BoundLine(bound, format));
    FSearchTab.AddResultLine(boundLine);
    QString shown = boundLine;
    const TPointArray& now = FDocument.State().FPoints;
    if (const std::optional<TSpecimen> route = RouteFromLinks(now)) {
        const std::string gapLine = GapLine(RouteLengthOfPoints(now, *route), bound, format);
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
