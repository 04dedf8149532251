#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/cut/cut_graph.h"
#include "search/cut/tour_cut.h"

// The reduced costs of every edge under duals of the linear programme (a
// price per node, a non-negative price per cut), in extended precision,
// and the bound they prove: whatever the duals, no tour of a set of tours
// costs less than
//     2 Σ node prices + Σ cut prices × Rhs
//         + Σ over the edges the set leaves free of min(0, reduced cost)
//         + Σ over the edges it forces of their reduced cost,
// because a tour keeps every row and the edges it takes are 0 or 1. So a
// bound rests on the sum alone, never on the solver's tolerances; Margin
// covers this sum's own rounding.
class TReducedCosts {
public:
    // Negative cut prices count as none (a cut's price can't be below 0).
    TReducedCosts(const TCutGraph& graph, const std::vector<double>& nodeDuals, const std::vector<TTourCut>& cuts,
                  const std::vector<double>& cutDuals);

    // The edge's cost less its nodes' and its cuts' prices.
    long double Of(int32_t a, int32_t b) const;
    // Every allowed edge a < b with its reduced cost, row by row; row runs
    // after each node's edges so long work can let events run.
    void ForEveryEdge(const std::function<void(int32_t, int32_t, long double)>& visit,
                      const std::function<void()>& row = {}) const;
    // 2 Σ node prices + Σ cut prices × Rhs.
    long double Constant() const { return FConstant; }
    // What an edge's reduced cost adds to the sum's rounding, as a share of
    // 2^-62 per term.
    long double Magnitude(int32_t a, int32_t b) const;
    long double ConstantMagnitude() const { return FConstantMagnitude; }

private:
    const TCutGraph& FGraph;
    std::vector<long double> FNode;
    // The priced sets: their nodes and prices, and per node the sets it is in.
    std::vector<const std::vector<int32_t>*> FSets;
    std::vector<long double> FSetPrice;
    std::vector<std::vector<int32_t>> FSetsOfNode;
    // Per node the prices of the sets it is in, summed.
    std::vector<long double> FNodeSetPrice;
    long double FConstant = 0;
    long double FConstantMagnitude = 0;
};

// A bound summed up, and the margin that makes it safe against its own
// rounding: every term's size times the terms' count, in units of 2^-62.
class TBoundSum {
public:
    explicit TBoundSum(const TReducedCosts& costs) : FSum(costs.Constant()), FSize(costs.ConstantMagnitude()) {}
    void Add(long double term, long double magnitude)
    {
        FSum += term;
        FSize += magnitude;
        ++FTerms;
    }
    // The sum less the margin: no more than the exact sum of the terms.
    long double Certified() const { return FSum - FSize * static_cast<long double>(FTerms + 64) * 0x1p-62L; }

private:
    long double FSum = 0;
    long double FSize = 0;
    int64_t FTerms = 0;
};
