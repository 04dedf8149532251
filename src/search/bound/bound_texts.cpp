#include "search/bound/bound_texts.h"

#include <algorithm>
#include <cmath>

std::string BoundLine(const TLowerBound& bound, const TNumberFormat& format)
{
    return BoundLine(bound, format, TLengthWords());
}

std::string BoundLine(const TLowerBound& bound, const TNumberFormat& format, const TLengthWords& words)
{
    const std::string caption = "Dolne ograniczenie długości " + RouteGenitive(words) + ": ";
    if (!bound.Certified)
        return caption + "nieznane (przerwano przed pierwszym pewnym oszacowaniem)";
    std::string line = caption + LengthText(bound.Value, words, format);
    // Still a true bound, only a weaker one than the whole ascent gives.
    if (!bound.Completed)
        line += " (szacowanie przerwane)";
    return line;
}

std::optional<double> GapFraction(double length, const TLowerBound& bound)
{
    if (length == 0.0)
        return 0.0;
    if (!bound.Certified || bound.Value <= 0.0)
        return std::nullopt;
    return (length - bound.Value) / bound.Value;
}

std::optional<double> GapPercent(double length, const TLowerBound& bound)
{
    const std::optional<double> gap = GapFraction(length, bound);
    if (!gap)
        return std::nullopt;
    // A hair below a tenth, so that a gap of exactly 3.2 % computed as
    // 3.2000000001 % is not shown as 3.3 %.
    const double tenths = std::max(0.0, std::ceil(*gap * 1000.0 - 1e-6));
    return tenths / 10.0;
}

std::string GapPercentText(double length, const TLowerBound& bound, const TNumberFormat& format)
{
    const std::optional<double> percent = GapPercent(length, bound);
    return percent ? FormatNumber(*percent, 1, format) + "%" : std::string();
}

std::string GapLine(double length, const TLowerBound& bound, const TNumberFormat& format)
{
    return GapLine(length, bound, format, TLengthWords());
}

std::string GapLine(double length, const TLowerBound& bound, const TNumberFormat& format, const TLengthWords& words)
{
    const std::string percent = GapPercentText(length, bound, format);
    if (percent.empty())
        return {};
    return "Długość " + RouteGenitive(words) + ": " + LengthText(length, words, format) + ", najwyżej " + percent +
           " więcej niż najkrótsza";
}
