// Times the exact method's branch and cut on the targets of proofs past a
// hundred points, beside the branch and bound on 1-trees where that can
// run them, and prints each figure with its ratio to the target.
//   bench_exact_cuts [quick]   quick: without pcb442
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/random_source.h"
#include "core/route_problem.h"
#include "search/cut/cut_search.h"
#include "search/exact/branch_and_bound.h"
#include "search/exact/exact_search.h"
#include "search/local/local_search.h"
#include "search/neighbours/plain_distance.h"
#include "support/quiet_host.h"
#include "support/tsplib_places.h"

namespace {

using TClock = std::chrono::steady_clock;

struct TRun {
    double Seconds = 0;
    double Length = 0;
    double Bound = 0;
    bool Proved = false;
    // The branch and cut's subproblems (its steps); 0 for the 1-trees.
    int64_t Subproblems = 0;
};

TRun SolveByCuts(const TRouteProblem& problem, double limitSeconds)
{
    TQuietHost host;
    TExactParams params;
    params.TimeLimitSeconds = limitSeconds;
    const TClock::time_point start = TClock::now();
    const TSearchOutcome outcome = SearchExact(problem, host, params);
    TRun run;
    run.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
    run.Length = problem.Length(outcome.Route);
    run.Bound = outcome.Bound.Value;
    run.Proved = outcome.Proved;
    run.Subproblems = outcome.Steps;
    return run;
}

// The branch and bound on 1-trees as the exact method ran it before: from
// the local search's route, open routes on whole-number points only.
TRun SolveByOneTrees(const TRouteProblem& problem)
{
    const TPointArray points = MapPointsOf(problem.Measure);
    const TClock::time_point start = TClock::now();
    TBranchAndBound search(points, -1, KickedRoute(points, -1, 100 * static_cast<int64_t>(points.size()), 20250101u));
    TRun run;
    run.Proved = search.Run([](int64_t) { return true; }, {});
    run.Seconds = std::chrono::duration<double>(TClock::now() - start).count();
    run.Length = problem.Length(search.Best());
    run.Bound = search.LowerBound();
    return run;
}

std::string RunText(const TRun& run)
{
    char text[200];
    std::snprintf(text, sizeof text, "%s, length %.2f, bound %.2f (gap %.3f %%), %lld subproblems",
                  run.Proved ? "proved" : "NOT proved", run.Length, run.Bound,
                  run.Length > 0 ? (run.Length - run.Bound) / run.Length * 100 : 0.0,
                  static_cast<long long>(run.Subproblems));
    return text;
}

void Report(const std::string& name, const TRun& run, double target, const std::string& before)
{
    std::printf("%-44s %9.2f s  target %6.1f s  ratio %6.3f   %s; before: %s\n", name.c_str(), run.Seconds, target,
                run.Seconds / target, RunText(run).c_str(), before.c_str());
    std::fflush(stdout);
}

TRouteProblem Tsplib(const char* file, TMetric metric, bool roundTrip)
{
    return MakeRouteProblem(TMeasure(metric, TsplibPlaces(file)), {roundTrip, -1, -1});
}

// The random sets of the exact method's other benchmark.
TRouteProblem RandomProblem(int32_t n, int set)
{
    SetRandomState(3000u + static_cast<uint32_t>(n * 10 + set));
    TPlaceArray places;
    for (int32_t i = 0; i < n; ++i) {
        const double x = RandomBelow(1000);
        places.push_back({x, static_cast<double>(RandomBelow(1000))});
    }
    return MakeRouteProblem(TMeasure(TMetric::Plane, places), {});
}

std::string BeforeText(const TRun& run)
{
    char text[120];
    std::snprintf(text, sizeof text, "1-tree branch and bound %.2f s (%s)", run.Seconds,
                  run.Proved ? "proved" : "NOT proved");
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    const std::string refusedOpen = "refused (more than 100 points)";
    const std::string refusedKind = "refused (more than 100 points; no round trips)";

    const TRouteProblem kro = Tsplib("kroA100.tsp", TMetric::Plane, false);
    Report("exact, kroA100 open (plane)", SolveByCuts(kro, 0), 1.0, BeforeText(SolveByOneTrees(kro)));
    for (const char* file : {"ch130.tsp", "d198.tsp"}) {
        for (const TMetric metric : {TMetric::Euc2d, TMetric::Plane}) {
            for (const bool roundTrip : {false, true}) {
                char name[80];
                std::snprintf(name, sizeof name, "exact, %s %s (%s)", file, roundTrip ? "round trip" : "open",
                              MetricKey(metric).c_str());
                Report(name, SolveByCuts(Tsplib(file, metric, roundTrip), 600), 60.0,
                       roundTrip ? refusedKind : refusedOpen);
            }
        }
    }

    std::vector<double> cutTimes;
    std::vector<double> oldTimes;
    int64_t mostSubproblems = 0;
    int proved = 0;
    for (int set = 0; set < 10; ++set) {
        const TRouteProblem problem = RandomProblem(100, set);
        const TRun run = SolveByCuts(problem, 0);
        cutTimes.push_back(run.Seconds);
        mostSubproblems = std::max(mostSubproblems, run.Subproblems);
        proved += run.Proved ? 1 : 0;
        oldTimes.push_back(SolveByOneTrees(problem).Seconds);
    }
    TRun worst;
    worst.Seconds = *std::max_element(cutTimes.begin(), cutTimes.end());
    worst.Proved = proved == 10;
    std::string times;
    for (const double t : cutTimes) {
        char text[16];
        std::snprintf(text, sizeof text, " %.2f", t);
        times += text;
    }
    std::printf(
        "%-44s %9.2f s  target %6.1f s  ratio %6.3f   %d of 10 proved; times%s; at most %lld subproblems; before: "
        "1-tree branch and bound worst %.2f s\n",
        "exact, 100 random points, worst of 10", worst.Seconds, 2.0, worst.Seconds / 2.0, proved, times.c_str(),
        static_cast<long long>(mostSubproblems), *std::max_element(oldTimes.begin(), oldTimes.end()));

    if (!quick)
        Report("exact, pcb442 round trip (euc_2d)", SolveByCuts(Tsplib("pcb442.tsp", TMetric::Euc2d, true), 600), 600.0,
               refusedKind);
    return 0;
}
