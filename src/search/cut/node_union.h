#pragma once

#include <cstdint>
#include <numeric>
#include <vector>

// Nodes 0 .. count - 1 joined into parts, each named by one of its nodes
// (union by linking, with paths halved as they are followed).
class TNodeUnion {
public:
    explicit TNodeUnion(int32_t count) : FParent(static_cast<size_t>(count))
    {
        std::iota(FParent.begin(), FParent.end(), 0);
    }

    // The node that names a's part.
    int32_t Find(int32_t a)
    {
        while (FParent[static_cast<size_t>(a)] != a) {
            FParent[static_cast<size_t>(a)] = FParent[static_cast<size_t>(FParent[static_cast<size_t>(a)])];
            a = FParent[static_cast<size_t>(a)];
        }
        return a;
    }
    // a's part joins b's, which keeps its name.
    void Join(int32_t a, int32_t b) { FParent[static_cast<size_t>(Find(a))] = Find(b); }

private:
    std::vector<int32_t> FParent;
};
