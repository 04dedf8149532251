#include "ui/search_runs.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

#include "core/number_text.h"
#include "core/route_links.h"
#include "search/bound/bound_texts.h"
#include "search/bound/lower_bound.h"
#include "search/exhaustive/exhaustive_search.h"
#include "search/run/run_control.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/document.h"
#include "ui/point_list.h"
#include "ui/run_history.h"
#include "ui/search_tab.h"
#include "ui/set_views.h"
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

}  // namespace

TSearchRuns::TSearchRuns(TDocument& document, TSetViews& views, TWindowProgress& progress, TSearchTab& searchTab,
                         const TPointList& list, TCommand& generate, TCommand& stop, QWidget& parent)
    : QObject(&parent),
      FDocument(document),
      FViews(views),
      FProgress(progress),
      FSearchTab(searchTab),
      FList(list),
      FGenerate(generate),
      FStop(stop),
      FParent(parent)
{
    FProgress.SetBeforeEvents([this] { ShowSearchProgress(); });
}

int32_t TSearchRuns::ChosenStartPoint()
{
    if (!FSearchTab.chkStartAtSelected->isChecked())
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
    TPointSetState& state = FDocument.State();
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
        FStopRequested = false;
        FDocument.Runs().BeginLive(method);
    };
    view.LongTimeFormat = QLocale().timeFormat(QLocale::LongFormat).toStdString();
    // The links it found are one step, whatever the run cleared on the way.
    std::vector<int32_t> linksBefore = LinksOf(state.FPoints);
    FDocument.ClearRouteForSearch();
    if (MethodReadsMatrix(method))
        FViews.MakeMatrixForSearch();
    const auto count = static_cast<size_t>(n);
    state.FRoute.resize(count, 0);
    state.FBestRoute.resize(count, 0);
    state.FSearching = true;
    const TRunResult result =
        RunSearch(ProblemOfState(state, settings.Kind, MethodReadsMatrix(method)), FProgress, method, settings, view);
    state.FSearching = false;
    if (result.Outcome.Evaluated) {
        state.FBestRoute = result.Outcome.Route;
        ApplyBestRoute(state.FPoints, state.FBestRoute);
    }
    if (!result.Outcome.WorkingRoute.empty())
        state.FRoute = result.Outcome.WorkingRoute;
    FDocument.SetLastRun(result);
    AddToHistory(method, settings, n, result);
    FDocument.Push(new TLinksCommand(FDocument, QStringLiteral("szukanie drogi"), std::move(linksBefore),
                                     LinksOf(state.FPoints), true, true));
    // The new links first: the lines that follow are about them.
    FDocument.LinksApplied();
    for (const std::string& line : result.Lines)
        FSearchTab.AddResult(QString::fromStdString(line));
    FViews.EndSearchMatrix();
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
    record.Stopped = FStopRequested;
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
    FSearchTab.FocusOn(FSearchTab.Button2);
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
    FSearchTab.FocusOn(FSearchTab.Button1);
    FStop.Update();
}

void TSearchRuns::actEstimateRouteExecute()
{
    TPointSetState& state = FDocument.State();
    // Long work like a search: "Przerwij" ends it and the other commands
    // wait for it.
    state.FSearching = true;
    FProgress.PrBar().SetPosition(0);
    BeginLongWork(false);
    const TLowerBound bound = ComputeLowerBound(state.FPoints, FProgress);
    actStopExecute();
    EndLongWork();
    FDocument.Runs().NoteBound(bound, FDocument.Runs().CurrentSet());

    const TNumberFormat format = FProgress.NumberFormat();
    const QString boundLine = QString::fromStdString(BoundLine(bound, format));
    FSearchTab.AddResult(boundLine);
    QString shown = boundLine;
    if (const std::optional<TSpecimen> route = RouteFromLinks(state.FPoints)) {
        const std::string gapLine = GapLine(RouteLengthOfPoints(state.FPoints, *route), bound, format);
        if (!gapLine.empty()) {
            FSearchTab.AddResult(QString::fromStdString(gapLine));
            shown = QString::fromStdString(gapLine);
        }
    }
    // The result list may lie on a tab out of sight: the status bar says
    // it too, until something else is written there.
    FProgress.ShowStatus(shown.toStdString(), 0);
}

void TSearchRuns::actStopExecute()
{
    FStopRequested = FStopRequested || FDocument.State().FSearching;
    FDocument.State().FSearching = false;
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
