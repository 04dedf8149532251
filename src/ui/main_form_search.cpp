// "Szukaj drogi" and "Przerwij szukanie": the window's part in a run.

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>

#include "core/number_text.h"
#include "core/point_set_ops.h"
#include "core/route_links.h"
#include "search/bound/bound_texts.h"
#include "search/bound/lower_bound.h"
#include "search/run/run_control.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/status_bar.h"
#include "ui/undo_commands.h"

void TMainForm::actGenerateExecute()
{
    TPointSetState& state = State();
    const TSearchMethod method = SearchTab->Method();
    const std::string refusal = SearchRefusal(method, static_cast<int32_t>(state.FPoints.size()));
    if (!refusal.empty()) {
        Dialogs().ShowInformation(this, QStringLiteral("Szukaj drogi"), QString::fromStdString(refusal));
        return;
    }
    const std::string memoryQuestion =
        method == smExact ? ExactMemoryQuestion(static_cast<int32_t>(state.FPoints.size())) : std::string();
    if (!memoryQuestion.empty() &&
        !Dialogs().AskYesNo(this, QStringLiteral("Szukaj drogi"), QString::fromStdString(memoryQuestion)))
        return;
    // Methods that may start at a point take the one row selected.
    int32_t startPoint = -1;
    if ((method == smExact || method == smLocal) && SearchTab->chkStartAtSelected->isChecked()) {
        if (ListBox1->SelCount() != 1) {
            Dialogs().ShowInformation(
                this, QStringLiteral("Szukaj drogi"),
                QStringLiteral("Zaznacz na liście jeden punkt, od którego ma się zaczynać droga."));
            return;
        }
        startPoint = FirstSelectedRow();
    }
    const TSearchSettings settings = SearchTab->ReadSettings(startPoint);

    TRunView view;
    view.ClearRoute = [this] {
        ClearRoute(State());
        Rebuild(TRebuild::Everything);
    };
    view.SearchBegins = [this, method] { BeginLongWork(method == smGenetic); };
    view.LongTimeFormat = QLocale().timeFormat(QLocale::LongFormat).toStdString();
    // The links it found are one step, whatever the run cleared on the way.
    std::vector<int32_t> linksBefore = LinksOf(state.FPoints);
    const TRunResult result = RunSearch(state, FWindowProgress, method, settings, view);
    if (result.Refusal.empty())
        PushStep(new TLinksCommand(*this, QStringLiteral("szukanie drogi"), std::move(linksBefore),
                                   LinksOf(state.FPoints), true, true));
    for (const std::string& line : result.Lines)
        SearchTab->lbResults->addItem(QString::fromStdString(line));
    Rebuild(TRebuild::List);
    EndLongWork();
    if (!result.Failure.empty())
        Dialogs().ShowErrorBox(this, QStringLiteral("Szukaj drogi"), QString::fromStdString(result.Failure));
    FinishCloseAfterSearch();
}

void TMainForm::BeginLongWork(bool countsGenerations)
{
    SearchTab->lbResults->clear();
    // The focus goes to the stop button before the search button is
    // disabled: Qt would pass it on to the next control, a stop-rule
    // spin edit, and choose that rule behind the user's back.
    actStop->Update();
    SearchTab->FocusOn(SearchTab->Button2);
    actGenerate->Update();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FSearchStart = std::chrono::steady_clock::now();
    FStepsAtSearchStart = FProgress.StepsTaken();
    FSearchCountsGenerations = countsGenerations;
}

void TMainForm::EndLongWork()
{
    ShowStatus("", 2);
    // And back to "Szukaj drogi" before the stop button is disabled.
    actGenerate->Update();
    SearchTab->FocusOn(SearchTab->Button1);
    actStop->Update();
}

void TMainForm::actEstimateRouteExecute()
{
    TPointSetState& state = State();
    // Long work like a search: "Przerwij" ends it and the other commands
    // wait for it.
    state.FSearching = true;
    FProgress.SetPosition(0);
    BeginLongWork(false);
    const TLowerBound bound = ComputeLowerBound(state.FPoints, FWindowProgress);
    actStopExecute();
    EndLongWork();

    const TNumberFormat format = NumberFormat();
    QListWidget* results = SearchTab->lbResults;
    results->addItem(QString::fromStdString(BoundLine(bound, format)));
    const std::optional<TSpecimen> route = RouteFromLinks(state.FPoints);
    if (!route)
        return;
    const std::string gapLine = GapLine(RouteLengthOfPoints(state.FPoints, *route), bound, format);
    if (!gapLine.empty())
        results->addItem(QString::fromStdString(gapLine));
}

void TMainForm::actStopExecute()
{
    State().FSearching = false;
    FProgress.SetPosition(0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

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

void TMainForm::ShowSearchProgress()
{
    const TProgressBar& bar = FProgress;
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
               QString::fromStdString(
                   FormatNumber(static_cast<double>(bar.StepsTaken() - FStepsAtSearchStart), 0, NumberFormat()));
    }
    StatusBar1->SetPanelText(2, text);
}

bool TMainForm::actStopUpdate()
{
    const bool searching = State().FSearching;
    SearchTab->ShowSearching(searching);
    return searching;
}
