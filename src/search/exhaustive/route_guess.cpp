#include "search/exhaustive/route_guess.h"

#include <algorithm>
#include <limits>

namespace {

// Rounds of improvement per route: on an uneven matrix a move's gain is
// only an estimate and the moves could go round in circles.
constexpr int32_t MaxRounds = 100;

// Improves the free positions First .. Last of a route; a round trip's
// last point leads back to its first.
class TImprover {
public:
    TImprover(const TDistanceMatrix& distances, const TRouteFrame& frame, TSpecimen& route)
        : FD(distances),
          FFrame(frame),
          FRoute(route),
          FCount(static_cast<int32_t>(route.size())),
          FFirst(frame.Head >= 0 ? 1 : 0),
          FLast(frame.TailInRoute ? FCount - 2 : FCount - 1),
          FRound(frame.RoundTrip())
    {
    }

    void Run()
    {
        for (int32_t round = 0; round < MaxRounds; ++round) {
            FEpsilon = 1e-12 * (FFrame.Length(FD, FRoute) + 1.0);
            const bool reversed = Reverse();
            const bool moved = Move();
            if (!reversed && !moved)
                return;
        }
    }

private:
    double Leg(int32_t a, int32_t b) const { return FD[FRoute[a]][FRoute[b]]; }

    // Reverses the stretch i .. j wherever that shortens the route.
    bool Reverse()
    {
        bool improved = false;
        for (int32_t i = FFirst; i <= FLast; ++i)
            for (int32_t j = i + 1; j <= FLast; ++j) {
                double gain = 0.0;
                if (i > 0)
                    gain += Leg(i - 1, i) - Leg(i - 1, j);
                if (j < FCount - 1)
                    gain += Leg(j, j + 1) - Leg(i, j + 1);
                else if (FRound)
                    gain += Leg(j, 0) - Leg(i, 0);
                if (gain > FEpsilon) {
                    std::reverse(FRoute.begin() + i, FRoute.begin() + j + 1);
                    improved = true;
                }
            }
        return improved;
    }

    // Takes one point out and puts it back where it costs least, when that
    // is cheaper than where it stood.
    bool Move()
    {
        bool improved = false;
        for (int32_t i = FFirst; i <= FLast; ++i) {
            const int32_t point = FRoute[i];
            // The point after position p of the full route, -1 for none.
            const int32_t after = i < FCount - 1 ? FRoute[i + 1] : FRound ? FRoute[0] : -1;
            double saved = 0.0;
            if (i > 0)
                saved += Leg(i - 1, i);
            if (after >= 0)
                saved += FD[point][after];
            if (i > 0 && after >= 0)
                saved -= FD[FRoute[i - 1]][after];
            FRoute.erase(FRoute.begin() + i);
            int32_t bestPlace = i;
            double bestCost = saved;
            for (int32_t place = FFirst; place <= FLast; ++place) {
                // Put back at place, it stands between these two.
                const int32_t before = place > 0 ? FRoute[place - 1] : -1;
                const int32_t next = place < FCount - 1 ? FRoute[place] : FRound ? FRoute[0] : -1;
                double cost = 0.0;
                if (before >= 0)
                    cost += FD[before][point];
                if (next >= 0)
                    cost += FD[point][next];
                if (before >= 0 && next >= 0)
                    cost -= FD[before][next];
                if (cost < bestCost - FEpsilon) {
                    bestCost = cost;
                    bestPlace = place;
                }
            }
            FRoute.insert(FRoute.begin() + bestPlace, point);
            improved = improved || bestPlace != i;
        }
        return improved;
    }

    const TDistanceMatrix& FD;
    const TRouteFrame& FFrame;
    TSpecimen& FRoute;
    int32_t FCount;
    int32_t FFirst;
    int32_t FLast;
    bool FRound;
    double FEpsilon = 0.0;
};

}  // namespace

TSpecimen GuessShortRoute(const TDistanceMatrix& distances, const TRouteFrame& frame)
{
    const int32_t n = frame.Count;
    TSpecimen best;
    double bestLength = std::numeric_limits<double>::infinity();
    std::vector<bool> taken;
    // A fixed first point is the only start; otherwise every free point.
    const std::vector<int32_t> starts = frame.Head >= 0 ? std::vector<int32_t>{frame.Head} : frame.Free;
    for (const int32_t start : starts) {
        TSpecimen route{start};
        taken.assign(n, false);
        taken[start] = true;
        if (frame.TailInRoute)
            taken[frame.Tail] = true;
        const int32_t open = frame.TailInRoute ? n - 1 : n;
        while (static_cast<int32_t>(route.size()) < open) {
            const int32_t from = route.back();
            int32_t next = -1;
            for (int32_t j = 0; j < n; ++j)
                if (!taken[j] && (next < 0 || distances[from][j] < distances[from][next]))
                    next = j;
            taken[next] = true;
            route.push_back(next);
        }
        if (frame.TailInRoute)
            route.push_back(frame.Tail);
        TImprover(distances, frame, route).Run();
        const double length = frame.Length(distances, route);
        if (length < bestLength) {
            bestLength = length;
            best = route;
        }
    }
    return best;
}

TSpecimen GuessShortRoute(const TDistanceMatrix& distances, int32_t n)
{
    return GuessShortRoute(distances, FrameOfKind({}, n));
}
