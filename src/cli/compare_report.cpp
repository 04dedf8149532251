#include "cli/compare_report.h"

#include <algorithm>
#include <limits>

#include "cli/json_text.h"
#include "cli/set_options.h"
#include "cli/solve_options.h"
#include "search/bound/bound_texts.h"

namespace {

// Characters as a terminal shows them: UTF-8 continuation bytes take no
// column of their own.
size_t Columns(const std::string& text)
{
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(const std::string& text, size_t width, bool right)
{
    const std::string fill(width > Columns(text) ? width - Columns(text) : 0, ' ');
    return right ? fill + text : text + fill;
}

std::optional<double> Ratio(double length, double best)
{
    if (best > 0.0)
        return length / best;
    return length == 0.0 ? std::optional<double>(1.0) : std::nullopt;
}

const double NoValue = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TLowerBound BestKnownBound(const std::optional<TLowerBound>& computed, const std::vector<TComparedMethod>& rows)
{
    TLowerBound best = computed ? *computed : TLowerBound();
    const auto raise = [&best](const TLowerBound& bound) {
        if (bound.Certified && (!best.Certified || bound.Value > best.Value))
            best = bound;
    };
    for (const TComparedMethod& row : rows) {
        if (!row.Skipped.empty() || !row.Result.Outcome.Evaluated)
            continue;
        // A route proved shortest bounds every route by its own length.
        if (row.Result.Outcome.Proved)
            raise({row.Result.Length, true, true, 0});
        raise(row.Result.Outcome.Bound);
    }
    return best;
}

TBoundSource KnownBoundSource(const TLowerBound& bound, const std::optional<TLowerBound>& computed,
                              const std::vector<TComparedMethod>& rows)
{
    for (const TComparedMethod& row : rows)
        if (row.Skipped.empty() && row.Result.Outcome.Evaluated && row.Result.Outcome.Proved && bound.Certified &&
            row.Result.Length == bound.Value)
            return TBoundSource::ProvedRoute;
    const bool aboveComputed = !computed || !computed->Certified || bound.Value > computed->Value;
    return bound.Certified && aboveComputed ? TBoundSource::StoppedProof : TBoundSource::Computed;
}

std::optional<double> BestLength(const std::vector<TComparedMethod>& rows)
{
    std::optional<double> best;
    for (const TComparedMethod& row : rows)
        if (row.Skipped.empty() && row.Result.Outcome.Evaluated && (!best || row.Result.Length < *best))
            best = row.Result.Length;
    return best;
}

std::vector<std::string> CompareTableLines(const std::vector<TComparedMethod>& rows, const TLowerBound& bound,
                                           TBoundSource source, const TNumberFormat& format)
{
    const std::optional<double> best = BestLength(rows);
    // Method, length, time, gap, ratio, note; a skipped method has its
    // name and the reason only.
    struct TLine {
        std::vector<std::string> Cells;
        std::string Skipped;
    };
    std::vector<TLine> table = {{{"Metoda", "Długość", "Czas [s]", "Luka", "Względem najlepszej"}, ""}};
    for (const TComparedMethod& row : rows) {
        const TRunResult& result = row.Result;
        if (!row.Skipped.empty()) {
            table.push_back({{MethodName(row.Method)}, "pominięto: " + row.Skipped});
            continue;
        }
        const bool found = result.Outcome.Evaluated;
        const std::string gap = found ? GapPercentText(result.Length, bound, format) : std::string();
        const std::optional<double> ratio = found && best ? Ratio(result.Length, *best) : std::nullopt;
        std::string note = result.Outcome.Proved ? "najkrótsza (udowodniona)" : "";
        if (row.Stopped)
            note = "przerwano";
        if (!result.Failure.empty())
            note = result.Failure;
        table.push_back({{MethodName(row.Method), found ? FormatNumber(result.Length, 2, format) : "-",
                          FormatNumber(static_cast<double>(result.ElapsedMs) / 1000.0, 3, format),
                          gap.empty() ? "-" : gap, ratio ? FormatNumber(*ratio, 3, format) : "-", note},
                         ""});
    }
    const size_t columns = 5;
    std::vector<size_t> widths(columns, 0);
    for (const TLine& line : table)
        for (size_t column = 0; column < columns && column < line.Cells.size(); ++column)
            widths[column] = std::max(widths[column], Columns(line.Cells[column]));
    std::vector<std::string> lines;
    for (const TLine& line : table) {
        // The method's name on the left, the numbers on the right of their
        // columns, the note or the reason for a skip after them.
        std::string text = Padded(line.Cells[0], widths[0], false);
        for (size_t column = 1; column < columns && column < line.Cells.size(); ++column)
            text += "  " + Padded(line.Cells[column], widths[column], true);
        const std::string& note =
            line.Skipped.empty() && line.Cells.size() > columns ? line.Cells[columns] : line.Skipped;
        if (!note.empty())
            text += "  " + note;
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        lines.push_back(text);
    }
    lines.push_back(KnownBoundLine(bound, source, format));
    return lines;
}

std::string CompareJson(const std::vector<TComparedMethod>& rows, const TLowerBound& bound, int32_t pointCount,
                        const TSetPlaces& places, const TRouteKind& kind)
{
    const std::optional<double> best = BestLength(rows);
    std::string methods = "[";
    for (const TComparedMethod& row : rows) {
        if (methods.size() > 1)
            methods += ", ";
        TJsonObject object;
        object.Add("method", std::string(MethodName(row.Method)));
        if (!row.Skipped.empty()) {
            methods += object.Add("skipped", row.Skipped).Text();
            continue;
        }
        const TRunResult& result = row.Result;
        const bool found = result.Outcome.Evaluated;
        const std::optional<double> gap = found ? GapFraction(result.Length, bound) : std::nullopt;
        const std::optional<double> ratio = found && best ? Ratio(result.Length, *best) : std::nullopt;
        object.Add("length", found ? result.Length : NoValue).Add("elapsed_ms", result.ElapsedMs);
        object.Add("steps", result.Outcome.Steps).AddFlag("stopped", row.Stopped);
        object.AddFlag("proved", result.Outcome.Proved);
        object.Add("gap", gap ? *gap : NoValue).Add("ratio", ratio ? *ratio : NoValue);
        if (!result.Failure.empty())
            object.Add("failure", result.Failure);
        methods += object.Text();
    }
    TJsonObject report;
    report.Add("points", pointCount).Add("bound", bound.Certified ? bound.Value : NoValue);
    report.AddJson("methods", methods + "]");
    AddSetFields(report, places, kind);
    return report.Text();
}
