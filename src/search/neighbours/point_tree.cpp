#include "search/neighbours/point_tree.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr int32_t LeafPlaces = 8;

double Gap(double low, double high, double value)
{
    if (value < low)
        return low - value;
    if (value > high)
        return value - high;
    return 0.0;
}

// Puts a candidate into a short list kept in Precedes order, dropping the
// last when the list is full. Returns false when the candidate came too late.
bool Offer(std::vector<TNeighbour>& nearest, int32_t count, const TNeighbour& candidate)
{
    const bool full = static_cast<int32_t>(nearest.size()) == count;
    if (full && !Precedes(candidate, nearest.back()))
        return false;
    if (full)
        nearest.pop_back();
    auto at = nearest.end();
    while (at != nearest.begin() && Precedes(candidate, *(at - 1)))
        --at;
    nearest.insert(at, candidate);
    return true;
}

// Whether a place at squared distance square (in doubles) is surely farther
// than distance (a PlaceHypot value). The margin dwarfs the rounding of either
// side, and an equally near point is never ruled out: it may have the lower
// index.
bool Beyond(double square, double distance)
{
    return square * (1.0 - 1e-9) > distance * distance;
}

double SquaredDistance(double ax, double ay, double bx, double by)
{
    const double dx = ax - bx;
    const double dy = ay - by;
    return dx * dx + dy * dy;
}

std::vector<double> Coordinates(const TPointArray& points, bool alongX)
{
    std::vector<double> values;
    values.reserve(points.size());
    for (const TMapPoint& point : points)
        values.push_back(alongX ? point.X : point.Y);
    return values;
}

}  // namespace

TPointTree::TPointTree(const TPointArray& points) : TPointTree(Coordinates(points, true), Coordinates(points, false)) {}

TPointTree::TPointTree(const std::vector<double>& x, const std::vector<double>& y)
{
    const int32_t n = static_cast<int32_t>(x.size());
    std::vector<int32_t> byPlace(n);
    std::iota(byPlace.begin(), byPlace.end(), 0);
    std::sort(byPlace.begin(), byPlace.end(), [&x, &y](int32_t a, int32_t b) {
        if (x[a] != x[b])
            return x[a] < x[b];
        if (y[a] != y[b])
            return y[a] < y[b];
        return a < b;
    });

    FPlaceOfPoint.resize(n);
    FPresentSlot.resize(n);
    FMembers.reserve(n);
    for (int32_t i = 0; i < n; ++i) {
        const double px = x[byPlace[i]];
        const double py = y[byPlace[i]];
        if (i == 0 || px != FPlaceX.back() || py != FPlaceY.back()) {
            FPlaceX.push_back(px);
            FPlaceY.push_back(py);
            FPlaceFirst.push_back(i);
        }
        FMembers.push_back(byPlace[i]);
    }
    const int32_t places = static_cast<int32_t>(FPlaceX.size());
    FPlaceFirst.push_back(n);
    FPresentCount.resize(places);
    for (int32_t p = 0; p < places; ++p)
        FPresentCount[p] = FPlaceFirst[p + 1] - FPlaceFirst[p];

    std::vector<int32_t> order(places);
    std::iota(order.begin(), order.end(), 0);
    FLeafOfPlace.resize(places);
    if (places > 0)
        Build(order, 0, places, -1);

    // The places renumbered in tree order, so that a leaf's places lie
    // side by side in memory.
    std::vector<double> placeX(places);
    std::vector<double> placeY(places);
    std::vector<int32_t> placeFirst(places + 1, n);
    std::vector<int32_t> members(n);
    std::vector<int32_t> leafOfPlace(places);
    int32_t slot = 0;
    for (int32_t place = 0; place < places; ++place) {
        const int32_t old = order[place];
        placeX[place] = FPlaceX[old];
        placeY[place] = FPlaceY[old];
        placeFirst[place] = slot;
        leafOfPlace[place] = FLeafOfPlace[old];
        FPresentCount[place] = FPlaceFirst[old + 1] - FPlaceFirst[old];
        for (int32_t k = FPlaceFirst[old]; k < FPlaceFirst[old + 1]; ++k) {
            members[slot] = FMembers[k];
            FPlaceOfPoint[members[slot]] = place;
            FPresentSlot[members[slot]] = slot;
            ++slot;
        }
    }
    FPlaceX.swap(placeX);
    FPlaceY.swap(placeY);
    FPlaceFirst.swap(placeFirst);
    FMembers.swap(members);
    FLeafOfPlace.swap(leafOfPlace);
    FPresent = FMembers;
}

int32_t TPointTree::Build(std::vector<int32_t>& order, int32_t first, int32_t last, int32_t parent)
{
    const int32_t id = static_cast<int32_t>(FNodes.size());
    TNode node;
    node.First = first;
    node.Last = last;
    node.Parent = parent;
    node.MinX = node.MaxX = FPlaceX[order[first]];
    node.MinY = node.MaxY = FPlaceY[order[first]];
    for (int32_t i = first; i < last; ++i) {
        const int32_t place = order[i];
        node.MinX = std::min(node.MinX, FPlaceX[place]);
        node.MaxX = std::max(node.MaxX, FPlaceX[place]);
        node.MinY = std::min(node.MinY, FPlaceY[place]);
        node.MaxY = std::max(node.MaxY, FPlaceY[place]);
        node.Present += FPresentCount[place];
    }
    FNodes.push_back(node);

    if (last - first <= LeafPlaces) {
        for (int32_t i = first; i < last; ++i)
            FLeafOfPlace[order[i]] = id;
        return id;
    }
    const bool alongX = node.MaxX - node.MinX >= node.MaxY - node.MinY;
    const std::vector<double>& key = alongX ? FPlaceX : FPlaceY;
    const int32_t middle = first + (last - first) / 2;
    std::nth_element(order.begin() + first, order.begin() + middle, order.begin() + last,
                     [&key](int32_t a, int32_t b) { return key[a] < key[b] || (key[a] == key[b] && a < b); });
    const int32_t left = Build(order, first, middle, id);
    const int32_t right = Build(order, middle, last, id);
    FNodes[id].Left = left;
    FNodes[id].Right = right;
    return id;
}

// The squared distance from (x, y) to the nearest place the node could
// hold, in doubles: exact enough to rule a node out (see Beyond).
double TPointTree::BoxDistance(const TNode& node, double x, double y) const
{
    const double dx = Gap(node.MinX, node.MaxX, x);
    const double dy = Gap(node.MinY, node.MaxY, y);
    return dx * dx + dy * dy;
}

void TPointTree::Nearest(int32_t point, int32_t count, std::vector<TNeighbour>& nearest) const
{
    nearest.clear();
    if (count <= 0 || FNodes.empty())
        return;
    const double x = FPlaceX[FPlaceOfPoint[point]];
    const double y = FPlaceY[FPlaceOfPoint[point]];
    int32_t stack[128];
    int32_t depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const TNode& node = FNodes[stack[--depth]];
        if (static_cast<int32_t>(nearest.size()) == count && Beyond(BoxDistance(node, x, y), nearest.back().Distance))
            continue;
        if (node.Left < 0) {
            for (int32_t place = node.First; place < node.Last; ++place) {
                // PlaceHypot costs a long-double division and root: only
                // for places that may get in.
                if (static_cast<int32_t>(nearest.size()) == count &&
                    Beyond(SquaredDistance(FPlaceX[place], FPlaceY[place], x, y), nearest.back().Distance))
                    continue;
                const double distance = PlaceHypot(FPlaceX[place] - x, FPlaceY[place] - y);
                for (int32_t slot = FPlaceFirst[place]; slot < FPlaceFirst[place + 1]; ++slot) {
                    if (FMembers[slot] == point)
                        continue;
                    // The members come in index order: once one is too late, so are the rest.
                    if (!Offer(nearest, count, {distance, FMembers[slot]}))
                        break;
                }
            }
            continue;
        }
        // The nearer child is searched first, so it goes on the stack last.
        const double toLeft = BoxDistance(FNodes[node.Left], x, y);
        const double toRight = BoxDistance(FNodes[node.Right], x, y);
        stack[depth++] = toLeft <= toRight ? node.Right : node.Left;
        stack[depth++] = toLeft <= toRight ? node.Left : node.Right;
    }
}

int32_t TPointTree::NearestPresent(double x, double y) const
{
    if (FNodes.empty() || FNodes[0].Present == 0)
        return -1;
    TNeighbour best{0.0, -1};
    int32_t stack[128];
    int32_t depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const TNode& node = FNodes[stack[--depth]];
        if (node.Present == 0 || (best.Point >= 0 && Beyond(BoxDistance(node, x, y), best.Distance)))
            continue;
        if (node.Left < 0) {
            for (int32_t place = node.First; place < node.Last; ++place) {
                if (FPresentCount[place] == 0)
                    continue;
                const TNeighbour candidate{PlaceHypot(FPlaceX[place] - x, FPlaceY[place] - y),
                                           FPresent[FPlaceFirst[place]]};
                if (best.Point < 0 || Precedes(candidate, best))
                    best = candidate;
            }
            continue;
        }
        const double toLeft = BoxDistance(FNodes[node.Left], x, y);
        const double toRight = BoxDistance(FNodes[node.Right], x, y);
        stack[depth++] = toLeft <= toRight ? node.Right : node.Left;
        stack[depth++] = toLeft <= toRight ? node.Left : node.Right;
    }
    return best.Point;
}

void TPointTree::Remove(int32_t point)
{
    const int32_t place = FPlaceOfPoint[point];
    const int32_t slot = FPresentSlot[point];
    const int32_t lastPresent = FPlaceFirst[place] + FPresentCount[place] - 1;
    if (slot > lastPresent)
        return;
    const int32_t moved = FPresent[lastPresent];
    FPresent[slot] = moved;
    FPresentSlot[moved] = slot;
    FPresent[lastPresent] = point;
    FPresentSlot[point] = lastPresent;
    --FPresentCount[place];
    for (int32_t node = FLeafOfPlace[place]; node >= 0; node = FNodes[node].Parent)
        --FNodes[node].Present;
}
