#include "search/cut/cut_graph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "core/route_kind.h"
#include "search/neighbours/neighbour_lists.h"
#include "search/neighbours/plain_distance.h"

namespace {

// Up to this many points the nearest nodes are found by trying every other
// node, by cost; beyond, from a tree over the points' plane places.
constexpr int32_t MaxNearestByTrial = 4000;
// Up to this many points every reading of a round trip is measured: 2 n
// readings of n legs each.
constexpr int32_t MaxRotatedPoints = 1000;

int32_t PointOrNone(int32_t point, int32_t count)
{
    return point >= 0 && point < count ? point : -1;
}

}  // namespace

TCutGraph::TCutGraph(const TRouteProblem& problem) : FProblem(problem), FPoints(problem.Count())
{
    const bool open = !problem.Kind.RoundTrip;
    FNodes = FPoints + (open ? 1 : 0);
    FGap = open ? FPoints : -1;
    const int32_t start = PointOrNone(problem.Kind.Start, FPoints);
    const int32_t end = open ? PointOrNone(problem.Kind.End, FPoints) : -1;
    FGapToEnds = open && start >= 0 && end >= 0 && start != end;
    if (open && start >= 0)
        FKept.emplace_back(FGap, start);
    if (open && end >= 0 && end != start)
        FKept.emplace_back(FGap, end);

    FWholeCosts = problem.Measure.WholeLegs() || problem.HasTable();
    if (FPoints <= MaxLegTablePoints) {
        FCache.resize(static_cast<size_t>(FPoints) * static_cast<size_t>(std::max(FPoints - 1, 0)) / 2);
        long double longest = 0;
        for (int32_t b = 1; b < FPoints; ++b) {
            for (int32_t a = 0; a < b; ++a) {
                const double leg = Leg(a, b);
                FCache[CacheIndex(a, b)] = leg;
                FWholeCosts = FWholeCosts && leg == std::floor(leg);
                longest = std::max<long double>(longest, std::fabs(leg));
            }
        }
        // Sums of whole numbers are exact only below 2^53.
        if (longest * (FPoints + 1) >= 0x1p52L)
            FWholeCosts = false;
    } else if (problem.HasTable()) {
        FWholeCosts = false;
    }
    // Each of a route's sums is rounded twice, to 64 bits and then to a
    // double: within 2^-53 + 2^-64 of itself. Some room on top.
    const int32_t legs = std::max(FPoints, 1);
    FRoundingShare = 1.01L * legs * (0x1p-53L + 0x1p-64L);
}

double TCutGraph::Leg(int32_t a, int32_t b) const
{
    if (!FProblem.HasTable())
        return FProblem.Measure.Leg(a, b);
    return std::min(FProblem.Leg(a, b), FProblem.Leg(b, a));
}

bool TCutGraph::Kept(int32_t a, int32_t b) const
{
    for (const auto& [u, v] : FKept)
        if ((u == a && v == b) || (u == b && v == a))
            return true;
    return false;
}

std::vector<std::vector<int32_t>> TCutGraph::Nearest(int32_t count) const
{
    std::vector<std::vector<int32_t>> nearest(static_cast<size_t>(FNodes));
    const int32_t wanted = std::min(count, FPoints - 1);
    if (wanted > 0 && FPoints <= MaxNearestByTrial) {
        std::vector<std::pair<double, int32_t>> others;
        for (int32_t a = 0; a < FPoints; ++a) {
            others.clear();
            for (int32_t b = 0; b < FPoints; ++b)
                if (b != a)
                    others.emplace_back(Cost(a, b), b);
            std::partial_sort(others.begin(), others.begin() + wanted, others.end());
            for (int32_t k = 0; k < wanted; ++k)
                nearest[static_cast<size_t>(a)].push_back(others[static_cast<size_t>(k)].second);
        }
    } else if (wanted > 0) {
        const TNeighbourLists lists = NeighbourListsOf(MapPointsOf(FProblem.Measure), wanted);
        for (int32_t a = 0; a < FPoints; ++a)
            nearest[static_cast<size_t>(a)].assign(lists.Of(a), lists.Of(a) + lists.Count());
    }
    if (FGap >= 0)
        for (int32_t a = 0; a < FPoints; ++a)
            if (Allowed(a, FGap))
                nearest[static_cast<size_t>(a)].insert(nearest[static_cast<size_t>(a)].begin(), FGap);
    return nearest;
}

TSpecimen TCutGraph::RouteOfTour(const std::vector<int32_t>& tour) const
{
    if (static_cast<int32_t>(tour.size()) != FNodes || FNodes == 0)
        return {};
    const auto at = std::find(tour.begin(), tour.end(), FGap >= 0 ? FGap : FProblem.Kind.Start);
    std::vector<TSpecimen> readings;
    if (FGap >= 0) {
        if (at == tour.end())
            return {};
        TSpecimen route(at + 1, tour.end());
        route.insert(route.end(), tour.begin(), at);
        readings.push_back(route);
        readings.emplace_back(route.rbegin(), route.rend());
    } else {
        TSpecimen ring = tour;
        if (at != tour.end())
            std::rotate(ring.begin(), ring.begin() + (at - tour.begin()), ring.end());
        const int32_t rotations =
            at != tour.end() || FWholeCosts || FPoints > MaxRotatedPoints ? 1 : static_cast<int32_t>(ring.size());
        for (int32_t r = 0; r < rotations; ++r) {
            TSpecimen route(ring.begin() + r, ring.end());
            route.insert(route.end(), ring.begin(), ring.begin() + r);
            readings.push_back(route);
            std::reverse(route.begin() + 1, route.end());
            readings.push_back(route);
        }
    }
    TSpecimen best;
    double bestLength = 0;
    for (const TSpecimen& route : readings) {
        if (!RouteFitsKind(route, FProblem.Kind, FPoints))
            continue;
        const double length = FProblem.Length(route);
        if (best.empty() || length < bestLength) {
            best = route;
            bestLength = length;
        }
    }
    return best;
}

std::vector<int32_t> TCutGraph::TourOfRoute(const TSpecimen& route) const
{
    std::vector<int32_t> tour;
    if (FGap >= 0)
        tour.push_back(FGap);
    tour.insert(tour.end(), route.begin(), route.end());
    return tour;
}

long double TCutGraph::TourCost(const std::vector<int32_t>& tour) const
{
    long double sum = 0;
    for (size_t i = 0; i < tour.size(); ++i)
        sum += Cost(tour[i], tour[(i + 1) % tour.size()]);
    return sum;
}
