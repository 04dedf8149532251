// The lower bound on clustered sets against a long ascent over all pairs,
// run to its end: how far below the full Held–Karp bound the program's
// bound stops, and how long it takes. Prints figures and their ratio to the
// targets.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "clustered_points.h"
#include "core/point_set.h"
#include "core/progress.h"
#include "search/bound/lower_bound.h"
#include "search/exact/edge_rules.h"
#include "search/exact/fixed_legs.h"
#include "search/exact/ruled_tree.h"
#include "search/local/local_search.h"
#include "support/quiet_host.h"

namespace {

using TClock = std::chrono::steady_clock;

// The full ascent: 1-trees over all pairs in exact units, steps aimed at a
// good route's length, halved whenever a tenth of the points' count of
// steps brings nothing better, until they vanish.
double FullAscent(const TPointArray& points, double routeLength)
{
    const int32_t n = static_cast<int32_t>(points.size());
    const TFixedLegs legs(points);
    const TEdgeRules rules(n + 1, std::vector<uint8_t>(static_cast<size_t>(n + 1) * (n + 1), 0));
    TRuledTree tree(legs);
    std::vector<int64_t> penalties(n + 1, 0);
    int64_t best = INT64_MIN;
    const double target = std::ldexp(routeLength, legs.Scale());
    double step = 2.0;
    int32_t since = 0;
    for (int32_t iteration = 0; iteration < 100000 && step > 1e-6; ++iteration) {
        tree.Build(rules, penalties);
        if (tree.Value() > best) {
            best = tree.Value();
            since = 0;
        } else if (++since > std::max(50, n / 2)) {
            step /= 2;
            since = 0;
        }
        int64_t norm = 0;
        for (int32_t v = 0; v < n; ++v)
            norm += (tree.Degree(v) - 2) * (tree.Degree(v) - 2);
        if (norm == 0)
            break;
        const double size = step * std::max(target - static_cast<double>(tree.Value()), 1.0) / norm;
        for (int32_t v = 0; v < n; ++v)
            penalties[v] += std::llround(size * (tree.Degree(v) - 2));
    }
    return static_cast<double>(legs.Length(best));
}

void Report(const char* name, double figure, double target, const char* unit, const std::string& detail)
{
    std::printf("%-44s %9.3f %-3s target %8.3f %-3s ratio %5.3f   %s\n", name, figure, unit, target, unit,
                figure / target, detail.c_str());
}

void BenchClustered(int32_t n, uint32_t seed)
{
    const TPointArray points = ClusteredPoints(n, seed, 10000, 60.0);
    TLocalParams params;
    const TSpecimen route = KickedRoute(points, -1, 20 * static_cast<int64_t>(n), 1u);
    const double length = RouteLengthOfPoints(points, route);
    const TClock::time_point fullStart = TClock::now();
    const double full = FullAscent(points, length);
    const double fullSeconds = std::chrono::duration<double>(TClock::now() - fullStart).count();
    TQuietHost host;
    const TClock::time_point start = TClock::now();
    const TLowerBound bound = ComputeLowerBound(points, host);
    const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
    char name[80];
    std::snprintf(name, sizeof name, "bound below the full ascent, %d clustered", n);
    char detail[300];
    std::snprintf(detail, sizeof detail,
                  "set %u: bound %.2f in %.2f s (%d steps), full ascent %.2f in %.1f s, route %.2f (%.2f %% above "
                  "the full ascent)",
                  seed, bound.Value, seconds, bound.Iterations, full, fullSeconds, length, (length / full - 1) * 100);
    Report(name, (1 - bound.Value / full) * 100, 0.5, "%", detail);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    for (uint32_t seed : {1u, 2u})
        BenchClustered(200, seed);
    if (!quick)
        BenchClustered(1300, 1u);
    return 0;
}
