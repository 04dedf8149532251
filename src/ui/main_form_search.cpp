// "Szukaj drogi" and "Przerwij szukanie": the window's part in a run.
#include <QApplication>
#include <QListWidget>
#include <QLocale>
#include <QTimer>

#include "core/point_set_ops.h"
#include "search/run_control.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/search_tab.h"

void TMainForm::actGenerateExecute()
{
    TPointSetState& state = State();
    const TSearchMethod method = SearchTab->Method();
    const std::string refusal = SearchRefusal(method, static_cast<int32_t>(state.FPoints.size()));
    if (!refusal.empty()) {
        Dialogs().ShowInformation(this, QStringLiteral("Szukaj drogi"), QString::fromStdString(refusal));
        return;
    }
    const TSearchSettings settings = SearchTab->ReadSettings();

    TRunView view;
    view.ClearRoute = [this] {
        ClearRoute(State());
        Rebuild(TRebuild::Everything);
    };
    view.SearchBegins = [this] {
        SearchTab->lbResults->clear();
        actStop->Update();
        actGenerate->Update();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    };
    view.LongTimeFormat = QLocale().timeFormat(QLocale::LongFormat).toStdString();
    const TRunResult result = RunSearch(state, FWindowProgress, method, settings, view);
    for (const std::string& line : result.Lines)
        SearchTab->lbResults->addItem(QString::fromStdString(line));
    Rebuild(TRebuild::List);

    if (FCloseAfterSearch) {
        FCloseAfterSearch = false;
        FCloseConfirmed = true;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TMainForm::actStopExecute()
{
    State().FSearching = false;
    FProgress.SetPosition(0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

bool TMainForm::actStopUpdate()
{
    const bool searching = State().FSearching;
    SearchTab->ShowSearching(searching);
    return searching;
}
