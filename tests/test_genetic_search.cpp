#include <gtest/gtest.h>

#include <random>

#include "core/distances.h"
#include "core/random_source.h"
#include "search/genetic/genetic_breeding.h"
#include "search/genetic/genetic_search.h"
#include "support/kind_reference.h"
#include "support/point_sets.h"
#include "support/scripted_host.h"
#include "support/search_reference.h"
#include "support/state_searches.h"

namespace {

// A reseed clock that ticks once per reading, so that the specimens of the
// first population differ and a run can be repeated exactly.
struct TTickingClock {
    explicit TTickingClock(uint32_t start)
    {
        auto now = std::make_shared<uint32_t>(start);
        SetReseedClock([now] { return (*now)++; });
    }
    ~TTickingClock() { SetReseedClock({}); }
};

std::vector<TMapPoint> Scattered(int32_t n, std::mt19937& random)
{
    std::vector<TMapPoint> points;
    for (int32_t i = 0; i < n; ++i)
        points.push_back({static_cast<int32_t>(random() % 640), static_cast<int32_t>(random() % 480), -1});
    return points;
}

std::vector<int32_t> Flat(const std::vector<TSpecimen>& population)
{
    std::vector<int32_t> flat;
    for (const TSpecimen& specimen : population)
        flat.insert(flat.end(), specimen.begin(), specimen.end());
    return flat;
}

// A search of the problem with a ticking reseed clock from clock; the host
// watches the routes the search offers.
TSearchOutcome SearchKind(const TRouteProblem& problem, const TGeneticParams& params, uint32_t clock,
                          std::vector<TScriptedHost::TOffered>* offers = nullptr)
{
    TPointSetState state;
    TScriptedHost host(state);
    host.Watching = offers != nullptr;
    TTickingClock ticking(clock);
    state.FSearching = true;
    const TSearchOutcome outcome = SearchGenetic(problem, host, params, true);
    if (offers)
        *offers = host.Offers;
    return outcome;
}

// Places on the Earth, latitude and longitude in degrees, about Poland.
TPlaceArray EarthPlaces(int32_t n, std::mt19937& random)
{
    TPlaceArray places;
    for (int32_t i = 0; i < n; ++i)
        places.push_back({49.0 + static_cast<double>(random() % 50000) / 10000.0,
                          14.0 + static_cast<double>(random() % 100000) / 10000.0});
    return places;
}

}  // namespace

TEST(GeneticBreeding, RateTestUsesExtendedQuotients)
{
    const struct {
        double rate;
        int32_t lastPassing;  // draws 0 .. lastPassing pass
    } rows[] = {{0.5, 9}, {0.1, 9}, {0.05, 5}, {0.03, 2}, {0.0, 0}, {-0.01, -1}};
    for (const auto& row : rows)
        for (int32_t draw = 0; draw < 10; ++draw)
            EXPECT_EQ(RatePasses(draw, row.rate), draw <= row.lastPassing) << "rate " << row.rate << ", draw " << draw;
}

TEST(GeneticBreeding, OrderCrossoverOfEightPoints)
{
    const int32_t a[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    const int32_t b[8] = {7, 3, 0, 5, 1, 6, 2, 4};
    int32_t childA[8];
    int32_t childB[8];
    TSegmentMarker marker(8);
    OrderCrossover(a, b, 8, 2, 4, childA, childB, marker);
    EXPECT_EQ(std::vector<int32_t>(childA, childA + 8), std::vector<int32_t>({3, 4, 0, 5, 1, 6, 7, 2}));
    EXPECT_EQ(std::vector<int32_t>(childB, childB + 8), std::vector<int32_t>({5, 1, 2, 3, 4, 6, 7, 0}));
}

TEST(GeneticBreeding, OrderCrossoverWithTheSegmentAtTheStart)
{
    const int32_t a[4] = {0, 1, 2, 3};
    const int32_t b[4] = {0, 3, 1, 2};
    int32_t childA[4];
    int32_t childB[4];
    TSegmentMarker marker(4);
    OrderCrossover(a, b, 4, 0, 1, childA, childB, marker);
    EXPECT_EQ(std::vector<int32_t>(childA, childA + 4), std::vector<int32_t>({0, 3, 2, 1}));
}

TEST(GeneticBreeding, OrderCrossoverKeepsPermutationsAndMatchesTheScan)
{
    std::mt19937 random(1);
    for (int r = 0; r < 2000; ++r) {
        const int32_t n = 4 + static_cast<int32_t>(random() % 30);
        TSpecimen a(n);
        TSpecimen b(n);
        for (int32_t i = 0; i < n; ++i)
            a[i] = b[i] = i;
        std::shuffle(a.begin(), a.end(), random);
        std::shuffle(b.begin(), b.end(), random);
        int32_t lo = static_cast<int32_t>(random() % (n - 2));
        int32_t hi = static_cast<int32_t>(random() % (n - 2));
        if (lo == hi)
            continue;
        if (lo > hi)
            std::swap(lo, hi);
        TSpecimen childA(n);
        TSpecimen childB(n);
        TSegmentMarker marker(n);
        OrderCrossover(a.data(), b.data(), n, lo, hi, childA.data(), childB.data(), marker);
        ASSERT_TRUE(IsPermutation(childA));
        ASSERT_TRUE(IsPermutation(childB));
        EXPECT_EQ(childA, ReferenceChild(a, b, lo, hi));
        EXPECT_EQ(childB, ReferenceChild(b, a, lo, hi));
    }
}

// No route as long as all the others together: every fitness is above 0.5,
// so each of the first half gets two copies, in order.
TEST(GeneticBreeding, SelectionInTheUsualCaseDoublesTheFirstHalf)
{
    for (int32_t population : {10, 11}) {
        std::vector<TSpecimen> current;
        std::vector<double> values;
        for (int32_t i = 0; i < population; ++i) {
            current.push_back({i, 100 + i});
            values.push_back(10.0 + i);
        }
        LengthsToFitness(values.data(), population, LengthSum(values.data(), population));
        std::vector<int32_t> next(2 * population, -1);
        SelectByFitness(Flat(current).data(), values.data(), population, 2, next.data());
        for (int32_t k = 0; k < population; ++k)
            EXPECT_EQ(next[2 * k], k / 2) << "P = " << population << ", slot " << k;
    }
}

TEST(GeneticBreeding, SelectionWithAllLengthsZeroCopiesThePopulation)
{
    std::vector<TSpecimen> current;
    for (int32_t i = 0; i < 10; ++i)
        current.push_back({i, 9 - i, 20 + i});
    std::vector<double> values(10, 0.0);
    const long double sum = LengthSum(values.data(), 10);
    EXPECT_EQ(sum, 0.0L);
    LengthsToFitness(values.data(), 10, sum);
    for (double f : values)
        EXPECT_EQ(f, 0.0);
    std::vector<int32_t> next(30, -1);
    const std::vector<int32_t> flat = Flat(current);
    SelectByFitness(flat.data(), values.data(), 10, 3, next.data());
    EXPECT_EQ(next, flat);
}

TEST(GeneticBreeding, FitnessOfExactlyHalfEarnsOneCopy)
{
    double values[10] = {9, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    LengthsToFitness(values, 10, LengthSum(values, 10));
    EXPECT_EQ(values[0], 0.5);
    std::vector<int32_t> current(10);
    for (int32_t i = 0; i < 10; ++i)
        current[i] = i;
    std::vector<int32_t> next(10, -1);
    SelectByFitness(current.data(), values, 10, 1, next.data());
    EXPECT_EQ(next, std::vector<int32_t>({0, 1, 1, 2, 2, 3, 3, 4, 4, 5}));
}

TEST(GeneticBreeding, SpreadIsTheSampleDeviation)
{
    const double lengths[4] = {2, 4, 4, 6};
    EXPECT_DOUBLE_EQ(LengthSpread(lengths, 4), std::sqrt(8.0 / 3.0));
    const double equal[5] = {7, 7, 7, 7, 7};
    EXPECT_EQ(LengthSpread(equal, 5), 0.0);
}

// Equal lengths whose squares don't add up exactly can leave a variance
// just below zero; the search then takes 1.0 rather than failing.
TEST(GeneticBreeding, SpreadFailureGivesOne)
{
    bool sawFailure = false;
    for (double x = 0.1; x < 50 && !sawFailure; x += 0.37) {
        std::vector<double> lengths(10, x);
        const double spread = LengthSpread(lengths.data(), 10);
        EXPECT_TRUE(spread == 0.0 || spread == 1.0) << x;
        sawFailure = spread == 1.0;
    }
    EXPECT_TRUE(sawFailure);
}

TEST(GeneticSearch, MatchesTheGenerationByGenerationReference)
{
    std::mt19937 random(2);
    const struct {
        int32_t n;
        int32_t population;
        double crossover;
        double mutation;
        int32_t generations;
        bool secureBad;
    } rows[] = {
        {4, 10, 0.5, 0.05, 30, false},   {5, 11, 0.0, 0.03, 40, true},   {12, 20, 0.5, 0.5, 60, false},
        {30, 100, 0.05, 0.05, 50, true}, {9, 13, -1.0, 0.09, 25, false}, {50, 37, 0.02, 0.0, 20, true},
    };
    for (const auto& row : rows) {
        TPointSetState state;
        std::vector<TMapPoint> points = Scattered(row.n, random);
        if (row.n == 9)
            points[3] = points[1];
        SetPoints(state, points);
        TReferenceGeneticParams reference;
        reference.Population = row.population;
        reference.CrossoverRate = row.crossover;
        reference.MutationRate = row.mutation;
        reference.Generations = row.generations;
        reference.SecureBad = row.secureBad;
        TReferenceBest expected;
        uint32_t stateAfter = 0;
        {
            TTickingClock clock(1000);
            expected = ReferenceGenetic(state.FDistances, row.n, reference);
            stateAfter = RandomState();
        }
        TGeneticParams params;
        params.Population = row.population;
        params.CrossoverRate = row.crossover;
        params.MutationRate = row.mutation;
        params.GenerationCount = row.generations;
        params.SecureBad = row.secureBad;
        TTickingClock clock(1000);
        TScriptedHost host(state);
        host.EveryStep = false;
        state.FSearching = true;
        const TSearchOutcome outcome = SearchGenetic(state, host, params, false);
        EXPECT_EQ(outcome.Steps, row.generations) << "n = " << row.n;
        EXPECT_EQ(state.FBestRoute, expected.Route) << "n = " << row.n;
        EXPECT_EQ(RandomState(), stateAfter) << "n = " << row.n;
    }
}

TEST(GeneticSearch, CountRuleRunsTheGivenGenerations)
{
    std::mt19937 random(3);
    TPointSetState state;
    SetPoints(state, Scattered(10, random));
    TTickingClock clock(5);
    TScriptedHost host(state);
    TGeneticParams params;
    params.GenerationCount = 100;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchGenetic(state, host, params, true);
    EXPECT_EQ(outcome.Steps, 100);
    EXPECT_TRUE(outcome.Evaluated);
    EXPECT_TRUE(IsPermutation(state.FBestRoute));
    EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Przeszukiwanie genetyczne...", ""}));
    // One pass of events per specimen of the first population, then one per
    // generation.
    EXPECT_EQ(host.EventPasses, 100 + 100);
}

// The count rule compares the bar with its maximum: a point added on the
// map sets both anew, and the search then runs that many more generations.
TEST(GeneticSearch, CountRuleFollowsTheBarWhenItIsReset)
{
    std::mt19937 random(4);
    TPointSetState state;
    SetPoints(state, Scattered(8, random));
    TTickingClock clock(5);
    TScriptedHost host(state);
    host.Arm();
    host.OnEvents = [&] {
        if (host.Bar.StepsTaken() == 5 && state.FPoints.size() == 8) {
            state.FPoints.push_back({1, 1, -1});
            host.Bar.SetMax(25);
            host.Bar.SetPosition(0);
        }
    };
    TGeneticParams params;
    params.GenerationCount = 100;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchGenetic(state, host, params, true);
    EXPECT_EQ(outcome.Steps, 5 + 25);
}

TEST(GeneticSearch, CountBelowOneRunsOneGenerationAndKeepsTheBarsMinimum)
{
    std::mt19937 random(8);
    for (int32_t count : {0, -40}) {
        TPointSetState state;
        SetPoints(state, Scattered(6, random));
        TTickingClock clock(5);
        TScriptedHost host(state);
        TGeneticParams params;
        params.GenerationCount = count;
        state.FSearching = true;
        EXPECT_EQ(SearchGenetic(state, host, params, true).Steps, 1) << count;
        EXPECT_EQ(host.Bar.Min(), 0) << count;
    }
}

TEST(GeneticSearch, SpreadRuleShowsCountAndSpreadAndEndsAtTheThreshold)
{
    TPointSetState state;
    SetPoints(state, {{3, 3, -1}, {3, 3, -1}, {3, 3, -1}, {3, 3, -1}, {3, 3, -1}});
    TTickingClock clock(5);
    TScriptedHost host(state);
    TGeneticParams params;
    params.StopByCount = false;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchGenetic(state, host, params, true);
    EXPECT_EQ(outcome.Steps, 1);
    EXPECT_EQ(host.Bar.Max(), 0);
    EXPECT_EQ(host.StatusTexts, std::vector<std::string>({"Przeszukiwanie genetyczne...", "(1) 0,00", ""}));
}

TEST(GeneticSearch, SpreadRuleCountsGenerationsInTheStatus)
{
    std::mt19937 random(5);
    TPointSetState state;
    SetPoints(state, Scattered(12, random));
    TTickingClock clock(5);
    TScriptedHost host(state);
    host.Format.DecimalSeparator = ".";
    host.Arm();
    host.StopAfterSteps = 3;
    TGeneticParams params;
    params.StopByCount = false;
    params.Treshold = 1;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchGenetic(state, host, params, true);
    ASSERT_EQ(outcome.Steps, 3);
    ASSERT_EQ(host.StatusTexts.size(), 5u);
    for (int g = 1; g <= 3; ++g) {
        const std::string& text = host.StatusTexts[g];
        const std::string prefix = "(" + std::to_string(g) + ") ";
        EXPECT_EQ(text.substr(0, prefix.size()), prefix);
        EXPECT_EQ(text[text.size() - 3], '.');
    }
}

TEST(GeneticSearch, StopLetsTheGenerationFinish)
{
    std::mt19937 random(6);
    TPointSetState state;
    SetPoints(state, Scattered(15, random));
    TReferenceGeneticParams reference;
    reference.Generations = 4;
    TReferenceBest expected;
    uint32_t stateAfter = 0;
    {
        TTickingClock clock(77);
        expected = ReferenceGenetic(state.FDistances, 15, reference);
        stateAfter = RandomState();
    }
    TTickingClock clock(77);
    TScriptedHost host(state);
    host.Arm();
    host.StopAfterSteps = 4;
    state.FSearching = true;
    const TSearchOutcome outcome = SearchGenetic(state, host, TGeneticParams{}, true);
    EXPECT_EQ(outcome.Steps, 4);
    EXPECT_EQ(state.FBestRoute, expected.Route);
    // The fourth generation bred its successor before the search returned.
    EXPECT_EQ(RandomState(), stateAfter);
}

TEST(GeneticSearch, PopulationBelowTheMinimumIsRaised)
{
    std::mt19937 random(7);
    for (int32_t population : {-5, 0, 1, 3}) {
        TPointSetState state;
        SetPoints(state, Scattered(6, random));
        TTickingClock clock(5);
        TScriptedHost host(state);
        TGeneticParams params;
        params.Population = population;
        params.GenerationCount = 1;
        state.FSearching = true;
        const TSearchOutcome outcome = SearchGenetic(state, host, params, true);
        EXPECT_EQ(outcome.Steps, 1);
        EXPECT_EQ(host.EventPasses, MinPopulation + 1) << "population " << population;
        EXPECT_TRUE(IsPermutation(state.FBestRoute));
    }
}

// Every kind on sets with duplicates, collinear points, clusters and ties,
// under crossover and mutation rates high and low and with the best kept:
// the fixed points stay in place, the lengths compared are the problem's
// (a round trip with its way back), and no route beats the shortest of
// its kind.
TEST(GeneticSearch, EveryKindKeepsItsFixedPointsAndNeverBeatsTheShortest)
{
    std::mt19937 random(30);
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n = 4; n <= 10; ++n) {
            TPointSetState state;
            SetPoints(state, MakeSet(set, n, random));
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                const TRouteProblem problem = ProblemOfState(state, kind);
                TGeneticParams params;
                params.Population = 10 + static_cast<int32_t>(random() % 11);
                params.CrossoverRate = random() % 2 == 0 ? 0.5 : 0.02;
                params.MutationRate = random() % 2 == 0 ? 0.05 : 0.5;
                params.GenerationCount = 20;
                params.SecureBad = random() % 2 == 0;
                std::vector<TScriptedHost::TOffered> offers;
                const TSearchOutcome outcome = SearchKind(problem, params, random() % 86400000, &offers);
                const std::string where =
                    "set " + std::to_string(set) + ", n = " + std::to_string(n) + ", " + RouteKindText(kind);
                ASSERT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << where;
                if (ReferenceFirstPoint(kind, n) >= 0) {
                    EXPECT_EQ(outcome.Route[0], ReferenceFirstPoint(kind, n)) << where;
                }
                EXPECT_GE(problem.Length(outcome.Route), ReferenceShortestOfKind(problem)) << where;
                EXPECT_EQ(outcome.Steps, 20) << where;
                ASSERT_FALSE(offers.empty()) << where;
                for (const auto& offer : offers)
                    ASSERT_EQ(offer.Length, problem.Length(offer.Route)) << where;
            }
        }
}

// Up to four free points a few hundred generations come by every route of
// the kind, the shortest among them; below four the stretch is only
// mutated.
TEST(GeneticSearch, SmallStretchesReachTheShortestOfTheirKind)
{
    std::mt19937 random(31);
    for (int set = 0; set < skKindCount; ++set)
        for (int32_t n : {4, 5, 6}) {
            TPointSetState state;
            SetPoints(state, MakeSet(set, n, random));
            for (const TRouteKind& kind : ReferenceKinds(n, random)) {
                if (kind.FreeOpen() || ReferenceFreePoints(kind, n) > 4)
                    continue;
                const TRouteProblem problem = ProblemOfState(state, kind);
                TGeneticParams params;
                params.Population = 20;
                params.GenerationCount = 300;
                const TSearchOutcome outcome = SearchKind(problem, params, random() % 86400000);
                EXPECT_EQ(problem.Length(outcome.Route), ReferenceShortestOfKind(problem))
                    << "set " << set << ", n = " << n << ", " << RouteKindText(kind);
            }
        }
}

// Legs of the Earth measured as the search needs them give the search
// that the same legs from a table give.
TEST(GeneticSearch, MeasuredLegsBreedAsTheTableDoes)
{
    std::mt19937 random(32);
    const TMeasure measure(TMetric::Sphere, EarthPlaces(30, random));
    TGeneticParams params;
    params.Population = 30;
    params.GenerationCount = 60;
    params.SecureBad = true;
    for (const TRouteKind& kind : ReferenceKinds(30, random)) {
        const TRouteProblem table = MakeRouteProblem(measure, kind, true);
        const TRouteProblem measured = MakeRouteProblem(measure, kind, false);
        ASSERT_FALSE(measured.HasTable());
        const uint32_t clock = random() % 86400000;
        const TSearchOutcome fromTable = SearchKind(table, params, clock);
        const TSearchOutcome fromLegs = SearchKind(measured, params, clock);
        EXPECT_EQ(fromLegs.Route, fromTable.Route) << RouteKindText(kind);
        EXPECT_TRUE(RouteFitsKind(fromLegs.Route, kind, 30)) << RouteKindText(kind);
    }
}

// Beyond the table's size every leg is measured, for every kind.
TEST(GeneticSearch, SetsBeyondTheTableBreedEveryKind)
{
    std::mt19937 random(33);
    const int32_t n = MaxLegTablePoints + 76;
    const TMeasure measure(TMetric::Sphere, EarthPlaces(n, random));
    TGeneticParams params;
    params.Population = 10;
    params.GenerationCount = 3;
    params.SecureBad = true;
    for (const TRouteKind& kind : ReferenceKinds(n, random)) {
        const TRouteProblem problem = MakeRouteProblem(measure, kind);
        ASSERT_FALSE(problem.HasTable());
        std::vector<TScriptedHost::TOffered> offers;
        const TSearchOutcome outcome = SearchKind(problem, params, random() % 86400000, &offers);
        EXPECT_EQ(outcome.Steps, 3);
        EXPECT_TRUE(RouteFitsKind(outcome.Route, kind, n)) << RouteKindText(kind);
        ASSERT_FALSE(offers.empty());
        EXPECT_EQ(offers.back().Length, problem.Length(offers.back().Route)) << RouteKindText(kind);
    }
}
