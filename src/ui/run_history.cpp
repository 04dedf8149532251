#include "ui/run_history.h"

#include <algorithm>

#include "search/bound/bound_texts.h"

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
    // A route proved shortest bounds every route of its set.
    if (record.Evaluated && record.Proved) {
        TLowerBound& bound = FBounds[record.SetId];
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

void TRunHistory::DropUnusedSets()
{
    for (auto set = FSets.begin(); set != FSets.end();) {
        const int32_t id = set->first;
        const bool used =
            id == FCurrentSet || (FLive && FLive->SetId == id) ||
            std::any_of(FRuns.begin(), FRuns.end(), [id](const TRunRecord& run) { return run.SetId == id; });
        if (used) {
            ++set;
        } else {
            FBounds.erase(id);
            set = FSets.erase(set);
        }
    }
}

void TRunHistory::NoteBound(const TLowerBound& bound, int32_t setId)
{
    if (!bound.Certified || FSets.count(setId) == 0)
        return;
    TLowerBound& kept = FBounds[setId];
    if (kept.Certified && kept.Value >= bound.Value)
        return;
    kept = bound;
    emit RunsChanged();
}

TLowerBound TRunHistory::BestBound(int32_t setId) const
{
    const auto found = FBounds.find(setId);
    return found == FBounds.end() ? TLowerBound() : found->second;
}

std::optional<double> TRunHistory::Gap(const TRunRecord& record) const
{
    if (!record.Evaluated)
        return std::nullopt;
    return GapFraction(record.Length, BestBound(record.SetId));
}

void TRunHistory::BeginLive(TSearchMethod method)
{
    FLive = TLiveRun{method, FCurrentSet, {}};
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
