#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Lower bounds for the rest of a route: from the point placed last,
// through every free point, ending at any of them, or with a head at the
// head (a fixed first point, which the route's walk reaches last). Such a
// rest is one leg from the last point into the free points, a path over
// them, and with a head one leg from them to it; a path over them is a
// spanning tree of them, and that gives the tree floor.
// Penalties on the free points (the way Held and Karp raise a 1-tree)
// make trees with points of degree three or more dearer and lift the
// floor towards the shortest rest.
//
// Every floor is computed in doubles and then lowered by more than all the
// rounding it went through, so it never exceeds the exact shortest rest of
// the legs as the matrix holds them.
class TPathFloor {
public:
    static constexpr int32_t MaxPoints = 20;

    // distances: n * n, row by row, equal both ways, finite, not negative.
    // head: the point every rest ends at, or -1 when a rest ends anywhere.
    TPathFloor(const double* distances, int32_t n, int32_t head = -1);
    TPathFloor() = default;

    // The cheapest leg from last into the free points plus a minimum
    // spanning tree of the free points, and ToHead the cheapest leg from
    // them to the head (the floor's head must be set).
    template <bool ToHead = false>
    double Tree(int32_t last, const int32_t* free, int32_t count) const;

    // The same with penalties, improved by subgradient steps until the floor
    // reaches target or the steps run out; the best floor met is returned.
    // penalties is indexed by point and carries the penalties from a parent
    // subtree to its children (they start where the parent's ended).
    double Lagrangian(int32_t last, const int32_t* free, int32_t count, double target, int32_t steps,
                      double* penalties) const;

private:
    // Tree with or without the head, as the floor was made.
    double HeadedTree(int32_t last, const int32_t* free, int32_t count) const;

    double D(int32_t a, int32_t b) const { return FDistances[static_cast<size_t>(a) * FCount + b]; }

    // One floor for the given penalties; degree receives the subgradient
    // (each free point's degree in the tree, the leg from last and the end,
    // less two: the leg to the head, or without one the end that the
    // smallest penalty stands for).
    double Penalized(int32_t last, const int32_t* free, int32_t count, const double* penalties, int32_t* degree) const;

    // More than the rounding of a floor over count free points whose
    // penalties stay within largestPenalty.
    double Slack(int32_t count, double largestPenalty) const;

    std::vector<double> FDistances;
    int32_t FCount = 0;
    int32_t FHead = -1;
    double FLongest = 0.0;
};
