#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Lower bounds for the rest of an open route: from the point placed last,
// through every free point, ending at any of them. Such a rest is one leg
// from the last point into the free points plus a path over them, and a
// path over them is a spanning tree of them; that gives the tree floor.
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
    TPathFloor(const double* distances, int32_t n);
    TPathFloor() = default;

    // The cheapest leg from last into the free points plus a minimum
    // spanning tree of the free points.
    double Tree(int32_t last, const int32_t* free, int32_t count) const;

    // The same with penalties, improved by subgradient steps until the floor
    // reaches target or the steps run out; the best floor met is returned.
    // penalties is indexed by point and carries the penalties from a parent
    // subtree to its children (they start where the parent's ended).
    double Lagrangian(int32_t last, const int32_t* free, int32_t count, double target, int32_t steps,
                      double* penalties) const;

private:
    double D(int32_t a, int32_t b) const { return FDistances[static_cast<size_t>(a) * FCount + b]; }

    // One floor for the given penalties; degree receives the subgradient
    // (each free point's degree in the tree, the leg from last and the end
    // that the smallest penalty stands for, less two).
    double Penalized(int32_t last, const int32_t* free, int32_t count, const double* penalties, int32_t* degree) const;

    // More than the rounding of a floor over count free points whose
    // penalties stay within largestPenalty.
    double Slack(int32_t count, double largestPenalty) const;

    std::vector<double> FDistances;
    int32_t FCount = 0;
    double FLongest = 0.0;
};
