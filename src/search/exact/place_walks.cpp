#include "search/exact/place_walks.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "search/exact/fixed_legs.h"

namespace {

// A walk shorter than the best has legs that sum to less than the best
// with a share for each of its sums (see RoundingShareOf), and its route's
// legs sum to at least the route's length less the same: its passes add
// under 2 shares of the best, and doubles may break the triangle's rule by
// the last bits of a pass's legs (under 7 shares for all of them). So each
// of its passes lies within 12 shares of the best off its leg's straight
// line, and any walk that does is a real walk: the passes looked at may be
// more, never fewer, than those of the walks that could be shorter.
constexpr long double PassShares = 12.0L;

// What a walk has so far: its length by RouteLength, how many passes it
// made through each place that more than its spare points' worth of legs
// could pass, and where it came from, to read the walk back.
struct TWalkState {
    double Length = 0.0;
    int32_t FromNode = -1;
    std::string FromUse;
};
// The counts of passes, one character a place.
using TWalkStates = std::map<std::string, TWalkState>;

void Keep(TWalkStates& states, const std::string& use, double length, int32_t fromNode, const std::string& fromUse)
{
    const auto found = states.find(use);
    if (found == states.end() || length < found->second.Length)
        states[use] = {length, fromNode, fromUse};
}

}  // namespace

TPlaceWalks::TPlaceWalks(const TPointPlaces& places, double lengthAbove)
    : FPlaces(places), FCount(places.Count()), FPointCount(places.PointCount())
{
    for (int32_t place = 0; place < FCount; ++place) {
        if (places.PointsAt(place) > 1) {
            FSpareAt.push_back(place);
            FSpare.push_back(places.PointsAt(place) - 1);
        }
    }
    if (FSpareAt.empty())
        return;
    const TPointArray& at = places.Places();
    FLegs.resize(static_cast<size_t>(FCount) * FCount);
    for (int32_t a = 0; a < FCount; ++a)
        for (int32_t b = 0; b < FCount; ++b)
            FLegs[static_cast<size_t>(a) * FCount + b] =
                MapHypot(static_cast<int64_t>(at[b].X) - at[a].X, static_cast<int64_t>(at[b].Y) - at[a].Y);

    // Passes that add less than this may matter. A route of whole legs and
    // its walks through such passes, all of whole legs too, sum to whole
    // numbers less than one apart: the same, so they are as long.
    const long double limit = PassShares * RoundingShare(FPointCount) * lengthAbove;
    for (const int32_t via : FSpareAt) {
        for (int32_t a = 0; a < FCount; ++a) {
            for (int32_t b = 0; b < FCount; ++b) {
                if (a == via || b == via || a == b || Detour(a, via, b) >= limit)
                    continue;
                FPassesMatter = true;
                const auto whole = [&](int32_t x, int32_t y) { return Leg(x, y) == std::floor(Leg(x, y)); };
                if (whole(a, b) && !(whole(a, via) && whole(via, b)))
                    FWholeLegsAddUp = false;
            }
        }
    }
}

TRouteMeasure TPlaceWalks::Measure() const
{
    TRouteMeasure measure;
    if (!FPassesMatter)
        return measure;
    measure.Length = [this](const TSpecimen& route, double cap) {
        TSpecimen walk;
        return BestWalk(route, cap, walk);
    };
    // A walk has a leg more for every pass, and each pass may break the
    // triangle's rule by the last bits of three legs.
    measure.ExtraRoundings = 4 * (FPointCount - FCount);
    measure.WholeLegsAddUp = FWholeLegsAddUp;
    return measure;
}

double TPlaceWalks::BestWalk(const TSpecimen& route, double cap, TSpecimen& walk) const
{
    walk.clear();
    const double plain = RouteLengthOfPoints(FPlaces.Places(), route);
    if (!FPassesMatter || route.size() < 2) {
        if (plain >= cap)
            return cap;
        walk = route;
        return plain;
    }

    // The places each leg may pass, nearest its start first.
    const long double limit = PassShares * RoundingShare(FPointCount) * std::min(cap, plain);
    const size_t legCount = route.size() - 1;
    std::vector<std::vector<int32_t>> passes(legCount);
    std::vector<int32_t> legsPassing(FSpareAt.size(), 0);
    for (size_t i = 0; i < legCount; ++i) {
        const int32_t from = route[i];
        const int32_t to = route[i + 1];
        std::vector<std::pair<double, int32_t>> near;
        for (size_t k = 0; k < FSpareAt.size(); ++k) {
            const int32_t via = FSpareAt[k];
            if (via != from && via != to && Detour(from, via, to) < limit) {
                near.emplace_back(Leg(from, via), static_cast<int32_t>(k));
                ++legsPassing[k];
            }
        }
        std::sort(near.begin(), near.end());
        for (const auto& entry : near)
            passes[i].push_back(entry.second);
    }
    if (std::all_of(passes.begin(), passes.end(), [](const std::vector<int32_t>& onLeg) { return onLeg.empty(); })) {
        if (plain >= cap)
            return cap;
        walk = route;
        return plain;
    }
    // Only places that more legs could pass than they have points to spare
    // need their passes counted.
    std::vector<int32_t> counted(FSpareAt.size(), -1);
    int32_t countedPlaces = 0;
    for (size_t k = 0; k < FSpareAt.size(); ++k)
        if (legsPassing[k] > FSpare[k])
            counted[k] = countedPlaces++;

    // Leg by leg, for each count of passes the least length at the leg's
    // end: sums never fall as legs are added, so the shortest way to a
    // place on the route is the start of the shortest walk on from there.
    // On a leg the walk goes from its start through some of its passes, in
    // order, to its end. Node 0 is the leg's start, node j its j-th pass.
    std::vector<std::vector<TWalkStates>> nodes(legCount);
    TWalkStates at;
    at[std::string(static_cast<size_t>(countedPlaces), '\0')] = {0.0, -1, {}};
    for (size_t i = 0; i < legCount; ++i) {
        const std::vector<int32_t>& onLeg = passes[i];
        std::vector<TWalkStates>& leg = nodes[i];
        leg.assign(onLeg.size() + 1, {});
        leg[0] = std::move(at);
        auto placeOf = [&](size_t node) { return node == 0 ? route[i] : FSpareAt[onLeg[node - 1]]; };
        for (size_t j = 1; j <= onLeg.size(); ++j) {
            const int32_t k = onLeg[j - 1];
            for (size_t from = 0; from < j; ++from) {
                for (const auto& [use, state] : leg[from]) {
                    const double length = AddLeg(state.Length, Leg(placeOf(from), FSpareAt[k]));
                    if (length >= cap)
                        continue;
                    std::string next = use;
                    if (counted[k] >= 0) {
                        if (next[counted[k]] >= FSpare[k])
                            continue;
                        ++next[counted[k]];
                    }
                    Keep(leg[j], next, length, static_cast<int32_t>(from), use);
                }
            }
        }
        at.clear();
        for (size_t from = 0; from <= onLeg.size(); ++from) {
            for (const auto& [use, state] : leg[from]) {
                const double length = AddLeg(state.Length, Leg(placeOf(from), route[i + 1]));
                if (length < cap)
                    Keep(at, use, length, static_cast<int32_t>(from), use);
            }
        }
    }
    if (at.empty())
        return cap;

    auto best = at.begin();
    for (auto entry = at.begin(); entry != at.end(); ++entry)
        if (entry->second.Length < best->second.Length)
            best = entry;
    const double length = best->second.Length;
    // Read the walk back, leg by leg from the last.
    std::vector<int32_t> reversed{route.back()};
    int32_t node = best->second.FromNode;
    std::string use = best->second.FromUse;
    for (size_t i = legCount; i-- > 0;) {
        while (node > 0) {
            reversed.push_back(FSpareAt[passes[i][static_cast<size_t>(node) - 1]]);
            const TWalkState& state = nodes[i][static_cast<size_t>(node)].at(use);
            node = state.FromNode;
            use = state.FromUse;
        }
        reversed.push_back(route[i]);
        if (i > 0) {
            const TWalkState& state = nodes[i][0].at(use);
            node = state.FromNode;
            use = state.FromUse;
        }
    }
    walk.assign(reversed.rbegin(), reversed.rend());
    return length;
}
