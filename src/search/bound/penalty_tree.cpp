#include "search/bound/penalty_tree.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Unreached = std::numeric_limits<double>::infinity();

// The points next to the growing tree, by the weight of their cheapest
// edge into it: a binary heap that lowers a point's key in place, so it
// holds each point once and stays as small as the tree's border.
class TFringe {
public:
    explicit TFringe(int32_t n) : FPositions(n, -1) {}

    bool Empty() const { return FIds.empty(); }

    // Puts the point in with this key, or lowers its key to it.
    void Lower(int32_t id, double key)
    {
        int32_t at = FPositions[id];
        if (at < 0) {
            at = static_cast<int32_t>(FIds.size());
            FIds.push_back(id);
            FKeys.push_back(key);
        }
        while (at > 0) {
            const int32_t parent = (at - 1) / 2;
            if (!(key < FKeys[parent]))
                break;
            Place(at, FIds[parent], FKeys[parent]);
            at = parent;
        }
        Place(at, id, key);
    }

    int32_t PopNearest()
    {
        const int32_t nearest = FIds[0];
        FPositions[nearest] = -1;
        const int32_t lastId = FIds.back();
        const double lastKey = FKeys.back();
        FIds.pop_back();
        FKeys.pop_back();
        const int32_t size = static_cast<int32_t>(FIds.size());
        if (size == 0)
            return nearest;
        int32_t at = 0;
        for (;;) {
            int32_t child = 2 * at + 1;
            if (child >= size)
                break;
            if (child + 1 < size && FKeys[child + 1] < FKeys[child])
                ++child;
            if (!(FKeys[child] < lastKey))
                break;
            Place(at, FIds[child], FKeys[child]);
            at = child;
        }
        Place(at, lastId, lastKey);
        return nearest;
    }

private:
    void Place(int32_t at, int32_t id, double key)
    {
        FIds[at] = id;
        FKeys[at] = key;
        FPositions[id] = at;
    }

    std::vector<int32_t> FPositions;
    std::vector<int32_t> FIds;
    std::vector<double> FKeys;
};

// The points still outside Prim's tree, packed at the front of parallel
// arrays, so that the pass after each join streams through memory: on the
// plane their coordinates too.
class TPackedPlane {
public:
    TPackedPlane(const TLegMeter& legs, const std::vector<int32_t>& ids)
    {
        for (const int32_t id : ids) {
            FX.push_back(legs.SpaceX()[id]);
            FY.push_back(legs.SpaceY()[id]);
        }
    }
    void Swap(int32_t a, int32_t b)
    {
        std::swap(FX[a], FX[b]);
        std::swap(FY[a], FY[b]);
    }
    // The leg from packed place k to packed place at.
    double Leg(int32_t k, int32_t at) const { return TLegMeter::PlainLeg(FX[k] - FX[at], FY[k] - FY[at]); }

private:
    std::vector<double> FX;
    std::vector<double> FY;
};

class TPackedMeasure {
public:
    TPackedMeasure(const TLegMeter& legs, const std::vector<int32_t>& ids) : FLegs(legs), FIds(ids) {}
    void Swap(int32_t, int32_t) {}
    double Leg(int32_t k, int32_t at) const { return FLegs.Leg(FIds[k], FIds[at]); }

private:
    const TLegMeter& FLegs;
    // The caller's ids, swapped by the caller.
    const std::vector<int32_t>& FIds;
};

template <typename TPacked>
bool PrimTree(const TLegMeter& legs, const std::vector<double>& penalties, int32_t excluded, TPenaltyTree& tree,
              const std::function<bool()>& goOn)
{
    const int32_t n = legs.Count();
    tree.Parents.assign(n, -1);
    tree.Weight = 0;
    tree.Magnitude = 0;
    std::vector<int32_t> ids;
    ids.reserve(n);
    for (int32_t i = 0; i < n; ++i)
        if (i != excluded)
            ids.push_back(i);
    const int32_t count = static_cast<int32_t>(ids.size());
    if (count == 0)
        return true;
    TPacked packed(legs, ids);
    std::vector<double> op;
    op.reserve(count);
    for (const int32_t id : ids)
        op.push_back(penalties[id]);
    std::vector<double> keys(count, Unreached);
    std::vector<int32_t> from(count, -1);

    int32_t outside = count;
    int32_t joined = 0;
    for (;;) {
        // The point at position `joined` of the packed arrays joins.
        --outside;
        std::swap(ids[joined], ids[outside]);
        packed.Swap(joined, outside);
        std::swap(op[joined], op[outside]);
        std::swap(keys[joined], keys[outside]);
        std::swap(from[joined], from[outside]);
        const int32_t id = ids[outside];
        tree.Parents[id] = from[outside];
        if (from[outside] >= 0)
            AddTreeEdge(tree, keys[outside]);
        if (outside == 0)
            return true;
        const double cp = op[outside];
        double best = Unreached;
        int32_t bestAt = 0;
        for (int32_t k = 0; k < outside; ++k) {
            const double weight = (packed.Leg(k, outside) + cp) + op[k];
            if (weight < keys[k]) {
                keys[k] = weight;
                from[k] = id;
            }
            if (keys[k] < best) {
                best = keys[k];
                bestAt = k;
            }
        }
        joined = bestAt;
        if (goOn && !goOn())
            return false;
    }
}

}  // namespace

void AddTreeEdge(TPenaltyTree& tree, double weight)
{
    tree.Weight += weight;
    tree.Magnitude += std::fabs(weight);
}

bool CompletePenaltyTree(const TLegMeter& legs, const std::vector<double>& penalties, int32_t excluded,
                         TPenaltyTree& tree, const std::function<bool()>& goOn)
{
    if (legs.Metric() == TMetric::Plane)
        return PrimTree<TPackedPlane>(legs, penalties, excluded, tree, goOn);
    return PrimTree<TPackedMeasure>(legs, penalties, excluded, tree, goOn);
}

bool SparsePenaltyTree(const TCandidateGraph& graph, const std::vector<double>& penalties, int32_t excluded,
                       TPenaltyTree& tree, const std::function<bool()>& goOn)
{
    const int32_t n = static_cast<int32_t>(penalties.size());
    tree.Parents.assign(n, -1);
    tree.Weight = 0;
    tree.Magnitude = 0;
    std::vector<double> keys(n, Unreached);
    std::vector<uint8_t> inside(n, 0);
    if (excluded >= 0 && excluded < n)
        inside[excluded] = 1;
    TFringe fringe(n);
    int32_t joined = 0;
    for (int32_t root = 0; root < n; ++root) {
        // A graph in pieces gives a forest; the caller's extra edges
        // normally leave just one piece.
        if (inside[root])
            continue;
        fringe.Lower(root, 0.0);
        while (!fringe.Empty()) {
            const int32_t u = fringe.PopNearest();
            inside[u] = 1;
            if (tree.Parents[u] >= 0)
                AddTreeEdge(tree, keys[u]);
            if (++joined % 64 == 0 && goOn && !goOn())
                return false;
            const double pu = penalties[u];
            for (int32_t e = graph.Starts[u]; e < graph.Starts[u + 1]; ++e) {
                const int32_t v = graph.Targets[e];
                if (inside[v])
                    continue;
                const double weight = (graph.Lengths[e] + pu) + penalties[v];
                if (weight < keys[v]) {
                    keys[v] = weight;
                    tree.Parents[v] = u;
                    fringe.Lower(v, weight);
                }
            }
        }
    }
    return true;
}
