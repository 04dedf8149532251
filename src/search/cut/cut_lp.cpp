#include "search/cut/cut_lp.h"

#include <ClpSimplex.hpp>

#include <algorithm>
#include <cstring>

namespace {

constexpr int MaxIterations = 1000000000;

}  // namespace

TCutLp::TCutLp(int32_t nodes, double makeUpCost)
    : FNodes(nodes), FMakeUpCost(makeUpCost), FModel(std::make_unique<ClpSimplex>())
{
    FModel->setLogLevel(0);
    FModel->setOptimizationDirection(1.0);
    // The rows hold small whole numbers: nothing to gain from scaling them,
    // which CLP would redo after every change of the programme.
    FModel->scaling(0);
    const std::vector<double> two(static_cast<size_t>(nodes), 2.0);
    const std::vector<CoinBigIndex> starts(static_cast<size_t>(nodes) + 1, 0);
    FModel->addRows(nodes, two.data(), two.data(), starts.data(), nullptr, nullptr);
    for (int32_t row = 0; row < nodes; ++row)
        AddMakeUp(row);
}

TCutLp::~TCutLp() = default;

void TCutLp::AddMakeUp(int32_t row)
{
    const int rowIndex = row;
    const double one = 1.0;
    FModel->addColumn(1, &rowIndex, &one, 0.0, COIN_DBL_MAX, FMakeUpCost);
    FColumnEdge.push_back(-(row + 1));
}

void TCutLp::AddEdges(const std::vector<std::pair<int32_t, int32_t>>& edges, const std::vector<double>& costs)
{
    if (edges.empty())
        return;
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> rows;
    std::vector<double> elements;
    for (const auto& [a, b] : edges) {
        rows.push_back(a);
        elements.push_back(1.0);
        rows.push_back(b);
        elements.push_back(1.0);
        for (size_t k = 0; k < FCuts.size(); ++k) {
            const int32_t coefficient = CutCoefficient(FCuts[k], a, b);
            if (coefficient != 0) {
                rows.push_back(FNodes + static_cast<int>(k));
                elements.push_back(coefficient);
            }
        }
        starts.push_back(static_cast<CoinBigIndex>(rows.size()));
    }
    const std::vector<double> lower(edges.size(), 0.0);
    const std::vector<double> upper(edges.size(), 1.0);
    FModel->addColumns(static_cast<int>(edges.size()), lower.data(), upper.data(), costs.data(), starts.data(),
                       rows.data(), elements.data());
    for (const auto& edge : edges) {
        FEdgeColumn.push_back(static_cast<int32_t>(FColumnEdge.size()));
        FColumnEdge.push_back(static_cast<int32_t>(FEdges.size()));
        FEdges.push_back(edge);
    }
}

int32_t TCutLp::AddCuts(const std::vector<TTourCut>& offered)
{
    std::vector<TTourCut> cuts;
    for (const TTourCut& cut : offered)
        if (ValidTourCut(cut, FNodes))
            cuts.push_back(cut);
    if (cuts.empty())
        return 0;
    TCutMarks marks(FNodes);
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> columns;
    std::vector<double> elements;
    std::vector<double> lower;
    for (const TTourCut& cut : cuts) {
        marks.Mark(cut);
        for (size_t e = 0; e < FEdges.size(); ++e) {
            const int32_t coefficient = marks.Coefficient(FEdges[e].first, FEdges[e].second);
            if (coefficient != 0) {
                columns.push_back(FEdgeColumn[e]);
                elements.push_back(coefficient);
            }
        }
        marks.Clear(cut);
        starts.push_back(static_cast<CoinBigIndex>(columns.size()));
        lower.push_back(cut.Rhs);
    }
    const std::vector<double> upper(cuts.size(), COIN_DBL_MAX);
    FModel->addRows(static_cast<int>(cuts.size()), lower.data(), upper.data(), starts.data(), columns.data(),
                    elements.data());
    for (const TTourCut& cut : cuts) {
        AddMakeUp(FNodes + static_cast<int32_t>(FCuts.size()));
        FCuts.push_back(cut);
    }
    return static_cast<int32_t>(cuts.size());
}

void TCutLp::RemoveCuts(std::vector<int32_t> indices)
{
    if (indices.empty())
        return;
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    std::vector<uint8_t> dropped(FCuts.size(), 0);
    std::vector<int> rows;
    for (const int32_t k : indices) {
        dropped[static_cast<size_t>(k)] = 1;
        rows.push_back(FNodes + k);
    }
    std::vector<int> columns;
    for (size_t c = 0; c < FColumnEdge.size(); ++c) {
        const int32_t tag = FColumnEdge[c];
        if (tag < 0 && -tag - 1 >= FNodes && dropped[static_cast<size_t>(-tag - 1 - FNodes)])
            columns.push_back(static_cast<int>(c));
    }
    FModel->deleteRows(static_cast<int>(rows.size()), rows.data());
    FModel->deleteColumns(static_cast<int>(columns.size()), columns.data());

    // Rows after a dropped one move up.
    std::vector<int32_t> newRow(FCuts.size(), -1);
    std::vector<TTourCut> kept;
    for (size_t k = 0; k < FCuts.size(); ++k) {
        if (dropped[k])
            continue;
        newRow[k] = FNodes + static_cast<int32_t>(kept.size());
        kept.push_back(std::move(FCuts[k]));
    }
    FCuts = std::move(kept);
    std::vector<int32_t> tags;
    for (const int32_t tag : FColumnEdge) {
        if (tag >= 0 || -tag - 1 < FNodes) {
            tags.push_back(tag);
            continue;
        }
        const int32_t row = newRow[static_cast<size_t>(-tag - 1 - FNodes)];
        if (row >= 0)
            tags.push_back(-(row + 1));
    }
    FColumnEdge = std::move(tags);
    for (size_t c = 0; c < FColumnEdge.size(); ++c)
        if (FColumnEdge[c] >= 0)
            FEdgeColumn[static_cast<size_t>(FColumnEdge[c])] = static_cast<int32_t>(c);
}

void TCutLp::SetEdgeBounds(int32_t edge, double lower, double upper)
{
    FModel->setColumnBounds(ColumnOfEdge(edge), lower, upper);
}

double TCutLp::EdgeLower(int32_t edge) const
{
    return FModel->columnLower()[ColumnOfEdge(edge)];
}

double TCutLp::EdgeUpper(int32_t edge) const
{
    return FModel->columnUpper()[ColumnOfEdge(edge)];
}

bool TCutLp::Solve()
{
    FModel->setMaximumIterations(MaxIterations);
    FModel->dual();
    if (FModel->status() != 0)
        FModel->primal();
    return FModel->status() == 0;
}

double TCutLp::Objective() const
{
    return FModel->objectiveValue();
}

std::vector<double> TCutLp::EdgeValues() const
{
    std::vector<double> values(FEdges.size());
    const double* solution = FModel->primalColumnSolution();
    for (size_t e = 0; e < FEdges.size(); ++e)
        values[e] = solution[FEdgeColumn[e]];
    return values;
}

std::vector<double> TCutLp::NodeDuals() const
{
    const double* duals = FModel->dualRowSolution();
    return std::vector<double>(duals, duals + FNodes);
}

std::vector<double> TCutLp::CutDuals() const
{
    const double* duals = FModel->dualRowSolution();
    return std::vector<double>(duals + FNodes, duals + FNodes + FCuts.size());
}

std::vector<double> TCutLp::CutActivities() const
{
    const double* activity = FModel->primalRowSolution();
    return std::vector<double>(activity + FNodes, activity + FNodes + FCuts.size());
}

double TCutLp::MadeUp() const
{
    const double* solution = FModel->primalColumnSolution();
    double sum = 0;
    for (size_t c = 0; c < FColumnEdge.size(); ++c)
        if (FColumnEdge[c] < 0)
            sum += solution[c];
    return sum;
}

double TCutLp::TryBounds(int32_t edge, double lower, double upper, int32_t iterations)
{
    const int columns = FModel->numberColumns();
    const int rows = FModel->numberRows();
    const std::vector<unsigned char> status(FModel->statusArray(), FModel->statusArray() + columns + rows);
    const std::vector<double> primal(FModel->primalColumnSolution(), FModel->primalColumnSolution() + columns);
    const std::vector<double> activity(FModel->primalRowSolution(), FModel->primalRowSolution() + rows);
    const std::vector<double> dual(FModel->dualRowSolution(), FModel->dualRowSolution() + rows);
    const double oldLower = EdgeLower(edge);
    const double oldUpper = EdgeUpper(edge);
    const double objective = FModel->objectiveValue();

    SetEdgeBounds(edge, lower, upper);
    FModel->setMaximumIterations(iterations);
    FModel->dual();
    double value = FModel->objectiveValue();
    if (FModel->status() == 1)
        value = 1e300;
    else if (FModel->status() != 0 && FModel->status() != 3)
        value = objective;

    SetEdgeBounds(edge, oldLower, oldUpper);
    FModel->setMaximumIterations(MaxIterations);
    FModel->copyinStatus(status.data());
    std::memcpy(FModel->primalColumnSolution(), primal.data(), primal.size() * sizeof(double));
    std::memcpy(FModel->primalRowSolution(), activity.data(), activity.size() * sizeof(double));
    std::memcpy(FModel->dualRowSolution(), dual.data(), dual.size() * sizeof(double));
    return value;
}
