#include "ui/run_texts.h"

#include <array>
#include <charconv>

#include "search/bound/bound_texts.h"
#include "ui/run_history.h"

namespace {

// A rate as typed: the shortest text that reads back as the same number.
std::string RateText(double rate, const TNumberFormat& format)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, rate);
    std::string written(text, result.ptr);
    const size_t point = written.find('.');
    if (point != std::string::npos)
        written.replace(point, 1, format.DecimalSeparator);
    return written;
}

std::string Whole(int64_t value, const TNumberFormat& format)
{
    return FormatNumber(static_cast<double>(value), 0, format);
}

std::string StartText(int32_t startPoint, int32_t pointCount)
{
    // The search takes a point outside the set as no start.
    if (startPoint < 0 || startPoint >= pointCount)
        return "start: dowolny";
    return "start: punkt " + std::to_string(startPoint);
}

std::string SecondsText(double seconds, const TNumberFormat& format)
{
    return "limit czasu: " + RateText(seconds, format) + " s";
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::string RunMethodName(TSearchMethod method)
{
    static const std::array<const char*, 5> names = {"Wyczerpujące", "Losowe", "Genetyczny", "Dokładna", "Lokalna"};
    const auto index = static_cast<size_t>(method);
    return index < names.size() ? names[index] : "?";
}

std::string RunParametersText(const TRunRecord& record, const TNumberFormat& format)
{
    const TSearchSettings& settings = record.Settings;
    switch (record.Method) {
    case smExhaustive:
        return "wątki: " + std::to_string(record.Threads);
    case smRandom:
        return "próby: " + Whole(settings.RandomCount, format);
    case smGenetic: {
        const TGeneticParams& genetic = settings.Genetic;
        std::string text = "populacja: " + Whole(genetic.Population, format) +
                           ", krosowanie: " + RateText(genetic.CrossoverRate, format) +
                           ", mutacja: " + RateText(genetic.MutationRate, format);
        text += genetic.StopByCount ? ", pokolenia: " + Whole(genetic.GenerationCount, format)
                                    : ", próg: " + std::to_string(genetic.Treshold) + "%";
        if (genetic.SecureBad)
            text += ", chroń najsłabszego osobnika";
        return text;
    }
    case smExact: {
        std::string text = StartText(settings.Kind.Start, record.PointCount);
        if (settings.Exact.TimeLimitSeconds > 0.0)
            text = SecondsText(settings.Exact.TimeLimitSeconds, format) + ", " + text;
        return text;
    }
    case smLocal: {
        const TLocalParams& local = settings.Local;
        const std::string stop =
            local.StopByTime ? SecondsText(local.TimeLimitSeconds, format) : "próby: " + Whole(local.Tries, format);
        return stop + ", " + StartText(settings.Kind.Start, record.PointCount) +
               ", wątki: " + std::to_string(record.Threads);
    }
    }
    return {};
}

std::string RunTimeText(int64_t elapsedMs, const TNumberFormat& format)
{
    return FormatNumber(static_cast<double>(elapsedMs) / 1000.0, 3, format) + " s";
}

std::string MetricShortName(TMetric metric)
{
    switch (metric) {
    case TMetric::Plane:
        return "płaszczyzna";
    case TMetric::Sphere:
        return "kula (km)";
    default:
        return TsplibMetricWord(metric);
    }
}

std::string RunNotComparableText(const TRunHistory& history, const TRunRecord& record)
{
    const TRunGroup group = GroupOf(record);
    const TRunGroup current = history.CurrentGroup();
    if (group.SetId != current.SetId)
        return "Przebieg na innym zbiorze punktów: jego drogi nie można użyć.";
    if (!(group.Kind == current.Kind))
        return "Przebieg innego rodzaju drogi (" + RouteKindText(record.Settings.Kind) +
               "): jego długości nie porównuje się z bieżącymi.";
    if (group.Metric != current.Metric)
        return "Przebieg w innej mierze odległości (" + MetricText(record.Metric) +
               "): jego długości nie porównuje się z bieżącymi.";
    return {};
}

std::string RunsCsv(const TRunHistory& history)
{
    const TNumberFormat cFormat{".", ""};
    std::string text = "Nr,Metoda,Parametry,Punkty,Długość,Czas [ms],Kroki,Przerwano,Luka [%],Zbiór,Rodzaj,Miara\r\n";
    for (const TRunRecord& run : history.Runs()) {
        std::string length;
        if (run.Evaluated) {
            char digits[64];
            length.assign(digits, std::to_chars(digits, digits + sizeof digits, run.Length).ptr);
        }
        const std::optional<double> gap =
            run.Evaluated ? GapPercent(run.Length, history.BestBound(GroupOf(run))) : std::nullopt;
        const std::string fields[] = {std::to_string(run.Number),
                                      RunMethodName(run.Method),
                                      RunParametersText(run, cFormat),
                                      std::to_string(run.PointCount),
                                      length,
                                      std::to_string(run.ElapsedMs),
                                      std::to_string(run.Steps),
                                      run.Stopped ? "tak" : "nie",
                                      gap ? FormatNumber(*gap, 1, cFormat) : std::string(),
                                      history.OnCurrentSet(run) ? "bieżący" : "inny",
                                      RouteKindText(run.Settings.Kind),
                                      MetricShortName(run.Metric)};
        for (size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0)
                text += ',';
            text += CsvField(fields[i]);
        }
        text += "\r\n";
    }
    return text;
}
