#include "search/local/route_parts.h"

#include <algorithm>

#include "search/local/kick_walk.h"
#include "search/local/nearest_route.h"
#include "search/local/random_stream.h"
#include "search/neighbours/curve_order.h"
#include "search/neighbours/point_tree.h"

std::vector<TRoutePart> CutRoute(const TSpecimen& route, const TRouteKind& kind, int32_t count, int32_t offset)
{
    const int32_t n = static_cast<int32_t>(route.size());
    std::vector<TRoutePart> parts;
    if (n == 0)
        return parts;
    count = std::clamp(count, 1, n);
    const int32_t size = (n + count - 1) / count;
    offset %= size;
    // Where each part begins, in places of the route.
    std::vector<int32_t> cuts;
    if (kind.RoundTrip) {
        for (int32_t k = 0; k < count; ++k)
            cuts.push_back(offset + static_cast<int32_t>(static_cast<int64_t>(k) * n / count));
    } else {
        if (offset > 0)
            cuts.push_back(0);
        for (int32_t at = offset; at < n; at += size)
            cuts.push_back(at);
    }
    for (size_t k = 0; k < cuts.size(); ++k) {
        TRoutePart part;
        const int32_t first = cuts[k];
        const int32_t last = k + 1 < cuts.size() ? cuts[k + 1] : (kind.RoundTrip ? cuts[0] + n : n);
        for (int32_t at = first; at < last; ++at)
            part.Points.push_back(route[static_cast<size_t>(at % n)]);
        if (!kind.RoundTrip) {
            part.StartFixed = first > 0 || kind.Start >= 0;
            part.EndFixed = last < n || kind.End >= 0;
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

TSpecimen JoinParts(const std::vector<TRoutePart>& parts)
{
    TSpecimen route;
    for (const TRoutePart& part : parts)
        route.insert(route.end(), part.Points.begin(), part.Points.end());
    return route;
}

void TurnToStart(TSpecimen& route, const TRouteKind& kind)
{
    if (!kind.RoundTrip || route.empty())
        return;
    const int32_t first = kind.Start >= 0 ? kind.Start : 0;
    const auto at = std::find(route.begin(), route.end(), first);
    if (at != route.end())
        std::rotate(route.begin(), at, route.end());
}

TSpecimen CurveRoute(const TLegMeter& legs, const TRouteKind& kind)
{
    TSpecimen route = CurveOrder(legs.PlaneX(), legs.PlaneY());
    const int32_t n = static_cast<int32_t>(route.size());
    if (kind.Start >= 0 && kind.Start < n) {
        const auto at = std::find(route.begin(), route.end(), kind.Start);
        std::rotate(route.begin(), at, at + 1);
    }
    if (!kind.RoundTrip && kind.End >= 0 && kind.End < n && kind.End != kind.Start) {
        const auto at = std::find(route.begin(), route.end(), kind.End);
        std::rotate(at, at + 1, route.end());
    }
    return route;
}

namespace {

// Of the whole route's candidates of each point those in the part, filled
// up from the part's nearest points to as many, nearer first.
TNeighbourLists PartCandidates(const TLegMeter& legs, const TRoutePart& part, const TNeighbourLists& whole,
                               const TNeighbourLists& nearest)
{
    const int32_t m = static_cast<int32_t>(part.Points.size());
    const int32_t count = std::min(whole.Count(), m - 1);
    std::vector<int32_t> local(
        static_cast<size_t>(legs.Count() > 0 ? *std::max_element(part.Points.begin(), part.Points.end()) + 1 : 0), -1);
    for (int32_t i = 0; i < m; ++i)
        local[static_cast<size_t>(part.Points[static_cast<size_t>(i)])] = i;
    std::vector<int32_t> rows(static_cast<size_t>(m) * count);
    std::vector<int32_t> row;
    for (int32_t i = 0; i < m; ++i) {
        row.clear();
        const int32_t* candidates = whole.Of(part.Points[static_cast<size_t>(i)]);
        for (int32_t k = 0; k < whole.Count(); ++k) {
            const int32_t global = candidates[k];
            if (global < static_cast<int32_t>(local.size()) && local[static_cast<size_t>(global)] >= 0)
                row.push_back(local[static_cast<size_t>(global)]);
        }
        for (int32_t k = 0; k < nearest.Count() && static_cast<int32_t>(row.size()) < count; ++k)
            if (std::find(row.begin(), row.end(), nearest.Of(i)[k]) == row.end())
                row.push_back(nearest.Of(i)[k]);
        std::sort(row.begin(), row.end(), [&](int32_t a, int32_t b) {
            const double la = legs.Leg(i, a);
            const double lb = legs.Leg(i, b);
            return la < lb || (la == lb && a < b);
        });
        std::copy(row.begin(), row.begin() + count, rows.begin() + static_cast<size_t>(i) * count);
    }
    return TNeighbourLists(count, std::move(rows));
}

}  // namespace

std::vector<int32_t> WalkPart(const TLegMeter& whole, const TRoutePart& part, const TPartWork& work,
                              const TLocalPoll& poll, int64_t& kicks)
{
    kicks = 0;
    const int32_t m = static_cast<int32_t>(part.Points.size());
    // Three points between fixed ends can't change; a kick needs four.
    if (m < 4)
        return part.Points;
    const TLegMeter legs = whole.Subset(part.Points);
    TPointTree tree(legs.PlaneX(), legs.PlaneY());
    const TNeighbourLists nearest(tree, LocalNeighbourCount);
    const TNeighbourLists lists = work.Candidates ? PartCandidates(legs, part, *work.Candidates, nearest) : nearest;
    const TRouteKind kind{false, part.StartFixed ? 0 : -1, part.EndFixed ? m - 1 : -1};
    std::vector<double> penalties;
    if (work.Candidates && work.Penalties)
        for (const int32_t point : part.Points)
            penalties.push_back((*work.Penalties)[static_cast<size_t>(point)]);
    // A part is walked as a large set is: settled by chains alone.
    TLocalOptimiser optimiser(legs, lists, kind, &penalties);
    optimiser.SetChainsAlone(true);
    if (work.Construct) {
        optimiser.SetRoute(KindNearestRoute(legs.PlaneX(), legs.PlaneY(), tree, lists, kind));
        optimiser.Polish(poll);
        if (!optimiser.Interrupted())
            optimiser.PolishWithChains(poll);
    } else {
        TSpecimen order(static_cast<size_t>(m));
        for (int32_t i = 0; i < m; ++i)
            order[static_cast<size_t>(i)] = i;
        optimiser.SetRoute(order);
    }
    if (!optimiser.Interrupted() && work.Next) {
        TRandomStream random(work.Seed);
        TKickWalk walk(optimiser, random);
        walk.SetChainSettling(true);
        kicks = walk.Run(poll, work.Next, [] {});
    }
    std::vector<int32_t> points;
    points.reserve(static_cast<size_t>(m));
    for (const int32_t local : optimiser.Route())
        points.push_back(part.Points[static_cast<size_t>(local)]);
    return points;
}
