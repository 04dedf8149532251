#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "search/cut/tour_cut.h"

class ClpSimplex;

// The linear programme of the branch and cut, solved by CLP: a column for
// every edge taken in (its cost, between 0 and 1), a row for every node (its
// edges add up to 2) and one for every cut. Each row also has a column that
// makes up what the edges can't give, at a cost far above any tour, so the
// programme always has a solution: where it needs that column, no tour
// fits. What comes out (values, duals) is read, never trusted: the bounds
// are worked out again from the duals.
class TCutLp {
public:
    TCutLp(int32_t nodes, double makeUpCost);
    ~TCutLp();
    TCutLp(const TCutLp&) = delete;
    TCutLp& operator=(const TCutLp&) = delete;

    int32_t Nodes() const { return FNodes; }
    // The edges taken in, by their column order among the edges.
    const std::vector<std::pair<int32_t, int32_t>>& Edges() const { return FEdges; }
    const std::vector<TTourCut>& Cuts() const { return FCuts; }

    // Takes the edges in, free between 0 and 1.
    void AddEdges(const std::vector<std::pair<int32_t, int32_t>>& edges, const std::vector<double>& costs);
    // Takes in the cuts that ValidTourCut accepts; returns how many.
    int32_t AddCuts(const std::vector<TTourCut>& cuts);
    // Drops the cuts of the given indices (into Cuts()).
    void RemoveCuts(std::vector<int32_t> indices);
    // Bounds of the edge of the given index (into Edges()).
    void SetEdgeBounds(int32_t edge, double lower, double upper);
    double EdgeLower(int32_t edge) const;
    double EdgeUpper(int32_t edge) const;

    // Solves from the last basis. Returns whether CLP found an optimum.
    bool Solve();
    double Objective() const;
    // After Solve: the edges' values, the nodes' duals, the cuts' duals.
    std::vector<double> EdgeValues() const;
    std::vector<double> NodeDuals() const;
    std::vector<double> CutDuals() const;
    // The cuts' left-hand sides at the solution, as CLP has them.
    std::vector<double> CutActivities() const;
    // How much the programme left made up (0 when the edges do it all).
    double MadeUp() const;
    // The objective after a few dual steps with the edge's bounds changed,
    // the basis and bounds given back afterwards: for choosing a branch.
    double TryBounds(int32_t edge, double lower, double upper, int32_t iterations);

private:
    int32_t ColumnOfEdge(int32_t edge) const { return FEdgeColumn[static_cast<size_t>(edge)]; }
    void AddMakeUp(int32_t row);

    int32_t FNodes = 0;
    double FMakeUpCost = 0;
    std::unique_ptr<ClpSimplex> FModel;
    std::vector<std::pair<int32_t, int32_t>> FEdges;
    std::vector<TTourCut> FCuts;
    // Per column the edge's index, or -1 for a row's make-up column.
    std::vector<int32_t> FColumnEdge;
    std::vector<int32_t> FEdgeColumn;
    std::vector<int32_t> FMakeUpColumns;
};
