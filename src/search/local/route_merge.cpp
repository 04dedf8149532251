#include "search/local/route_merge.h"

#include <numeric>

namespace {

// Each node's two neighbours on the ring given by order.
std::vector<int32_t> LinksOf(const std::vector<int32_t>& order)
{
    const int32_t n = static_cast<int32_t>(order.size());
    std::vector<int32_t> links(2 * static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        links[2 * order[i]] = order[i == 0 ? n - 1 : i - 1];
        links[2 * order[i] + 1] = order[i + 1 == n ? 0 : i + 1];
    }
    return links;
}

bool Linked(const std::vector<int32_t>& links, int32_t u, int32_t v)
{
    return links[2 * u] == v || links[2 * u + 1] == v;
}

int32_t Root(std::vector<int32_t>& parent, int32_t node)
{
    while (parent[node] != node) {
        parent[node] = parent[parent[node]];
        node = parent[node];
    }
    return node;
}

}  // namespace

TMergedRing MergeRings(const std::vector<int32_t>& base, const std::vector<int32_t>& other, const TLegLength& length,
                       double epsilon)
{
    TMergedRing merged;
    const int32_t n = static_cast<int32_t>(base.size());
    if (n < 4 || static_cast<int32_t>(other.size()) != n)
        return merged;
    const std::vector<int32_t> baseLinks = LinksOf(base);
    const std::vector<int32_t> otherLinks = LinksOf(other);

    // The parts: nodes joined by legs that only one ring has.
    std::vector<int32_t> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<char> inPart(n, 0);
    auto join = [&](int32_t u, int32_t v) {
        inPart[u] = 1;
        inPart[v] = 1;
        parent[Root(parent, u)] = Root(parent, v);
    };
    for (int32_t u = 0; u < n; ++u) {
        for (int32_t k = 0; k < 2; ++k) {
            if (!Linked(otherLinks, u, baseLinks[2 * u + k]))
                join(u, baseLinks[2 * u + k]);
            if (!Linked(baseLinks, u, otherLinks[2 * u + k]))
                join(u, otherLinks[2 * u + k]);
        }
    }

    // Where a run of shared legs from u through v ends: the first node of a
    // part on the way (both rings go the same way through nodes between).
    auto runEnd = [&](int32_t u, int32_t v) {
        int32_t previous = u;
        while (!inPart[v]) {
            const int32_t next = baseLinks[2 * v] == previous ? baseLinks[2 * v + 1] : baseLinks[2 * v];
            previous = v;
            v = next;
        }
        return v;
    };

    // Per part, at its root: the runs of shared legs that leave it for
    // another part (a run that comes back into the part lies inside it),
    // and each ring's length inside it, shared runs left out. A node of a
    // part has a leg only one ring has, so at most one shared leg, which
    // both rings leave by: where that leg leaves the part, its other end.
    std::vector<int32_t> leaving(n, 0);
    std::vector<int32_t> leaveBy(n, -1);
    std::vector<double> baseInside(n, 0.0);
    std::vector<double> otherInside(n, 0.0);
    for (int32_t u = 0; u < n; ++u) {
        if (!inPart[u])
            continue;
        const int32_t root = Root(parent, u);
        for (int32_t k = 0; k < 2; ++k) {
            const int32_t v = baseLinks[2 * u + k];
            const bool shared = Linked(otherLinks, u, v);
            if (shared && Root(parent, runEnd(u, v)) != root) {
                ++leaving[root];
                leaveBy[u] = v;
            } else if (!shared && u < v)
                baseInside[root] += length(u, v);
            const int32_t w = otherLinks[2 * u + k];
            if (!Linked(baseLinks, u, w) && u < w)
                otherInside[root] += length(u, w);
        }
    }

    // Inside a part each ring runs in pieces from one leaving leg to
    // another. Where both rings pair the leaving legs alike, either ring's
    // pieces fit between them (with just two leaving legs they always do).
    const auto pairsOf = [&](const std::vector<int32_t>& links) {
        std::vector<int32_t> pairs(n, -1);
        for (int32_t u = 0; u < n; ++u) {
            if (leaveBy[u] < 0 || pairs[u] >= 0)
                continue;
            int32_t previous = leaveBy[u];
            int32_t node = u;
            do {
                const int32_t next = links[2 * node] == previous ? links[2 * node + 1] : links[2 * node];
                previous = node;
                node = next;
            } while (leaveBy[node] < 0 || leaveBy[node] == previous);
            pairs[u] = node;
            pairs[node] = u;
        }
        return pairs;
    };
    const std::vector<int32_t> basePairs = pairsOf(baseLinks);
    const std::vector<int32_t> otherPairs = pairsOf(otherLinks);
    std::vector<char> alike(n, 1);
    for (int32_t u = 0; u < n; ++u)
        if (leaveBy[u] >= 0 && basePairs[u] != otherPairs[u])
            alike[Root(parent, u)] = 0;

    std::vector<char> take(n, 0);
    bool any = false;
    for (int32_t r = 0; r < n; ++r) {
        if (inPart[r] && Root(parent, r) == r && leaving[r] >= 2 && alike[r] &&
            otherInside[r] < baseInside[r] - epsilon) {
            take[r] = 1;
            merged.Gain += baseInside[r] - otherInside[r];
            any = true;
        }
    }
    if (!any) {
        merged.Gain = 0.0;
        return merged;
    }

    // Walk the merged links; anything but one ring through every node
    // leaves base as it was.
    auto linksAt = [&](int32_t u) -> const int32_t* {
        const bool fromOther = inPart[u] && take[Root(parent, u)];
        return (fromOther ? otherLinks.data() : baseLinks.data()) + 2 * static_cast<size_t>(u);
    };
    std::vector<char> seen(n, 0);
    merged.Order.reserve(n);
    int32_t previous = linksAt(base[0])[0];
    int32_t node = base[0];
    bool whole = true;
    for (int32_t step = 0; step < n && whole; ++step) {
        whole = !seen[node];
        seen[node] = 1;
        merged.Order.push_back(node);
        const int32_t* links = linksAt(node);
        const int32_t next = links[0] == previous ? links[1] : links[0];
        const int32_t* back = linksAt(next);
        whole = whole && (back[0] == node || back[1] == node);
        previous = node;
        node = next;
    }
    if (!whole || node != base[0]) {
        merged.Order.clear();
        merged.Gain = 0.0;
    }
    return merged;
}
