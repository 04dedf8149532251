#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/route_problem.h"
#include "search/local/kick_walk.h"
#include "search/local/local_optimiser.h"
#include "search/local/random_stream.h"
#include "search/neighbours/neighbour_lists.h"
#include "support/kind_reference.h"
#include "support/point_sets.h"
#include "support/search_reference.h"

namespace {

// Point penalties of either sign, up to the mean leg from point 0: the
// walk must compare routes by their lengths all the same.
std::vector<double> RandomPenalties(const TLegMeter& legs, std::mt19937& random)
{
    const int32_t n = legs.Count();
    double scale = 1.0;
    for (int32_t i = 1; i < n; ++i)
        scale += legs.Leg(0, i) / n;
    std::uniform_real_distribution<double> draw(-scale, scale);
    std::vector<double> penalties(static_cast<size_t>(n));
    for (double& penalty : penalties)
        penalty = draw(random);
    return penalties;
}

// A walk's variants: legs weighed with random penalties or not, and points
// settled by chains alone or by the cheaper moves first.
struct TWalkVariant {
    bool Penalised = false;
    bool ChainsAlone = false;
};

const TWalkVariant WalkVariants[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// A walk with chain settling over a problem's points, from a random route
// of its kind, as the variant says.
struct TChainWalk {
    TChainWalk(const TPointArray& points, const TRouteKind& kind, uint32_t seed, std::mt19937& random,
               const TWalkVariant& variant = {})
        : Problem(MakeRouteProblem(TMeasure::OfPoints(points), kind, false)),
          Legs(TLegMeter::OfPoints(points)),
          Lists(NeighbourListsOf(points, LocalNeighbourCount)),
          Penalties(variant.Penalised ? RandomPenalties(Legs, random) : std::vector<double>{}),
          Optimiser(Legs, Lists, kind, &Penalties),
          Random(seed)
    {
        Optimiser.SetChainsAlone(variant.ChainsAlone);
        Optimiser.SetRoute(RandomRouteOfKind(kind, static_cast<int32_t>(points.size()), random));
        Optimiser.PolishWithChains({});
    }

    TRouteProblem Problem;
    TLegMeter Legs;
    TNeighbourLists Lists;
    std::vector<double> Penalties;
    TLocalOptimiser Optimiser;
    TRandomStream Random;
};

// The route fits the kind, read from its fixed start or a round trip's
// point 0 as the search reads it.
bool WholeRouteOfKind(const TSpecimen& route, const TRouteKind& kind, int32_t n)
{
    if (static_cast<int32_t>(route.size()) != n || !IsPermutation(route) || !RouteFitsKind(route, kind, n))
        return false;
    const int32_t first = ReferenceFirstPoint(kind, n);
    return first < 0 || route[0] == first;
}

}  // namespace

// Kick by kick, with chain settling (whose kick moves three stretches),
// alone or after the cheaper moves, the walk's route stays a whole route of every kind and never gets longer:
// a kick that miscounted what it added would let a longer route through,
// and so would penalties that did not add the same to every route.
TEST(KickWalk, ChainSettledKicksKeepAWholeRouteOfTheKindNeverLonger)
{
    std::mt19937 random(71);
    int64_t kicks = 0;
    for (int set = 0; set < skKindCount; ++set) {
        for (int32_t n : {4, 5, 6, 8, 13, 40, 120}) {
            const TPointArray points = MakeSet(set, n, random);
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                for (const TWalkVariant& variant : WalkVariants) {
                    TChainWalk chainWalk(points, kind, 5u + static_cast<uint32_t>(n), random, variant);
                    TKickWalk walk(chainWalk.Optimiser, chainWalk.Random);
                    walk.SetChainSettling(true);
                    double length = chainWalk.Problem.Length(chainWalk.Optimiser.Route());
                    for (int round = 0; round < 30; ++round) {
                        kicks += walk.Run(
                            {}, [](int64_t done) { return done < 3; }, [] {});
                        const TSpecimen route = chainWalk.Optimiser.Route();
                        ASSERT_TRUE(WholeRouteOfKind(route, kind, n)) << "set " << set << ", n = " << n;
                        ASSERT_EQ(walk.BestRoute(), route);
                        const double now = chainWalk.Problem.Length(route);
                        ASSERT_LE(now, length * (1 + 1e-12))
                            << "set " << set << ", n = " << n << ", round " << round << ", penalised "
                            << variant.Penalised << ", chains alone " << variant.ChainsAlone;
                        length = now;
                    }
                }
            }
        }
    }
    EXPECT_GT(kicks, 10000);
}

// On sets of up to eight points of every kind, chain-settled kicks find the
// shortest route (on up to five always) of the kind that Held and Karp's table gives, and never
// one shorter, in every variant of the walk.
TEST(KickWalk, ChainSettledKicksFindTheShortestRouteOfSmallSets)
{
    std::mt19937 random(72);
    int walks = 0;
    int shortest = 0;
    for (int set = 0; set < skKindCount; ++set) {
        for (int32_t n : {4, 5, 6, 7, 8}) {
            const TPointArray points = MakeSet(set, n, random);
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                for (const TWalkVariant& variant : WalkVariants) {
                    TChainWalk chainWalk(points, kind, 9u + static_cast<uint32_t>(set), random, variant);
                    const double best = ReferenceShortestOfKind(chainWalk.Problem);
                    TKickWalk walk(chainWalk.Optimiser, chainWalk.Random);
                    walk.SetChainSettling(true);
                    walk.Run(
                        {}, [](int64_t done) { return done < 200; }, [] {});
                    const double length = chainWalk.Problem.Length(chainWalk.Optimiser.Route());
                    EXPECT_GE(length, best * (1 - 1e-12)) << "set " << set << ", n = " << n;
                    // A ring too small for a chain must still be settled.
                    if (n <= 5) {
                        EXPECT_LE(length, best * (1 + 1e-12))
                            << "set " << set << ", n = " << n << ", chains alone " << variant.ChainsAlone;
                    }
                    ++walks;
                    shortest += length <= best * (1 + 1e-12);
                }
            }
        }
    }
    EXPECT_GE(shortest, walks - walks / 20) << shortest << " of " << walks;
}
