#include "ui/set_views.h"

#include <QApplication>
#include <QTabWidget>

#include "core/distances.h"
#include "core/number_text.h"
#include "ui/distance_grid.h"
#include "ui/document.h"
#include "ui/point_list.h"
#include "ui/search_tab.h"
#include "ui/window_progress.h"

TSetViews::TSetViews(TDocument& document, TWindowProgress& progress, TDistanceGrid& grid, TPointList& list,
                     TSearchTab& searchTab, QTabWidget& pages, QObject* parent)
    : QObject(parent),
      FDocument(document),
      FProgress(progress),
      FGrid(grid),
      FList(list),
      FSearchTab(searchTab),
      FPages(pages)
{
    connect(&document, &TDocument::PointsChanged, this, [this](int32_t firstNewPoint) {
        Rebuild(FShown ? TRebuild::Everything : TRebuild::Matrix, firstNewPoint);
    });
    connect(&document, &TDocument::PointMoved, this, [this] { Rebuild(TRebuild::Everything); });
    connect(&document, &TDocument::LinksChanged, this, [this] { Rebuild(TRebuild::List); });
    // Result lines stay, but say that they are about what was there before.
    connect(&document, &TDocument::PointsChanged, this,
            [this] { FSearchTab.MarkResultsEarlier(TSearchTab::TEarlier::Set); });
    connect(&document, &TDocument::PointMoved, this,
            [this] { FSearchTab.MarkResultsEarlier(TSearchTab::TEarlier::Set); });
    connect(&document, &TDocument::LinksChanged, this,
            [this] { FSearchTab.MarkResultsEarlier(TSearchTab::TEarlier::Route); });
}

void TSetViews::Rebuild(TRebuild what, int32_t firstNewPoint)
{
    switch (what) {
    case TRebuild::Map:
        DrawMap();
        break;
    case TRebuild::List:
        RefreshPointList();
        break;
    case TRebuild::Matrix:
    case TRebuild::Everything:
        ComputeMatrix(firstNewPoint);
        FillDistanceGrid();
        FProgress.ShowStatus("", 0);
        if (what == TRebuild::Everything)
            RefreshPointList();
        break;
    }
}

void TSetViews::ComputeMatrix(int32_t firstNewPoint)
{
    TPointSetState& state = FDocument.State();
    const auto n = static_cast<int32_t>(state.FPoints.size());
    // A search that reads the matrix keeps it current as points come in.
    const bool searchHoldsOne = state.FSearching && !state.FDistances.empty();
    if (n <= KeptMatrixPoints || searchHoldsOne) {
        ComputeDistances(state.FPoints, state.FDistances, FProgress, firstNewPoint);
        return;
    }
    TDistanceMatrix().swap(state.FDistances);
}

void TSetViews::MakeMatrixForSearch()
{
    TPointSetState& state = FDocument.State();
    if (state.FDistances.size() != state.FPoints.size())
        ComputeDistances(state.FPoints, state.FDistances, FProgress, 0);
}

void TSetViews::EndSearchMatrix()
{
    TPointSetState& state = FDocument.State();
    if (static_cast<int32_t>(state.FPoints.size()) > KeptMatrixPoints)
        TDistanceMatrix().swap(state.FDistances);
}

void TSetViews::FillDistanceGrid()
{
    FProgress.ShowStatus("Wypełnianie macierzy odległości...", 0);
    FGrid.Fill(static_cast<int>(FDocument.State().FPoints.size()), FProgress.NumberFormat());
}

void TSetViews::RefreshPointList()
{
    FProgress.ShowStatus("Generowanie listy...", 0);
    FList.SetCount(static_cast<int>(FDocument.State().FPoints.size()));
    const int count = FList.ItemCount();
    FSearchTab.ShowPermutationCount(QString::fromStdString(PermutationCountText(count, FProgress.NumberFormat())));
    FPages.setEnabled(count > 1);
    DrawMap();
    FProgress.ShowStatus("", 0);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TSetViews::DrawMap()
{
    if (FDrawMap)
        FDrawMap();
}
