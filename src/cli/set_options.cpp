#include "cli/set_options.h"

#include <climits>

#include "cli/exit_status.h"
#include "cli/option_values.h"

std::vector<TOptionRule> SetOptionRules()
{
    return {{"--metric", true}, {"--round-trip", false}, {"--end", true}};
}

void ApplyMetricOption(const TParsedArgs& parsed, TSetPlaces& places)
{
    const std::string word = parsed.ValueOr("--metric", "file");
    if (word != "file" && word != "plane")
        throw TUsageError("--metric: nieznana miara „" + word + "” (file albo plane)");
    places.PlaneChosen = word == "plane";
}

TRouteKind ReadRouteKind(const TParsedArgs& parsed)
{
    TRouteKind kind;
    kind.RoundTrip = parsed.Has("--round-trip");
    if (parsed.Has("--start"))
        kind.Start =
            static_cast<int32_t>(ParseIntOption("--start", parsed.ValueOr("--start", ""), INT32_MIN, INT32_MAX));
    if (parsed.Has("--end"))
        kind.End = static_cast<int32_t>(ParseIntOption("--end", parsed.ValueOr("--end", ""), INT32_MIN, INT32_MAX));
    return kind;
}

void CheckRouteKindOptions(const TParsedArgs& parsed, size_t count)
{
    const TRouteKind kind = ReadRouteKind(parsed);
    if (parsed.Has("--start"))
        CheckIndices("--start", {kind.Start}, count);
    if (parsed.Has("--end"))
        CheckIndices("--end", {kind.End}, count);
    const std::string refusal = RouteKindRefusal(kind, static_cast<int32_t>(count));
    if (!refusal.empty())
        throw TUsageError((kind.RoundTrip && kind.End >= 0 ? "--end: " : "--start, --end: ") + refusal);
}

void AddSetFields(TJsonObject& object, const TSetPlaces& places, const TRouteKind& kind)
{
    if (places.ActiveMetric() != TMetric::Plane)
        object.Add("metric", MetricKey(places.ActiveMetric()));
    if (kind.FreeOpen())
        return;
    object.AddFlag("round_trip", kind.RoundTrip);
    object.AddJson("start", kind.Start >= 0 ? std::to_string(kind.Start) : "null");
    object.AddJson("end", kind.End >= 0 ? std::to_string(kind.End) : "null");
}

std::vector<std::string> SetLines(const TSetPlaces& places, const TRouteKind& kind)
{
    std::vector<std::string> lines;
    if (places.ActiveMetric() != TMetric::Plane)
        lines.push_back("Miara: " + MetricText(places.ActiveMetric()));
    if (!kind.FreeOpen())
        lines.push_back("Rodzaj drogi: " + RouteKindText(kind));
    return lines;
}
