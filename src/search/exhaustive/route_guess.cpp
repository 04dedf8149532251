#include "search/exhaustive/route_guess.h"

#include <algorithm>
#include <limits>

namespace {

// Rounds of improvement per route: on an uneven matrix a move's gain is
// only an estimate and the moves could go round in circles.
constexpr int32_t MaxRounds = 100;

class TImprover {
public:
    TImprover(const TDistanceMatrix& distances, TSpecimen& route)
        : FD(distances), FRoute(route), FCount(static_cast<int32_t>(route.size()))
    {
    }

    void Run()
    {
        for (int32_t round = 0; round < MaxRounds; ++round) {
            FEpsilon = 1e-12 * (RouteLength(FD, FRoute) + 1.0);
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
        for (int32_t i = 0; i < FCount; ++i)
            for (int32_t j = i + 1; j < FCount; ++j) {
                double gain = 0.0;
                if (i > 0)
                    gain += Leg(i - 1, i) - Leg(i - 1, j);
                if (j < FCount - 1)
                    gain += Leg(j, j + 1) - Leg(i, j + 1);
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
        for (int32_t i = 0; i < FCount; ++i) {
            const int32_t point = FRoute[i];
            double saved = 0.0;
            if (i > 0)
                saved += Leg(i - 1, i);
            if (i < FCount - 1)
                saved += Leg(i, i + 1);
            if (i > 0 && i < FCount - 1)
                saved -= Leg(i - 1, i + 1);
            FRoute.erase(FRoute.begin() + i);
            int32_t bestPlace = i;
            double bestCost = saved;
            for (int32_t place = 0; place < FCount; ++place) {
                double cost = 0.0;
                if (place > 0)
                    cost += FD[FRoute[place - 1]][point];
                if (place < FCount - 1)
                    cost += FD[point][FRoute[place]];
                if (place > 0 && place < FCount - 1)
                    cost -= FD[FRoute[place - 1]][FRoute[place]];
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
    TSpecimen& FRoute;
    int32_t FCount;
    double FEpsilon = 0.0;
};

}  // namespace

TSpecimen GuessShortRoute(const TDistanceMatrix& distances, int32_t n)
{
    TSpecimen best;
    double bestLength = std::numeric_limits<double>::infinity();
    std::vector<bool> visited;
    for (int32_t start = 0; start < n; ++start) {
        TSpecimen route{start};
        visited.assign(n, false);
        visited[start] = true;
        while (static_cast<int32_t>(route.size()) < n) {
            const int32_t from = route.back();
            int32_t next = -1;
            for (int32_t j = 0; j < n; ++j)
                if (!visited[j] && (next < 0 || distances[from][j] < distances[from][next]))
                    next = j;
            visited[next] = true;
            route.push_back(next);
        }
        TImprover(distances, route).Run();
        const double length = RouteLength(distances, route);
        if (length < bestLength) {
            bestLength = length;
            best = route;
        }
    }
    return best;
}
