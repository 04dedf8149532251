#include "core/route_problem.h"

#include "core/point_set.h"

double TRouteProblem::Length(const TSpecimen& route) const
{
    return HasTable() ? KindRouteLength(Distances, route, Kind) : KindRouteLength(Measure, route, Kind);
}

TRouteProblem MakeRouteProblem(TMeasure measure, const TRouteKind& kind, bool withTable)
{
    TRouteProblem problem;
    problem.Measure = std::move(measure);
    problem.Kind = kind;
    const int32_t n = problem.Measure.Count();
    if (withTable && n <= MaxLegTablePoints) {
        problem.Distances.assign(static_cast<size_t>(n), TDistanceRow(static_cast<size_t>(n), 0.0));
        for (int32_t i = 0; i < n; ++i) {
            for (int32_t j = i + 1; j < n; ++j) {
                const double leg = problem.Measure.Leg(i, j);
                problem.Distances[static_cast<size_t>(i)][static_cast<size_t>(j)] = leg;
                problem.Distances[static_cast<size_t>(j)][static_cast<size_t>(i)] = leg;
            }
        }
    }
    return problem;
}

TRouteProblem ProblemOfState(const TPointSetState& state, const TRouteKind& kind, bool withTable)
{
    const auto n = static_cast<int32_t>(state.FPoints.size());
    const bool stateTable = withTable && n <= MaxLegTablePoints && state.FDistances.size() == state.FPoints.size();
    if (!stateTable)
        return MakeRouteProblem(MeasureOf(state.FPlaces, state.FPoints), kind, withTable);
    TRouteProblem problem;
    problem.Measure = MeasureOf(state.FPlaces, state.FPoints);
    problem.Kind = kind;
    problem.Distances = state.FDistances;
    return problem;
}
