#pragma once

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/point_formats.h"
#include "core/point_set.h"
#include "core/set_places.h"
#include "search/run/run_control.h"

class QUndoCommand;
class QUndoStack;
class TRunHistory;

// The points of a set with what goes with them: their own places (one per
// point, or none for a set whose map points are its coordinates) and the
// kind of route their links hold. What a step of the history gives back.
struct TSetPoints {
    TPointArray Points;
    TPlaceArray Places;
    TRouteKind Kind;
};

// The set the window works on: the points with their links and the kind of
// route they hold, the file name and its format, the changed flag, the
// editing history and the result of the last search. It is the only writer
// of the set: every change is one of the named operations below and is
// announced by the signal that names it; the views listen and refresh what
// it names. The steps of the history change the set only through the
// operations here.
class TDocument : public QObject {
    Q_OBJECT

public:
    explicit TDocument(QObject* parent = nullptr);
    ~TDocument() override;

    const TPointSetState& State() const { return *FState; }
    // For views that read the set while they live, whichever goes first.
    std::shared_ptr<const TPointSetState> SharedState() const { return FState; }
    // The format the file's name stands for (the one a save writes).
    TPointFormat Format() const;

    // The editing history. The set is unchanged exactly when the steps
    // since the last load or save change nothing (see HistoryChangesSet).
    QUndoStack& History() { return *FHistory; }
    const QUndoStack& History() const { return *FHistory; }
    // Makes a change as a step of the history (the stack runs its redo).
    void Push(QUndoCommand* step);
    void Undo();
    void Redo();
    // A step is being made or taken back. Its rebuild lets events run, and
    // a change made in between would come out of order with the stack.
    bool ApplyingStep() const { return FApplyingStep; }

    // What the steps do, each announced. A set with places of its own
    // keeps one place per point: a point added, moved or given new map
    // coordinates gets the place its map point stands for (PlaceOfMapPoint).
    void AppendPoint(const TMapPoint& point);
    void RemoveLastPoint();
    // New map points, their places made from them.
    void ReplacePoints(const TPointArray& points);
    // The points as they were or will be, places and kind exactly.
    void ReplaceSet(const TSetPoints& set);
    // The set as ReplaceSet takes it back.
    TSetPoints SetPoints() const;
    // Links past the end of the list keep their value.
    void SetLinks(const std::vector<int32_t>& links);
    // The links of a route and the kind of route they hold.
    void SetRoute(const std::vector<int32_t>& links, const TRouteKind& kind);
    void MovePoint(int32_t index, int32_t x, int32_t y);
    // Back to an earlier place exactly, for a set with places of its own.
    void MovePoint(int32_t index, int32_t x, int32_t y, const TPlace& place);

    // "Miara odległości: euklidesowa na płaszczyźnie" (true) or the file's
    // measure: not an edit of the set (no step, not marked changed), but
    // every length, table and search follows it.
    void SetPlaneChosen(bool planeChosen);

    // A new empty set without a file; the history starts afresh.
    void Renew();
    // The set read from a file (its name in opened): the history starts
    // afresh and everything is shown anew.
    void Open(TPointSetState opened);
    // Saved under fileName: the history's clean point.
    void MarkSaved(const std::string& fileName);
    void SetModified(bool modified);
    // A search's start: every link cleared and the set marked changed.
    void ClearRouteForSearch();
    // A search has returned: its result, the best route it kept (the first
    // pointCount entries of the last one where it evaluated none) and its
    // working route. The links are the history's step, made apart.
    void KeepRun(const TRunResult& run, int32_t pointCount);

    // The result of the last search; empty lines before any.
    const TRunResult& LastRun() const { return FLastRun; }
    // Every search made since the history was last emptied, told of each
    // change of the set.
    TRunHistory& Runs() { return *FRuns; }
    const TRunHistory& Runs() const { return *FRuns; }

signals:
    // Points added, removed or replaced, from firstNewPoint on (0: the
    // whole set): everything that shows the set, the distances first.
    void PointsChanged(int32_t firstNewPoint);
    // One point's coordinates.
    void PointMoved(int32_t index);
    // Successor links only (and the kind of route they hold).
    void LinksChanged();
    // The file name or the changed flag.
    void FileChanged();
    // A set read from a file or begun anew, just before PointsChanged(0)
    // shows it: not a step of the history, and maybe the same set again.
    void SetOpened();
    // The set was written to its file: the views show it afresh.
    void SetSaved();
    // A search's result and routes were kept.
    void RunKept();
    // The measure of the set's legs changed (not its points).
    void MeasureChanged();

private:
    // Tests set up states no operation makes (a matrix of their own, a
    // flag without its cause) through a seam of their own.
    friend struct TDocumentTestAccess;

    void SyncModified();
    // The places after the map points of points changed: kept where the
    // point stayed where it was, made anew from the map point otherwise.
    void FollowPlaces(const TPointArray& before);

    std::shared_ptr<TPointSetState> FState;
    QUndoStack* FHistory;
    bool FApplyingStep = false;
    TRunResult FLastRun;
    TRunHistory* FRuns;
};
