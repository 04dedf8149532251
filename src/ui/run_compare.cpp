#include "ui/run_compare.h"

#include <QTabWidget>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "core/route_links.h"
#include "core/safe_save.h"
#include "ui/compare_tab.h"
#include "ui/dialogs.h"
#include "ui/document.h"
#include "ui/file_names.h"
#include "ui/map_controller.h"
#include "ui/map_window.h"
#include "ui/route_files.h"
#include "ui/run_chart.h"
#include "ui/run_history.h"
#include "ui/run_texts.h"
#include "ui/search_runner.h"
#include "ui/undo_commands.h"
#include "ui/window_progress.h"

TRunCompare::TRunCompare(TDocument& document, const TSearchRunner& runner, TMapController& map,
                         TWindowProgress& progress, TCompareTab& tab, QTabWidget& pages, QWidget& parent)
    : QObject(&parent),
      FDocument(document),
      FRunner(runner),
      FHistory(document.Runs()),
      FMap(map),
      FTab(tab),
      FPages(pages),
      FParent(parent)
{
    // The chart follows every search while the tab exists.
    progress.AddRouteWatcher([] { return true; });
    connect(&progress, &TWindowProgress::RouteOffered, this,
            [this](const TRouteOffer& offer) { FHistory.AddLivePoint(offer.ElapsedMs, offer.Length); });
    connect(&tab, &TCompareTab::SelectionChanged, this, [this] { ShowSelectedRoute(); });
    // A change of the set may make the row's route one of another set.
    connect(&FHistory, &TRunHistory::RunsChanged, this, [this] { ShowSelectedRoute(); });
    // A search shows its own route, the one it finds.
    connect(&FHistory, &TRunHistory::LiveStarted, this, [this] { FTab.ClearSelection(); });
    connect(&pages, &QTabWidget::currentChanged, this, [this] { ShowSelectedRoute(); });
}

const TRunRecord* TRunCompare::SelectedRun() const
{
    const int row = FTab.SelectedRow();
    if (row < 0 || static_cast<size_t>(row) >= FHistory.Runs().size())
        return nullptr;
    return &FHistory.Runs()[static_cast<size_t>(row)];
}

bool TRunCompare::CanUseSelected() const
{
    const TRunRecord* run = SelectedRun();
    return run && run->Evaluated && FHistory.OnCurrentSet(*run) &&
           run->Route.size() == FDocument.State().FPoints.size();
}

void TRunCompare::ShowSelectedRoute()
{
    // Only on this tab, and never over the route of a running search.
    std::optional<TSpecimen> route;
    TRouteKind kind;
    if (FPages.currentWidget() == &FTab && !FRunner.Searching() && CanUseSelected()) {
        route = SelectedRun()->Route;
        kind = SelectedRun()->Settings.Kind;
    }
    if (!route && !FShowsRoute)
        return;
    FShowsRoute = route.has_value();
    if (route && FMap.MapForm() && !FMap.MapForm()->isVisible())
        FMap.MapForm()->show();
    FMap.ShowRoute(std::move(route), kind);
}

void TRunCompare::actUseRunExecute()
{
    if (!CanUseSelected())
        return;
    const TPointArray& points = FDocument.State().FPoints;
    TPointArray linked = points;
    ApplyBestRoute(linked, SelectedRun()->Route);
    // The route comes with the kind it was found as.
    TRouteCommand::TRoute before{LinksOf(points), FDocument.State().FRouteKind};
    TRouteCommand::TRoute after{LinksOf(linked), SelectedRun()->Settings.Kind};
    // The map shows the links again, which now are this route.
    FTab.ClearSelection();
    if (after.Links != before.Links || !(after.Kind == before.Kind))
        FDocument.Push(new TRouteCommand(FDocument, QStringLiteral("użycie drogi z porównania"), std::move(before),
                                         std::move(after), true));
}

void TRunCompare::actClearRunsExecute()
{
    const QString question = QStringLiteral("Usunąć z historii wszystkie przebiegi (%1)? Tego nie można cofnąć.")
                                 .arg(FHistory.Runs().size());
    if (!Dialogs().AskYesNo(&FParent, QStringLiteral("Wyczyść historię"), question))
        return;
    FTab.ClearSelection();
    FHistory.Clear();
}

bool TRunCompare::SaveFile(const QString& fileName, const std::string& content)
{
    const std::string name = FileNameToStd(fileName);
    const TFileResult saved = WriteFileReplacing(name, content);
    if (!saved.Ok()) {
        ShowFileError(&FParent, name, "Błąd zapisu", saved.ErrorText);
        return false;
    }
    Dialogs().FileWorked(fileName);
    return true;
}

void TRunCompare::actExportRunsExecute()
{
    const std::optional<TDialogs::TRunsChoice> choice = Dialogs().RunsFileName(&FParent, false);
    if (choice)
        SaveFile(choice->FileName, RunsCsv(FHistory));
}

void TRunCompare::actSaveChartExecute()
{
    const std::optional<TDialogs::TRunsChoice> choice = Dialogs().RunsFileName(&FParent, true);
    if (!choice)
        return;
    const TRunChart& chart = *FTab.chRuns;
    const QSize size = chart.PictureSize();
    const QByteArray bytes =
        choice->Kind == TDialogs::TRunsExport::ChartSvg ? chart.SvgBytes(size) : chart.PngBytes(size);
    if (bytes.isEmpty()) {
        Dialogs().ShowErrorBox(&FParent, QStringLiteral("Zapisz wykres"),
                               QStringLiteral("Nie udało się narysować wykresu."));
        return;
    }
    SaveFile(choice->FileName, bytes.toStdString());
}
