#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "search/cut/tour_cut.h"

// Where cuts come from: the inequalities that a fractional point of the
// linear programme breaks and every tour keeps. What a cut promises holds
// for every tour whatever the point; the point only decides which cuts are
// worth adding, so rounding in the point can cost a cut, never a proof.

// Cuts count as broken when their left-hand side falls this far below Rhs.
inline constexpr double CutViolation = 1e-6;

// Subtour cuts the point breaks: every part of a disconnected point, or,
// when it is connected, minimum cuts below 2 found by maximum flows from
// one node to the others, so that the point breaks no subtour cut when
// none comes back. At most maxCuts, the most broken first. goOn runs
// between flows; once it says stop, what was found so far comes back.
std::vector<TTourCut> SubtourCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                  const std::function<bool()>& goOn = {});

// The subtour cuts of a point in pieces: one for each part that its edges
// join; none for a connected point.
std::vector<TTourCut> PartCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts);

// Subtour cuts of stretches of a tour: for each node of the tour, the
// stretch from it on (up to half the nodes) whose edges leaving it weigh
// least, where that is below 2. Quick, and often all that is broken.
std::vector<TTourCut> StretchCuts(const std::vector<TEdgeValue>& point, const std::vector<int32_t>& tour,
                                  int32_t maxCuts);

// Blossoms the point breaks, found exactly (Padberg and Rao): with each
// edge weighing its value, or 1 less its value where that is above 1/2,
// a handle whose leaving edges weigh less than 1 and hold an odd number
// of edges above 1/2 is a broken blossom with those edges as teeth; the
// lightest such handle is among the cuts that the flows between nodes of
// odd count find. At most maxCuts; goOn as for SubtourCuts.
std::vector<TTourCut> ExactBlossomCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts,
                                       const std::function<bool()>& goOn = {});

// Blossoms (combs whose teeth are single edges) the point breaks: a handle
// grown from the parts joined by fractional edges, its teeth the edges at
// or above a threshold that leave it, an odd number of them.
std::vector<TTourCut> BlossomCuts(const std::vector<TEdgeValue>& point, int32_t nodes, int32_t maxCuts);
