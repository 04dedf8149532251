#include "core/length_words.h"

TLengthWords LengthWordsOf(const TRouteKind& kind, TMetric metric)
{
    return {kind.RoundTrip, MetricOnEarth(metric)};
}

std::string RouteGenitive(const TLengthWords& words)
{
    return words.RoundTrip ? "drogi zamkniętej" : "drogi";
}

std::string LengthText(double length, const TLengthWords& words, const TNumberFormat& format)
{
    std::string text = FormatNumber(length, 2, format);
    if (words.Kilometres)
        text += " km";
    return text;
}
