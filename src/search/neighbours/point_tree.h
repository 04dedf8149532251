#pragma once

#include <cstdint>
#include <vector>

#include "core/point_set.h"
#include "core/point_types.h"

// A point near another one: its index and the distance (PlaceHypot, for
// whole-number places MapHypot, the distance matrix's value).
struct TNeighbour {
    double Distance = 0.0;
    int32_t Point = -1;
};

// The one order of nearness in the program: the nearer point first, and of
// equally near points the one with the lower index.
inline bool Precedes(const TNeighbour& a, const TNeighbour& b)
{
    return a.Distance < b.Distance || (a.Distance == b.Distance && a.Point < b.Point);
}

// A k-d tree over the distinct places of a point set. Points at one place
// share a leaf entry, so a set full of duplicates costs no more than its
// places; the split follows the points, so clusters cost no more than a
// spread. Points can be taken out one by one, for a route that is built by
// always going to the nearest point not yet visited.
class TPointTree {
public:
    // Over places on the plane, given by their coordinates.
    TPointTree(const std::vector<double>& x, const std::vector<double>& y);
    explicit TPointTree(const TPointArray& points);

    int32_t PointCount() const { return static_cast<int32_t>(FPlaceOfPoint.size()); }

    // The count points nearest to point (itself left out) in Precedes
    // order; fewer when the set has fewer. Taken-out points count too.
    void Nearest(int32_t point, int32_t count, std::vector<TNeighbour>& nearest) const;

    // The point still in the tree nearest to (x, y); -1 when none is left.
    int32_t NearestPresent(double x, double y) const;

    // Takes point out of the tree; taking it out again changes nothing.
    void Remove(int32_t point);

private:
    struct TNode {
        // The node's places are First .. Last - 1: places are numbered in
        // tree order.
        int32_t First = 0;
        int32_t Last = 0;
        int32_t Left = -1;
        int32_t Right = -1;
        int32_t Parent = -1;
        int32_t Present = 0;
        double MinX = 0.0;
        double MaxX = 0.0;
        double MinY = 0.0;
        double MaxY = 0.0;
    };

    // Builds the node over order[first .. last), reordering that range.
    int32_t Build(std::vector<int32_t>& order, int32_t first, int32_t last, int32_t parent);
    // Squared, in doubles.
    double BoxDistance(const TNode& node, double x, double y) const;

    std::vector<double> FPlaceX;
    std::vector<double> FPlaceY;
    // The points of place p are FMembers[FPlaceFirst[p] .. FPlaceFirst[p + 1]),
    // in index order; FPresent holds the same slots with the points still in
    // the tree at the front of each place's range.
    std::vector<int32_t> FPlaceFirst;
    std::vector<int32_t> FMembers;
    std::vector<int32_t> FPresent;
    std::vector<int32_t> FPresentCount;
    std::vector<int32_t> FPresentSlot;
    std::vector<int32_t> FPlaceOfPoint;
    std::vector<int32_t> FLeafOfPlace;
    std::vector<TNode> FNodes;
};
