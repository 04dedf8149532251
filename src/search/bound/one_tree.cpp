#include "search/bound/one_tree.h"

#include <cmath>

namespace {

// Keeps the two lightest edges seen, the lower ends first among equals.
void Offer(TSpecialEdges& edges, int32_t end, double weight)
{
    if (edges.A < 0 || weight < edges.WeightA || (weight == edges.WeightA && end < edges.A)) {
        edges.B = edges.A;
        edges.WeightB = edges.WeightA;
        edges.A = end;
        edges.WeightA = weight;
    } else if (edges.B < 0 || weight < edges.WeightB || (weight == edges.WeightB && end < edges.B)) {
        edges.B = end;
        edges.WeightB = weight;
    }
}

// A round trip of two points goes there and back along its one edge.
void TwiceWhenAlone(TSpecialEdges& edges)
{
    if (edges.B < 0) {
        edges.B = edges.A;
        edges.WeightB = edges.WeightA;
    }
}

}  // namespace

TOneTreeShape ShapeOfKind(const TRouteKind& kind, int32_t pointCount)
{
    TOneTreeShape shape;
    if (pointCount <= 0)
        return shape;
    if (kind.RoundTrip) {
        shape.Special = kind.Start >= 0 && kind.Start < pointCount ? kind.Start : 0;
        return shape;
    }
    shape.Start = kind.Start >= 0 && kind.Start < pointCount ? kind.Start : -1;
    shape.End = kind.End >= 0 && kind.End < pointCount && kind.End != shape.Start ? kind.End : -1;
    return shape;
}

TSpecialEdges LightestEdgesOverAll(const TLegMeter& legs, const std::vector<double>& penalties, int32_t special)
{
    TSpecialEdges edges;
    // An open route's 1-tree has no special point, so no edges of one.
    if (special < 0)
        return edges;
    const int32_t n = legs.Count();
    for (int32_t v = 0; v < n; ++v) {
        if (v == special)
            continue;
        const int32_t a = std::min(v, special);
        const int32_t b = std::max(v, special);
        Offer(edges, v, (legs.Leg(a, b) + penalties[a]) + penalties[b]);
    }
    TwiceWhenAlone(edges);
    return edges;
}

TSpecialEdges LightestEdgesOfGraph(const TCandidateGraph& graph, const std::vector<double>& penalties, int32_t special)
{
    TSpecialEdges edges;
    if (special < 0)
        return edges;
    for (int32_t e = graph.Starts[special]; e < graph.Starts[special + 1]; ++e) {
        const int32_t v = graph.Targets[e];
        Offer(edges, v, (graph.Lengths[e] + penalties[special]) + penalties[v]);
    }
    TwiceWhenAlone(edges);
    return edges;
}

TOneTree OneTreeOf(const TPenaltyTree& tree, const std::vector<double>& penalties, const TOneTreeShape& shape,
                   const TSpecialEdges& special)
{
    const int32_t n = static_cast<int32_t>(penalties.size());
    TOneTree oneTree;
    oneTree.Slopes.assign(n, -2);
    long double value = tree.Weight;
    long double magnitude = tree.Magnitude;
    auto join = [&](int32_t end, long double weight) {
        value += weight;
        magnitude += std::fabs(weight);
        ++oneTree.Slopes[end];
    };
    if (shape.Special >= 0) {
        if (special.A >= 0) {
            join(special.A, special.WeightA);
            join(special.B, special.WeightB);
            oneTree.Slopes[shape.Special] += 2;
        }
    } else {
        // The dummy point's edges cost their far ends' penalties: the fixed
        // ends' are forced, the rest the lightest.
        int32_t first = shape.Start;
        int32_t second = shape.End;
        if (first < 0 || second < 0) {
            int32_t lightest = -1;
            int32_t next = -1;
            for (int32_t i = 0; i < n; ++i) {
                if (i == first || i == second)
                    continue;
                if (lightest < 0 || penalties[i] < penalties[lightest]) {
                    next = lightest;
                    lightest = i;
                } else if (next < 0 || penalties[i] < penalties[next]) {
                    next = i;
                }
            }
            if (first < 0 && second < 0) {
                first = lightest;
                second = next;
            } else if (first < 0) {
                first = lightest;
            } else {
                second = lightest;
            }
        }
        for (const int32_t end : {first, second})
            if (end >= 0)
                join(end, penalties[end]);
    }
    for (int32_t i = 0; i < n; ++i) {
        value -= 2.0L * penalties[i];
        magnitude += 2.0L * std::fabs(penalties[i]);
        if (tree.Parents[i] >= 0) {
            ++oneTree.Slopes[i];
            ++oneTree.Slopes[tree.Parents[i]];
        }
    }
    for (const int32_t slope : oneTree.Slopes)
        oneTree.SquaredNorm += static_cast<int64_t>(slope) * slope;
    oneTree.Value = value;
    oneTree.Magnitude = magnitude;
    return oneTree;
}
