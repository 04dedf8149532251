#include "search/exhaustive/path_floor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double UnitRoundoff = 1.0 / 9007199254740992.0;  // 2^-53

}  // namespace

TPathFloor::TPathFloor(const double* distances, int32_t n, int32_t head)
    : FDistances(distances, distances + static_cast<size_t>(n) * n), FCount(n), FHead(head)
{
    for (double d : FDistances)
        FLongest = std::max(FLongest, d);
}

double TPathFloor::Slack(int32_t count, double largestPenalty) const
{
    // Every term and partial sum stays below (count + 3) * (longest leg + two
    // penalties), and a floor takes fewer than 4 * (count + 3) roundings of
    // at most one unit in the last place of such a sum; twice that.
    const double width = static_cast<double>(count + 3);
    return 8.0 * width * width * UnitRoundoff * (FLongest + 2.0 * largestPenalty);
}

template <bool ToHead>
double TPathFloor::Tree(int32_t last, const int32_t* free, int32_t count) const
{
    if (count <= 0)
        return 0.0;
    std::array<double, MaxPoints> key;
    std::array<int32_t, MaxPoints> open;
    const int32_t first = free[0];
    int32_t remaining = count - 1;
    for (int32_t j = 0; j < remaining; ++j) {
        open[j] = free[j + 1];
        key[j] = D(first, open[j]);
    }
    double leg = D(last, first);
    double exit = ToHead ? D(first, FHead) : 0.0;
    double tree = 0.0;
    while (remaining > 0) {
        int32_t pick = 0;
        for (int32_t j = 1; j < remaining; ++j)
            if (key[j] < key[pick])
                pick = j;
        const int32_t joined = open[pick];
        tree += key[pick];
        --remaining;
        open[pick] = open[remaining];
        key[pick] = key[remaining];
        leg = std::min(leg, D(last, joined));
        if constexpr (ToHead)
            exit = std::min(exit, D(joined, FHead));
        const double* row = FDistances.data() + static_cast<size_t>(joined) * FCount;
        for (int32_t j = 0; j < remaining; ++j)
            key[j] = std::min(key[j], row[open[j]]);
    }
    if constexpr (ToHead)
        return std::max(0.0, tree + leg + exit - Slack(count, 0.0));
    else
        return std::max(0.0, tree + leg - Slack(count, 0.0));
}

template double TPathFloor::Tree<false>(int32_t, const int32_t*, int32_t) const;
template double TPathFloor::Tree<true>(int32_t, const int32_t*, int32_t) const;

double TPathFloor::HeadedTree(int32_t last, const int32_t* free, int32_t count) const
{
    return FHead >= 0 ? Tree<true>(last, free, count) : Tree<false>(last, free, count);
}

double TPathFloor::Penalized(int32_t last, const int32_t* free, int32_t count, const double* penalties,
                             int32_t* degree) const
{
    std::array<double, MaxPoints> penalty{};
    std::array<double, MaxPoints> key;
    std::array<int32_t, MaxPoints> parent;
    std::array<int32_t, MaxPoints> open;
    double penaltySum = 0.0;
    int32_t smallest = 0;
    for (int32_t j = 0; j < count; ++j) {
        penalty[j] = penalties[free[j]];
        penaltySum += penalty[j];
        degree[j] = -2;
        if (penalty[j] < penalty[smallest])
            smallest = j;
    }
    // Without a head the end of the rest has degree one; the cheapest
    // penalty stands for it.
    if (FHead < 0)
        ++degree[smallest];

    int32_t remaining = count - 1;
    for (int32_t j = 0; j < remaining; ++j) {
        open[j] = j + 1;
        key[j + 1] = D(free[0], free[j + 1]) + penalty[0] + penalty[j + 1];
        parent[j + 1] = 0;
    }
    double tree = 0.0;
    while (remaining > 0) {
        int32_t pick = 0;
        for (int32_t j = 1; j < remaining; ++j)
            if (key[open[j]] < key[open[pick]])
                pick = j;
        const int32_t joined = open[pick];
        tree += key[joined];
        ++degree[joined];
        ++degree[parent[joined]];
        --remaining;
        open[pick] = open[remaining];
        const double* row = FDistances.data() + static_cast<size_t>(free[joined]) * FCount;
        for (int32_t j = 0; j < remaining; ++j) {
            const int32_t o = open[j];
            const double w = row[free[o]] + penalty[joined] + penalty[o];
            if (w < key[o]) {
                key[o] = w;
                parent[o] = joined;
            }
        }
    }

    int32_t entry = 0;
    double leg = D(last, free[0]) + penalty[0];
    for (int32_t j = 1; j < count; ++j) {
        const double w = D(last, free[j]) + penalty[j];
        if (w < leg) {
            leg = w;
            entry = j;
        }
    }
    ++degree[entry];
    if (FHead < 0)
        return tree + leg - 2.0 * penaltySum + penalty[smallest];
    int32_t exit = 0;
    double back = D(free[0], FHead) + penalty[0];
    for (int32_t j = 1; j < count; ++j) {
        const double w = D(free[j], FHead) + penalty[j];
        if (w < back) {
            back = w;
            exit = j;
        }
    }
    ++degree[exit];
    return tree + leg + back - 2.0 * penaltySum;
}

double TPathFloor::Lagrangian(int32_t last, const int32_t* free, int32_t count, double target, int32_t steps,
                              double* penalties) const
{
    // Up to two free points the tree floor is the shortest rest itself (with
    // a head nearly so): penalties have nothing to lift.
    if (count <= 2 || !std::isfinite(target))
        return HeadedTree(last, free, count);
    std::array<int32_t, MaxPoints> degree;
    double best = 0.0;
    double scale = 1.0;
    for (int32_t step = 0; step < steps; ++step) {
        const double floor = Penalized(last, free, count, penalties, degree.data());
        double largest = 0.0;
        int64_t norm = 0;
        for (int32_t j = 0; j < count; ++j) {
            largest = std::max(largest, std::abs(penalties[free[j]]));
            norm += degree[j] * degree[j];
        }
        best = std::max(best, floor - Slack(count, largest));
        // A tree that is a path is the shortest rest: nothing to lift.
        if (best >= target || floor >= target || norm == 0)
            break;
        const double move = scale * (target - floor) / static_cast<double>(norm);
        // Penalties beyond the longest leg lift no floor; bounded, they keep
        // the slack small and a far target from spoiling the children's start.
        for (int32_t j = 0; j < count; ++j)
            penalties[free[j]] = std::clamp(penalties[free[j]] + move * degree[j], -FLongest, FLongest);
        scale *= 0.9;
    }
    return best;
}
