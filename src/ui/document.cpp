#include "ui/document.h"

#include <QScopedValueRollback>
#include <QUndoStack>

#include "core/point_set_ops.h"
#include "core/route_links.h"
#include "ui/edit_step.h"
#include "ui/run_history.h"

TDocument::TDocument(QObject* parent)
    : QObject(parent),
      FState(std::make_shared<TPointSetState>()),
      FHistory(new QUndoStack(this)),
      FRuns(new TRunHistory(this))
{
    FHistory->setUndoLimit(HistoryLimitSteps);
    // Whatever changed the points, the history of runs learns the set.
    connect(this, &TDocument::PointsChanged, FRuns, [this] { FRuns->SetPoints(FState->FPoints); });
    connect(this, &TDocument::PointMoved, FRuns, [this] { FRuns->SetPoints(FState->FPoints); });
    connect(FHistory, &QUndoStack::indexChanged, this, [this] { SyncModified(); });
    connect(FHistory, &QUndoStack::cleanChanged, this, [this] { SyncModified(); });
}

TDocument::~TDocument()
{
    // The history is a child, emptied (and so signalling) after this body,
    // when the document is no longer whole.
    disconnect(FHistory, nullptr, this, nullptr);
}

TPointFormat TDocument::Format() const
{
    return PointFormatOfFile(FState->FFileName);
}

void TDocument::Push(QUndoCommand* step)
{
    const QScopedValueRollback<bool> applying(FApplyingStep, true);
    FHistory->push(step);
}

void TDocument::Undo()
{
    const QScopedValueRollback<bool> applying(FApplyingStep, true);
    FHistory->undo();
}

void TDocument::Redo()
{
    const QScopedValueRollback<bool> applying(FApplyingStep, true);
    FHistory->redo();
}

void TDocument::AppendPoint(const TMapPoint& point)
{
    TPointArray& points = FState->FPoints;
    const auto firstNew = static_cast<int32_t>(points.size());
    points.push_back(point);
    emit PointsChanged(firstNew);
}

void TDocument::RemoveLastPoint()
{
    TPointArray& points = FState->FPoints;
    if (!points.empty())
        points.pop_back();
    // The matrix only shrinks: no cell is computed again.
    emit PointsChanged(static_cast<int32_t>(points.size()));
}

void TDocument::ReplacePoints(const TPointArray& points)
{
    FState->FPoints = points;
    emit PointsChanged(0);
}

void TDocument::SetLinks(const std::vector<int32_t>& links)
{
    ApplyLinks(FState->FPoints, links);
    emit LinksChanged();
}

void TDocument::SetRoute(const std::vector<int32_t>& links, const TRouteKind& kind)
{
    ApplyLinks(FState->FPoints, links);
    FState->FRouteKind = kind;
    emit LinksChanged();
}

void TDocument::MovePoint(int32_t index, int32_t x, int32_t y)
{
    TPointArray& points = FState->FPoints;
    if (index >= 0 && static_cast<size_t>(index) < points.size()) {
        points[static_cast<size_t>(index)].X = x;
        points[static_cast<size_t>(index)].Y = y;
    }
    emit PointMoved(index);
}

void TDocument::Renew()
{
    NewPointSet(*FState);
    FHistory->clear();
    emit SetOpened();
    emit PointsChanged(0);
    emit FileChanged();
}

void TDocument::Open(TPointSetState opened)
{
    *FState = std::move(opened);
    FHistory->clear();
    FState->FModified = false;
    emit SetOpened();
    emit PointsChanged(0);
    emit FileChanged();
}

void TDocument::MarkSaved(const std::string& fileName)
{
    FState->FFileName = fileName;
    FState->FModified = false;
    FHistory->setClean();
    emit FileChanged();
    emit SetSaved();
}

void TDocument::SetModified(bool modified)
{
    if (FState->FModified == modified)
        return;
    FState->FModified = modified;
    emit FileChanged();
}

void TDocument::ClearRouteForSearch()
{
    ClearRoute(*FState);
    emit PointsChanged(0);
    emit FileChanged();
}

void TDocument::KeepRun(const TRunResult& run, int32_t pointCount)
{
    const auto count = static_cast<size_t>(pointCount);
    // Sized to the set the search started on, as the methods always found
    // them; what the search returned replaces them.
    FState->FBestRoute.resize(count, 0);
    FState->FRoute.resize(count, 0);
    if (run.Outcome.Evaluated)
        FState->FBestRoute = run.Outcome.Route;
    if (!run.Outcome.WorkingRoute.empty())
        FState->FRoute = run.Outcome.WorkingRoute;
    FLastRun = run;
    emit RunKept();
}

void TDocument::SyncModified()
{
    SetModified(HistoryChangesSet(*FHistory));
}
