#include "search/bound/space_tree.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

constexpr int32_t LeafPlaces = 8;
constexpr double Unreached = std::numeric_limits<double>::infinity();
// Room for the rounding of a box's least weight against an edge's weight.
constexpr double Slack = 1e-12;

int32_t Root(std::vector<int32_t>& parent, int32_t node)
{
    while (parent[node] != node) {
        parent[node] = parent[parent[node]];
        node = parent[node];
    }
    return node;
}

}  // namespace

TSpaceTree::TSpaceTree(const TLegMeter& legs, int32_t excluded) : FLegs(legs)
{
    FDimensions = legs.OnEarth() ? 3 : 2;
    const int32_t n = legs.Count();
    FIds.reserve(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        if (i != excluded)
            FIds.push_back(i);
    const std::vector<double>* space[3] = {&legs.SpaceX(), &legs.SpaceY(), &legs.SpaceZ()};
    for (int32_t d = 0; d < FDimensions; ++d) {
        FCoordinates[d].reserve(FIds.size());
        for (const int32_t id : FIds)
            FCoordinates[d].push_back((*space[d])[static_cast<size_t>(id)]);
    }
    if (!FIds.empty())
        Build(0, static_cast<int32_t>(FIds.size()));
}

int32_t TSpaceTree::Build(int32_t first, int32_t last)
{
    const int32_t id = static_cast<int32_t>(FNodes.size());
    TNode node;
    node.First = first;
    node.Last = last;
    for (int32_t d = 0; d < FDimensions; ++d) {
        const auto [low, high] = std::minmax_element(FCoordinates[d].begin() + first, FCoordinates[d].begin() + last);
        node.Low[d] = *low;
        node.High[d] = *high;
    }
    FNodes.push_back(node);
    if (last - first <= LeafPlaces)
        return id;
    int32_t along = 0;
    for (int32_t d = 1; d < FDimensions; ++d)
        if (node.High[d] - node.Low[d] > node.High[along] - node.Low[along])
            along = d;
    // The places are reordered together: sort an order, then apply it.
    std::vector<int32_t> order(static_cast<size_t>(last - first));
    std::iota(order.begin(), order.end(), first);
    const std::vector<double>& key = FCoordinates[along];
    const int32_t middle = (last - first) / 2;
    std::nth_element(order.begin(), order.begin() + middle, order.end(),
                     [&key](int32_t a, int32_t b) { return key[a] < key[b] || (key[a] == key[b] && a < b); });
    std::vector<int32_t> ids(order.size());
    std::vector<double> values(order.size());
    for (size_t k = 0; k < order.size(); ++k)
        ids[k] = FIds[static_cast<size_t>(order[k])];
    std::copy(ids.begin(), ids.end(), FIds.begin() + first);
    for (int32_t d = 0; d < FDimensions; ++d) {
        for (size_t k = 0; k < order.size(); ++k)
            values[k] = FCoordinates[d][static_cast<size_t>(order[k])];
        std::copy(values.begin(), values.end(), FCoordinates[d].begin() + first);
    }
    const int32_t left = Build(first, first + middle);
    const int32_t right = Build(first + middle, last);
    FNodes[static_cast<size_t>(id)].Left = left;
    FNodes[static_cast<size_t>(id)].Right = right;
    return id;
}

double TSpaceTree::BoxDistance(const TNode& node, int32_t at) const
{
    double sum = 0.0;
    for (int32_t d = 0; d < FDimensions; ++d) {
        const double value = FCoordinates[d][static_cast<size_t>(at)];
        const double gap =
            value < node.Low[d] ? node.Low[d] - value : (value > node.High[d] ? value - node.High[d] : 0.0);
        sum += gap * gap;
    }
    return sum;
}

double TSpaceTree::Weight(int32_t a, int32_t b) const
{
    if (b < a)
        std::swap(a, b);
    const std::vector<double>& penalties = *FPenalties;
    return (FLegs.Leg(a, b) + penalties[static_cast<size_t>(a)]) + penalties[static_cast<size_t>(b)];
}

bool TSpaceTree::Lighter(double weight, int32_t a, int32_t b, int32_t part) const
{
    const double best = FBestWeight[static_cast<size_t>(part)];
    if (weight != best)
        return weight < best;
    const int32_t from = FBestFrom[static_cast<size_t>(part)];
    if (from < 0)
        return true;
    const int32_t to = FBestTo[static_cast<size_t>(part)];
    return std::make_pair(std::min(a, b), std::max(a, b)) < std::make_pair(std::min(from, to), std::max(from, to));
}

void TSpaceTree::LookFrom(int32_t at)
{
    const int32_t part = FPart[static_cast<size_t>(at)];
    const double penalty = FPlacePenalty[static_cast<size_t>(at)];
    const int32_t id = FIds[static_cast<size_t>(at)];
    int32_t stack[128];
    int32_t depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const TNode& node = FNodes[static_cast<size_t>(stack[--depth])];
        const size_t nodeIndex = static_cast<size_t>(&node - FNodes.data());
        if (FNodePart[nodeIndex] == part)
            continue;
        const double least = FLegs.LegFloor(std::sqrt(BoxDistance(node, at))) + penalty + FNodePenalty[nodeIndex];
        if (least - Slack * (std::fabs(penalty) + std::fabs(FNodePenalty[nodeIndex])) >
            FBestWeight[static_cast<size_t>(part)])
            continue;
        if (node.Left < 0) {
            for (int32_t q = node.First; q < node.Last; ++q) {
                if (FPart[static_cast<size_t>(q)] == part)
                    continue;
                const int32_t other = FIds[static_cast<size_t>(q)];
                const double weight = Weight(id, other);
                if (Lighter(weight, id, other, part)) {
                    FBestWeight[static_cast<size_t>(part)] = weight;
                    FBestFrom[static_cast<size_t>(part)] = id;
                    FBestTo[static_cast<size_t>(part)] = other;
                }
            }
            continue;
        }
        // The nearer child is looked at first, so it goes on the stack last.
        const double toLeft = BoxDistance(FNodes[static_cast<size_t>(node.Left)], at);
        const double toRight = BoxDistance(FNodes[static_cast<size_t>(node.Right)], at);
        stack[depth++] = toLeft <= toRight ? node.Right : node.Left;
        stack[depth++] = toLeft <= toRight ? node.Left : node.Right;
    }
}

bool TSpaceTree::SpanningTree(const std::vector<double>& penalties, TPenaltyTree& tree,
                              const std::function<bool()>& goOn)
{
    const int32_t n = FLegs.Count();
    const int32_t count = static_cast<int32_t>(FIds.size());
    tree.Parents.assign(static_cast<size_t>(n), -1);
    tree.Weight = 0;
    tree.Magnitude = 0;
    if (count <= 1)
        return true;
    FPenalties = &penalties;
    FPlacePenalty.resize(static_cast<size_t>(count));
    for (int32_t at = 0; at < count; ++at)
        FPlacePenalty[static_cast<size_t>(at)] = penalties[static_cast<size_t>(FIds[static_cast<size_t>(at)])];
    const size_t nodes = FNodes.size();
    // Children come after their parent: a pass backwards sees them first.
    FNodePenalty.assign(nodes, Unreached);
    for (size_t k = nodes; k-- > 0;) {
        const TNode& node = FNodes[k];
        if (node.Left < 0) {
            for (int32_t at = node.First; at < node.Last; ++at)
                FNodePenalty[k] = std::min(FNodePenalty[k], FPlacePenalty[static_cast<size_t>(at)]);
        } else {
            FNodePenalty[k] =
                std::min(FNodePenalty[static_cast<size_t>(node.Left)], FNodePenalty[static_cast<size_t>(node.Right)]);
        }
    }

    std::vector<int32_t> parent(static_cast<size_t>(count));
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<std::pair<int32_t, int32_t>> edges;
    edges.reserve(static_cast<size_t>(count) - 1);
    FPart.resize(static_cast<size_t>(count));
    FNodePart.resize(nodes);
    FBestWeight.assign(static_cast<size_t>(count), Unreached);
    FBestFrom.assign(static_cast<size_t>(count), -1);
    FBestTo.assign(static_cast<size_t>(count), -1);
    // The places by id, to name a part by its root place.
    std::vector<int32_t> placeOf(static_cast<size_t>(n), -1);
    for (int32_t at = 0; at < count; ++at)
        placeOf[static_cast<size_t>(FIds[static_cast<size_t>(at)])] = at;

    int32_t parts = count;
    while (parts > 1) {
        for (int32_t at = 0; at < count; ++at)
            FPart[static_cast<size_t>(at)] = Root(parent, at);
        for (size_t k = nodes; k-- > 0;) {
            const TNode& node = FNodes[k];
            if (node.Left < 0) {
                int32_t part = FPart[static_cast<size_t>(node.First)];
                for (int32_t at = node.First + 1; at < node.Last && part >= 0; ++at)
                    if (FPart[static_cast<size_t>(at)] != part)
                        part = -1;
                FNodePart[k] = part;
            } else {
                const int32_t left = FNodePart[static_cast<size_t>(node.Left)];
                FNodePart[k] = left == FNodePart[static_cast<size_t>(node.Right)] ? left : -1;
            }
        }
        for (int32_t at = 0; at < count; ++at) {
            LookFrom(at);
            if (goOn && (at + 1) % 256 == 0 && !goOn())
                return false;
        }
        int32_t joined = 0;
        for (int32_t at = 0; at < count; ++at) {
            if (FPart[static_cast<size_t>(at)] != at || FBestFrom[static_cast<size_t>(at)] < 0)
                continue;
            const int32_t from = FBestFrom[static_cast<size_t>(at)];
            const int32_t to = FBestTo[static_cast<size_t>(at)];
            FBestWeight[static_cast<size_t>(at)] = Unreached;
            FBestFrom[static_cast<size_t>(at)] = -1;
            const int32_t a = Root(parent, placeOf[static_cast<size_t>(from)]);
            const int32_t b = Root(parent, placeOf[static_cast<size_t>(to)]);
            if (a == b)
                continue;
            parent[static_cast<size_t>(a)] = b;
            edges.emplace_back(from, to);
            ++joined;
        }
        parts -= joined;
        if (joined == 0)
            break;
    }

    // The edges hung from the first point, breadth first.
    std::vector<int32_t> starts(static_cast<size_t>(n) + 1, 0);
    for (const auto& [a, b] : edges) {
        ++starts[static_cast<size_t>(a) + 1];
        ++starts[static_cast<size_t>(b) + 1];
    }
    for (int32_t i = 0; i < n; ++i)
        starts[static_cast<size_t>(i) + 1] += starts[static_cast<size_t>(i)];
    std::vector<int32_t> targets(2 * edges.size());
    std::vector<int32_t> fill(starts.begin(), starts.end() - 1);
    for (const auto& [a, b] : edges) {
        targets[static_cast<size_t>(fill[static_cast<size_t>(a)]++)] = b;
        targets[static_cast<size_t>(fill[static_cast<size_t>(b)]++)] = a;
    }
    std::vector<char> reached(static_cast<size_t>(n), 0);
    std::vector<int32_t> queue{FIds[0]};
    reached[static_cast<size_t>(FIds[0])] = 1;
    for (size_t head = 0; head < queue.size(); ++head) {
        const int32_t u = queue[head];
        for (int32_t e = starts[static_cast<size_t>(u)]; e < starts[static_cast<size_t>(u) + 1]; ++e) {
            const int32_t v = targets[static_cast<size_t>(e)];
            if (reached[static_cast<size_t>(v)])
                continue;
            reached[static_cast<size_t>(v)] = 1;
            tree.Parents[static_cast<size_t>(v)] = u;
            AddTreeEdge(tree, Weight(u, v));
            queue.push_back(v);
        }
    }
    return true;
}
