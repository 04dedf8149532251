#include "core/typed_point.h"

#include "core/lenient_int.h"
#include "core/point_text.h"

namespace {

// The lenient rule falls back for a part that is no number; two different
// fallbacks give the same value only for a readable part.
std::optional<int32_t> WholeNumber(std::string_view part)
{
    const int32_t value = LenientInt(part, 0);
    if (part.empty() || value != LenientInt(part, 1))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<TMapPoint> ParseTypedPoint(std::string_view text)
{
    const size_t semicolon = text.find(';');
    if (semicolon == std::string_view::npos || text.find(';', semicolon + 1) != std::string_view::npos)
        return std::nullopt;
    const std::optional<int32_t> x = WholeNumber(TrimBlanks(text.substr(0, semicolon)));
    const std::optional<int32_t> y = WholeNumber(TrimBlanks(text.substr(semicolon + 1)));
    if (!x || !y)
        return std::nullopt;
    TMapPoint point;
    point.X = *x;
    point.Y = *y;
    return point;
}
