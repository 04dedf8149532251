#include "cli/solve_options.h"

#include <array>
#include <vector>

#include "cli/exit_status.h"
#include "cli/option_values.h"
#include "cli/set_options.h"
#include "core/distances.h"
#include "core/memory_shortage.h"
#include "core/number_text.h"
#include "search/exhaustive/exhaustive_search.h"

namespace {

// By method index.
const std::array<const char*, 5> MethodNames = {"exhaustive", "random", "genetic", "exact", "local"};

// Which methods an option belongs to. Options of one method make no sense
// with another; a script that passes them has most likely picked the wrong
// method.
struct TOptionOwners {
    const char* Option;
    std::vector<TSearchMethod> Methods;
};

const std::array<TOptionOwners, 9> Owners = {{
    {"--tries", {smRandom, smLocal}},
    {"--time-limit", {smExact, smLocal}},
    {"--threads", {smExhaustive, smLocal}},
    {"--population", {smGenetic}},
    {"--crossover", {smGenetic}},
    {"--mutation", {smGenetic}},
    {"--generations", {smGenetic}},
    {"--threshold", {smGenetic}},
    {"--keep-best", {smGenetic}},
}};

void RefuseForeignOptions(const TParsedArgs& parsed, TSearchMethod method)
{
    for (const TOptionOwners& owners : Owners) {
        if (!parsed.Has(owners.Option))
            continue;
        std::string names;
        bool owned = false;
        size_t i = 0;
        for (const TSearchMethod owner : owners.Methods) {
            owned = owned || owner == method;
            if (i > 0)
                names += i + 1 == owners.Methods.size() ? " i " : ", ";
            names += MethodNames[owner];
            ++i;
        }
        if (!owned)
            throw TUsageError(std::string("opcja ") + owners.Option + " dotyczy tylko " +
                              (owners.Methods.size() == 1 ? "metody " : "metod ") + names);
    }
}

int32_t IntOption(const TParsedArgs& parsed, const std::string& name, int64_t min, int64_t max)
{
    return static_cast<int32_t>(ParseIntOption(name, parsed.ValueOr(name, ""), min, max));
}

void ReadGenetic(const TParsedArgs& parsed, TGeneticParams& genetic)
{
    // The ranges of the search tab's spin edits.
    if (parsed.Has("--population"))
        genetic.Population = IntOption(parsed, "--population", 10, 1000);
    if (parsed.Has("--crossover"))
        genetic.CrossoverRate = ParseDecimalOption("--crossover", parsed.ValueOr("--crossover", ""));
    if (parsed.Has("--mutation"))
        genetic.MutationRate = ParseDecimalOption("--mutation", parsed.ValueOr("--mutation", ""));
    if (parsed.Has("--generations") && parsed.Has("--threshold"))
        throw TUsageError("opcje --generations i --threshold wykluczają się");
    if (parsed.Has("--generations"))
        genetic.GenerationCount = IntOption(parsed, "--generations", 100, 32000);
    if (parsed.Has("--threshold")) {
        genetic.StopByCount = false;
        genetic.Treshold = IntOption(parsed, "--threshold", 1, 100);
    }
    genetic.SecureBad = parsed.Has("--keep-best");
}

void ReadLocal(const TParsedArgs& parsed, TLocalParams& local)
{
    if (parsed.Has("--tries") && parsed.Has("--time-limit"))
        throw TUsageError("opcje --tries i --time-limit wykluczają się");
    if (parsed.Has("--time-limit"))
        local.TimeLimitSeconds =
            ParseDecimalOption("--time-limit", parsed.ValueOr("--time-limit", ""), MinLocalSeconds, MaxLocalSeconds);
    // A number of tries makes the run repeatable: a time limit depends on
    // how fast the machine is.
    if (parsed.Has("--tries")) {
        local.StopByTime = false;
        local.Tries = IntOption(parsed, "--tries", MinLocalTries, MaxLocalTries);
    }
    if (parsed.Has("--threads"))
        local.Threads = IntOption(parsed, "--threads", 1, MaxLocalThreads);
}

}  // namespace

const char* MethodName(TSearchMethod method)
{
    return MethodNames[static_cast<size_t>(method)];
}

TSearchMethod ParseMethod(const std::string& text)
{
    for (size_t i = 0; i < MethodNames.size(); ++i)
        if (text == MethodNames[i])
            return static_cast<TSearchMethod>(i);
    throw TUsageError("--method: nieznana metoda „" + text + "” (exhaustive, random, genetic, exact albo local)");
}

std::vector<TOptionRule> SolveOptionRules()
{
    std::vector<TOptionRule> rules = {{"--method", true},    {"--tries", true},      {"--time-limit", true},
                                      {"--start", true},     {"--threads", true},    {"--population", true},
                                      {"--crossover", true}, {"--mutation", true},   {"--generations", true},
                                      {"--threshold", true}, {"--keep-best", false}, {"--seed", true},
                                      {"--bound", false},    {"--json", false},      {"-o", true},
                                      {"--format", true},    {"--trace", true}};
    for (const TOptionRule& rule : SetOptionRules())
        rules.push_back(rule);
    return rules;
}

TSearchSettings ReadSettings(const TParsedArgs& parsed, TSearchMethod method)
{
    RefuseForeignOptions(parsed, method);
    TSearchSettings settings;
    switch (method) {
    case smExhaustive:
        if (parsed.Has("--threads"))
            settings.ExhaustiveThreads = IntOption(parsed, "--threads", 1, MaxExhaustiveThreads);
        break;
    case smRandom:
        if (parsed.Has("--tries"))
            settings.RandomCount = IntOption(parsed, "--tries", 1, 32000);
        break;
    case smGenetic:
        ReadGenetic(parsed, settings.Genetic);
        break;
    case smExact:
        // Without a limit the proof runs to its end.
        if (parsed.Has("--time-limit"))
            settings.Exact.TimeLimitSeconds = ParseDecimalOption("--time-limit", parsed.ValueOr("--time-limit", ""),
                                                                 MinLocalSeconds, MaxLocalSeconds);
        break;
    case smLocal:
        ReadLocal(parsed, settings.Local);
        break;
    }
    settings.Kind = ReadRouteKind(parsed);
    return settings;
}

std::string MatrixShortage(int32_t pointCount)
{
    // Larger sets get no table: their legs are measured as they are needed.
    if (pointCount > MaxLegTablePoints)
        return {};
    const std::string side = FormatNumber(pointCount, 0, TNumberFormat{});
    return MemoryShortage("tablica odległości " + side + " × " + side, DistanceMatrixBytes(pointCount));
}
