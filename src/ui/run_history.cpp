#include "ui/run_history.h"

#include <algorithm>
#include <tuple>

#include "search/bound/bound_texts.h"

TRouteKind ComparedKind(const TRouteKind& kind)
{
    return kind.RoundTrip ? TRouteKind{true, -1, -1} : kind;
}

bool TRunGroup::operator<(const TRunGroup& other) const
{
    const auto key = [](const TRunGroup& group) {
        return std::make_tuple(group.SetId, group.Kind.RoundTrip, group.Kind.Start, group.Kind.End,
                               static_cast<int>(group.Metric));
    };
    return key(*this) < key(other);
}

TRunGroup GroupOf(const TRunRecord& record)
{
    return {record.SetId, ComparedKind(record.Settings.Kind), record.Metric};
}

TRunHistory::TRunHistory(QObject* parent) : QObject(parent)
{
    // The window starts with the empty set.
    FSets[FCurrentSet] = {};
}

void TRunHistory::AppendPoint(std::vector<TRunPoint>& trace, const TRunPoint& point)
{
    if (trace.size() < MaxTracePoints)
        trace.push_back(point);
    else
        trace.back() = point;
}

void TRunHistory::Add(TRunRecord record)
{
    record.Number = FNextNumber++;
    // A route proved shortest bounds every route of its group.
    if (record.Evaluated && record.Proved) {
        TLowerBound& bound = FBounds[GroupOf(record)];
        if (!bound.Certified || record.Length > bound.Value)
            bound = {record.Length, true, true, 0};
    }
    FRuns.push_back(std::move(record));
    if (FRuns.size() > MaxRuns)
        FRuns.erase(FRuns.begin());
    DropUnusedSets();
    emit RunsChanged();
}

void TRunHistory::Clear()
{
    FRuns.clear();
    FNextNumber = 1;
    DropUnusedSets();
    emit RunsChanged();
}

void TRunHistory::SetPoints(const TPointArray& points)
{
    TCoordinates coordinates;
    coordinates.reserve(points.size());
    for (const TMapPoint& point : points)
        coordinates.emplace_back(point.X, point.Y);
    if (FSets[FCurrentSet] == coordinates)
        return;
    const auto same =
        std::find_if(FSets.begin(), FSets.end(), [&coordinates](const auto& set) { return set.second == coordinates; });
    if (same != FSets.end()) {
        FCurrentSet = same->first;
    } else {
        FCurrentSet = FNextSetId++;
        FSets[FCurrentSet] = std::move(coordinates);
    }
    DropUnusedSets();
    emit RunsChanged();
}

void TRunHistory::SetKind(const TRouteKind& kind)
{
    const TRouteKind compared = ComparedKind(kind);
    if (compared == FCurrentKind)
        return;
    FCurrentKind = compared;
    emit RunsChanged();
}

void TRunHistory::SetMetric(TMetric metric)
{
    if (metric == FCurrentMetric)
        return;
    FCurrentMetric = metric;
    emit RunsChanged();
}

TRunGroup TRunHistory::GroupOnCurrentSet(const TRouteKind& kind, TMetric metric) const
{
    return {FCurrentSet, ComparedKind(kind), metric};
}

void TRunHistory::DropUnusedSets()
{
    for (auto set = FSets.begin(); set != FSets.end();) {
        const int32_t id = set->first;
        const bool used =
            id == FCurrentSet || (FLive && FLive->SetId == id) ||
            std::any_of(FRuns.begin(), FRuns.end(), [id](const TRunRecord& run) { return run.SetId == id; });
        if (used) {
            ++set;
            continue;
        }
        for (auto bound = FBounds.begin(); bound != FBounds.end();)
            bound = bound->first.SetId == id ? FBounds.erase(bound) : std::next(bound);
        set = FSets.erase(set);
    }
}

void TRunHistory::NoteBound(const TLowerBound& bound, const TRunGroup& group)
{
    if (!bound.Certified || FSets.count(group.SetId) == 0)
        return;
    TLowerBound& kept = FBounds[{group.SetId, ComparedKind(group.Kind), group.Metric}];
    if (kept.Certified && kept.Value >= bound.Value)
        return;
    kept = bound;
    emit RunsChanged();
}

TLowerBound TRunHistory::BestBound(const TRunGroup& group) const
{
    const auto found = FBounds.find({group.SetId, ComparedKind(group.Kind), group.Metric});
    return found == FBounds.end() ? TLowerBound() : found->second;
}

std::optional<double> TRunHistory::Gap(const TRunRecord& record) const
{
    if (!record.Evaluated)
        return std::nullopt;
    return GapFraction(record.Length, BestBound(GroupOf(record)));
}

void TRunHistory::BeginLive(TSearchMethod method)
{
    BeginLive(method, FCurrentKind, FCurrentMetric);
}

void TRunHistory::BeginLive(TSearchMethod method, const TRouteKind& kind, TMetric metric)
{
    FLive = TLiveRun{method, FCurrentSet, GroupOnCurrentSet(kind, metric), {}};
    emit LiveStarted();
}

void TRunHistory::AddLivePoint(int64_t elapsedMs, double length)
{
    if (!FLive || (!FLive->Trace.empty() && !(length < FLive->Trace.back().Length)))
        return;
    const TRunPoint point{elapsedMs, length};
    AppendPoint(FLive->Trace, point);
    emit LivePointAdded(point);
}

std::vector<TRunPoint> TRunHistory::EndLive(const TRunRecord& record)
{
    std::vector<TRunPoint> trace = FLive ? std::move(FLive->Trace) : std::vector<TRunPoint>();
    FLive.reset();
    if (!record.Evaluated)
        return {};
    // The line runs on to the run's end, at the length reported.
    const bool atEnd =
        !trace.empty() && trace.back().Length == record.Length && trace.back().ElapsedMs >= record.ElapsedMs;
    if (!atEnd) {
        if (trace.size() >= MaxTracePoints)
            trace.pop_back();
        trace.push_back({record.ElapsedMs, record.Length});
    }
    return trace;
}
