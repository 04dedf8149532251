#include "search/cut/dual_bound.h"

#include <algorithm>
#include <cmath>

TReducedCosts::TReducedCosts(const TCutGraph& graph, const std::vector<double>& nodeDuals,
                             const std::vector<TTourCut>& cuts, const std::vector<double>& cutDuals)
    : FGraph(graph),
      FNode(static_cast<size_t>(graph.Nodes()), 0),
      FSetsOfNode(static_cast<size_t>(graph.Nodes())),
      FNodeSetPrice(static_cast<size_t>(graph.Nodes()), 0)
{
    for (int32_t v = 0; v < graph.Nodes(); ++v) {
        const long double price = v < static_cast<int32_t>(nodeDuals.size()) ? nodeDuals[static_cast<size_t>(v)] : 0;
        FNode[static_cast<size_t>(v)] = std::isfinite(price) ? price : 0;
        FConstant += 2 * FNode[static_cast<size_t>(v)];
        FConstantMagnitude += 2 * std::fabs(FNode[static_cast<size_t>(v)]);
    }
    for (size_t k = 0; k < cuts.size() && k < cutDuals.size(); ++k) {
        const long double price = cutDuals[k];
        if (!(price > 0) || !std::isfinite(price))
            continue;
        FConstant += price * cuts[k].Rhs;
        FConstantMagnitude += price * cuts[k].Rhs;
        for (const std::vector<int32_t>& set : cuts[k].Sets) {
            const int32_t index = static_cast<int32_t>(FSets.size());
            FSets.push_back(&set);
            FSetPrice.push_back(price);
            for (const int32_t node : set) {
                FSetsOfNode[static_cast<size_t>(node)].push_back(index);
                FNodeSetPrice[static_cast<size_t>(node)] += price;
            }
        }
    }
}

long double TReducedCosts::Of(int32_t a, int32_t b) const
{
    // An edge leaves a set when exactly one of its nodes is in it: the
    // prices of a's sets and b's sets, less twice those of the sets of both.
    const std::vector<int32_t>& ofA = FSetsOfNode[static_cast<size_t>(a)];
    const std::vector<int32_t>& ofB = FSetsOfNode[static_cast<size_t>(b)];
    long double both = 0;
    size_t i = 0;
    size_t j = 0;
    while (i < ofA.size() && j < ofB.size()) {
        if (ofA[i] < ofB[j]) {
            ++i;
        } else if (ofB[j] < ofA[i]) {
            ++j;
        } else {
            both += FSetPrice[static_cast<size_t>(ofA[i])];
            ++i;
            ++j;
        }
    }
    const long double leaving =
        FNodeSetPrice[static_cast<size_t>(a)] + FNodeSetPrice[static_cast<size_t>(b)] - 2 * both;
    return static_cast<long double>(FGraph.Cost(a, b)) - FNode[static_cast<size_t>(a)] - FNode[static_cast<size_t>(b)] -
           leaving;
}

long double TReducedCosts::Magnitude(int32_t a, int32_t b) const
{
    return std::fabs(static_cast<long double>(FGraph.Cost(a, b))) + std::fabs(FNode[static_cast<size_t>(a)]) +
           std::fabs(FNode[static_cast<size_t>(b)]) + 3 * FNodeSetPrice[static_cast<size_t>(a)] +
           3 * FNodeSetPrice[static_cast<size_t>(b)];
}

void TReducedCosts::ForEveryEdge(const std::function<void(int32_t, int32_t, long double)>& visit,
                                 const std::function<void()>& row) const
{
    const int32_t nodes = FGraph.Nodes();
    std::vector<long double> both(static_cast<size_t>(nodes), 0);
    std::vector<int32_t> touched;
    for (int32_t a = 0; a < nodes; ++a) {
        for (const int32_t s : FSetsOfNode[static_cast<size_t>(a)]) {
            for (const int32_t v : *FSets[static_cast<size_t>(s)]) {
                if (v <= a)
                    continue;
                if (both[static_cast<size_t>(v)] == 0)
                    touched.push_back(v);
                both[static_cast<size_t>(v)] += FSetPrice[static_cast<size_t>(s)];
            }
        }
        const long double priceA = FNode[static_cast<size_t>(a)] + FNodeSetPrice[static_cast<size_t>(a)];
        for (int32_t b = a + 1; b < nodes; ++b) {
            if (!FGraph.Allowed(a, b))
                continue;
            const long double leaving = FNodeSetPrice[static_cast<size_t>(b)] - 2 * both[static_cast<size_t>(b)];
            visit(a, b, static_cast<long double>(FGraph.Cost(a, b)) - priceA - FNode[static_cast<size_t>(b)] - leaving);
        }
        for (const int32_t v : touched)
            both[static_cast<size_t>(v)] = 0;
        touched.clear();
        if (row)
            row();
    }
}
