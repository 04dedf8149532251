#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// A closed ring of nodes held in an array, with the position of every node,
// for moves made of reversals: a reversal turns round the shorter side of the
// ring, so it costs at most half the ring. Reversals can be recorded and
// taken back, newest first, to return to the ring as it was.
class TRouteRing {
public:
    // The ring visits order's nodes in order and closes back to the first.
    // Nodes are 0 .. order.size() - 1.
    void Assign(const std::vector<int32_t>& order);

    int32_t Size() const { return FSize; }
    int32_t At(int32_t position) const { return FOrder[position]; }
    int32_t Position(int32_t node) const { return FPosition[node]; }
    int32_t Next(int32_t node) const
    {
        const int32_t p = FPosition[node] + 1;
        return FOrder[p == FSize ? 0 : p];
    }
    int32_t Prev(int32_t node) const
    {
        const int32_t p = FPosition[node];
        return FOrder[p == 0 ? FSize - 1 : p - 1];
    }
    // The node steps places on from node (backwards when steps < 0).
    int32_t Walk(int32_t node, int32_t steps) const;

    // Replaces the edges (a, b) and (c, d) by (a, c) and (b, d). b must
    // follow a and d follow c in the same direction round the ring.
    void Exchange(int32_t a, int32_t b, int32_t c, int32_t d);

    // Carries the stretch s .. e from between p and nx to between c and d,
    // giving the edges (p, nx), (c, s) and (e, d). p, s .. e, nx follow one
    // another in one direction; (c, d) is an edge off the stretch, in either
    // direction, and the ring holds at least three nodes besides the stretch.
    void MoveStretch(int32_t p, int32_t s, int32_t e, int32_t nx, int32_t c, int32_t d);

    // a, b0 .. b1, c0 .. c1, d follow one another: the two stretches trade
    // places, neither turned round, giving a, c0 .. c1, b0 .. b1, d.
    void SwapStretches(int32_t a, int32_t b0, int32_t b1, int32_t c0, int32_t c1, int32_t d);

    // a, b0 .. b1, c0 .. c1, d0 .. d1, e follow one another: the three
    // stretches come in the other order, none turned round, giving a,
    // d0 .. d1, c0 .. c1, b0 .. b1, e (a double bridge).
    void ReorderThreeStretches(int32_t a, int32_t b0, int32_t b1, int32_t c0, int32_t c1, int32_t d0, int32_t d1,
                               int32_t e);

    // While recording, every reversal is kept until ClearRecord.
    void SetRecording(bool recording) { FRecording = recording; }
    void ClearRecord() { FRecord.clear(); }
    // Takes back the recorded reversals and clears the record.
    void Undo();

private:
    // Reverses the positions from .. to, going forward round the ring.
    void Reverse(int32_t from, int32_t to);

    int32_t FSize = 0;
    std::vector<int32_t> FOrder;
    std::vector<int32_t> FPosition;
    bool FRecording = false;
    std::vector<std::pair<int32_t, int32_t>> FRecord;
};
