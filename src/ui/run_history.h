#pragma once

#include <QObject>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/point_set.h"
#include "search/bound/lower_bound.h"
#include "search/run/run_control.h"

// A run's best length at a moment of it, as the search offered it.
struct TRunPoint {
    int64_t ElapsedMs = 0;
    double Length = 0.0;
};

// The runs whose lengths compare: made on one point set, for one kind of
// route (round trips alike whatever their start: the start does not change
// a round trip's length), under one measure.
struct TRunGroup {
    int32_t SetId = 0;
    TRouteKind Kind;
    TMetric Metric = TMetric::Plane;

    bool operator==(const TRunGroup&) const = default;
    bool operator<(const TRunGroup& other) const;
};

// The kind as groups compare it.
TRouteKind ComparedKind(const TRouteKind& kind);

// One finished or stopped search as the history keeps it.
struct TRunRecord {
    // 1, 2, ... in the order of the runs, since the history was last emptied.
    int32_t Number = 0;
    TSearchMethod Method = smExhaustive;
    TSearchSettings Settings;
    // The threads of the exhaustive and the local search; 1 for the others.
    int32_t Threads = 1;
    // The measure the run's lengths are in (its kind is Settings.Kind).
    TMetric Metric = TMetric::Plane;
    int32_t PointCount = 0;
    // Whether a route was found; Length and Route only then.
    bool Evaluated = false;
    double Length = 0.0;
    int64_t ElapsedMs = 0;
    int64_t Steps = 0;
    // The user stopped it ("Przerwij", or the window closing).
    bool Stopped = false;
    // The route is proved the shortest.
    bool Proved = false;
    TSpecimen Route;
    // The best length over time, ending at Length.
    std::vector<TRunPoint> Trace;
    // The point set it was made on (see TRunHistory::SetPoints).
    int32_t SetId = 0;
};

TRunGroup GroupOf(const TRunRecord& record);

// The history of runs kept with the document: every search adds a record.
// It belongs to one point set at a time: the set is told after every change
// (SetPoints), and records made on a set with other coordinates are marked
// as such; a set changed back (an undo) gets its records back. It is also
// told the kind of route the set's links hold and the set's measure: the
// current group (see TRunGroup), whose runs compare with each other. For
// each group it keeps the best lower bound known: a computed one ("Oszacuj
// jakość drogi", what a stopped exact run proved) or the length of a route
// proved shortest. While a search runs it holds its best lengths so far.
//
// Memory: at most MaxRuns records, the oldest going first; a record's trace
// holds at most MaxTracePoints points (then only its last point moves on).
class TRunHistory : public QObject {
    Q_OBJECT

public:
    static constexpr size_t MaxRuns = 1000;
    static constexpr size_t MaxTracePoints = 20000;

    explicit TRunHistory(QObject* parent = nullptr);

    const std::vector<TRunRecord>& Runs() const { return FRuns; }
    bool Empty() const { return FRuns.empty(); }
    // Numbers the record and adds it (its SetId as the caller gives it).
    void Add(TRunRecord record);
    void Clear();

    // The set now, after any change of it; records of another set are
    // marked from now on.
    void SetPoints(const TPointArray& points);
    int32_t CurrentSet() const { return FCurrentSet; }
    bool OnCurrentSet(const TRunRecord& record) const { return record.SetId == FCurrentSet; }
    // The kind of route the links hold now, and the measure in use.
    void SetKind(const TRouteKind& kind);
    void SetMetric(TMetric metric);
    TRunGroup CurrentGroup() const { return {FCurrentSet, FCurrentKind, FCurrentMetric}; }
    // The group of a route of the current set of another kind or measure.
    TRunGroup GroupOnCurrentSet(const TRouteKind& kind, TMetric metric) const;
    // Whether the record's length compares with the current group's.
    bool Comparable(const TRunRecord& record) const { return GroupOf(record) == CurrentGroup(); }

    // A lower bound for a group (certified ones only; only a better one is
    // kept).
    void NoteBound(const TLowerBound& bound, const TRunGroup& group);
    // The best lower bound known for a group; uncertified when none is.
    TLowerBound BestBound(const TRunGroup& group) const;
    // How much longer than the best bound of its group the record's route
    // is, as GapFraction says; nothing when no bound is known.
    std::optional<double> Gap(const TRunRecord& record) const;

    // The search that runs now: its method and group, its best lengths so
    // far.
    struct TLiveRun {
        TSearchMethod Method = smExhaustive;
        int32_t SetId = 0;
        TRunGroup Group;
        std::vector<TRunPoint> Trace;
    };
    // A search of the current set begins, of the kind and under the metric
    // given (the current ones when none are).
    void BeginLive(TSearchMethod method);
    void BeginLive(TSearchMethod method, const TRouteKind& kind, TMetric metric);
    // An offered route: kept when shorter than the last.
    void AddLivePoint(int64_t elapsedMs, double length);
    // The live run ends; its trace, with the reported end added where
    // missing, goes to the record the caller then adds.
    std::vector<TRunPoint> EndLive(const TRunRecord& record);
    const std::optional<TLiveRun>& Live() const { return FLive; }

signals:
    // Records added, removed, or marked by a change of the set; bounds.
    void RunsChanged();
    void LiveStarted();
    void LivePointAdded(const TRunPoint& point);

private:
    static void AppendPoint(std::vector<TRunPoint>& trace, const TRunPoint& point);
    // Forgets the sets and bounds no record and not the current set uses.
    void DropUnusedSets();

    using TCoordinates = std::vector<std::pair<int32_t, int32_t>>;
    std::vector<TRunRecord> FRuns;
    int32_t FNextNumber = 1;
    // The coordinates of every set a record or the current set was made on.
    std::map<int32_t, TCoordinates> FSets;
    std::map<TRunGroup, TLowerBound> FBounds;
    int32_t FCurrentSet = 0;
    TRouteKind FCurrentKind;
    TMetric FCurrentMetric = TMetric::Plane;
    int32_t FNextSetId = 1;
    std::optional<TLiveRun> FLive;
};
