#include "ui/document.h"

#include <QScopedValueRollback>
#include <QUndoStack>

#include "core/point_set_ops.h"
#include "core/route_links.h"
#include "core/set_edits.h"
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
    // Runs compare with the route the links hold and under the set's measure.
    connect(this, &TDocument::LinksChanged, FRuns, [this] { FRuns->SetKind(FState->FRouteKind); });
    connect(this, &TDocument::MeasureChanged, FRuns, [this] { FRuns->SetMetric(FState->FPlaces.ActiveMetric()); });
    connect(this, &TDocument::SetOpened, FRuns, [this] {
        FRuns->SetKind(FState->FRouteKind);
        FRuns->SetMetric(FState->FPlaces.ActiveMetric());
    });
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
    TSetPlaces& places = FState->FPlaces;
    if (places.OwnPlaces())
        places.Places.push_back(PlaceOfMapPoint(places, point.X, point.Y));
    points.push_back(point);
    emit PointsChanged(firstNew);
}

void TDocument::RemoveLastPoint()
{
    TPointArray& points = FState->FPoints;
    if (!points.empty())
        points.pop_back();
    TPlaceArray& places = FState->FPlaces.Places;
    if (places.size() > points.size())
        places.resize(points.size());
    // The matrix only shrinks: no cell is computed again.
    emit PointsChanged(static_cast<int32_t>(points.size()));
}

void TDocument::ReplacePoints(const TPointArray& points)
{
    const TPointArray before = std::move(FState->FPoints);
    FState->FPoints = points;
    FollowPlaces(before);
    emit PointsChanged(0);
}

void TDocument::FollowPlaces(const TPointArray& before)
{
    TSetPlaces& places = FState->FPlaces;
    if (!places.OwnPlaces())
        return;
    const TPointArray& points = FState->FPoints;
    TPlaceArray followed = PlacesOfMapPoints(places, points);
    // A point still on its map point keeps its place at full precision.
    for (size_t i = 0; i < points.size() && i < before.size() && i < places.Places.size(); ++i)
        if (points[i].X == before[i].X && points[i].Y == before[i].Y)
            followed[i] = places.Places[i];
    places.Places = std::move(followed);
}

void TDocument::ReplaceSet(const TSetPoints& set)
{
    FState->FPoints = set.Points;
    // A set without places of its own stays one: its map points are its
    // coordinates.
    if (FState->FPlaces.OwnPlaces() && set.Places.size() == set.Points.size())
        FState->FPlaces.Places = set.Places;
    else if (FState->FPlaces.OwnPlaces())
        FState->FPlaces.Places = PlacesOfMapPoints(FState->FPlaces, set.Points);
    const bool kindChanged = !(FState->FRouteKind == set.Kind);
    FState->FRouteKind = set.Kind;
    emit PointsChanged(0);
    if (kindChanged)
        emit LinksChanged();
}

TSetPoints TDocument::SetPoints() const
{
    return {FState->FPoints, FState->FPlaces.Places, FState->FRouteKind};
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
    MovePoint(index, x, y, PlaceOfMapPoint(FState->FPlaces, x, y));
}

void TDocument::MovePoint(int32_t index, int32_t x, int32_t y, const TPlace& place)
{
    TPointArray& points = FState->FPoints;
    if (index >= 0 && static_cast<size_t>(index) < points.size()) {
        points[static_cast<size_t>(index)].X = x;
        points[static_cast<size_t>(index)].Y = y;
        TPlaceArray& places = FState->FPlaces.Places;
        if (static_cast<size_t>(index) < places.size())
            places[static_cast<size_t>(index)] = place;
    }
    emit PointMoved(index);
}

void TDocument::SetPlaneChosen(bool planeChosen)
{
    TSetPlaces& places = FState->FPlaces;
    if (places.PlaneChosen == planeChosen)
        return;
    places.PlaneChosen = planeChosen;
    emit MeasureChanged();
}

void TDocument::Renew()
{
    NewPointSet(*FState);
    // A new set has no places of its own and no route yet.
    FState->FPlaces = {};
    FState->FRouteKind = {};
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
