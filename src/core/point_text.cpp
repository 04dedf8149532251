#include "core/point_text.h"

#include <algorithm>

#include "core/printable_text.h"

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Beyond this an exponent only says "very large" or "very small"; capping it
// keeps the arithmetic below in range.
constexpr int64_t ExponentCap = 1000000;

constexpr uint64_t NegativeLimit = 2147483648ull;
constexpr uint64_t PositiveLimit = 2147483647ull;

// The mantissa's digits with the point taken out, read by position.
struct TDigits {
    std::string_view Whole;
    std::string_view Fraction;
    int64_t Size() const { return static_cast<int64_t>(Whole.size() + Fraction.size()); }
    char At(int64_t i) const
    {
        const size_t index = static_cast<size_t>(i);
        return index < Whole.size() ? Whole[index] : Fraction[index - Whole.size()];
    }
};

std::string_view TakeDigits(std::string_view text, size_t& pos)
{
    const size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

}  // namespace

TCoordinateRead ReadCoordinate(std::string_view text, int32_t& value)
{
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    TDigits digits;
    digits.Whole = TakeDigits(text, pos);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        digits.Fraction = TakeDigits(text, pos);
    }
    if (digits.Size() == 0)
        return TCoordinateRead::Malformed;

    int64_t exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool exponentNegative = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            exponentNegative = text[pos] == '-';
            ++pos;
        }
        const std::string_view exponentDigits = TakeDigits(text, pos);
        if (exponentDigits.empty())
            return TCoordinateRead::Malformed;
        for (char c : exponentDigits)
            exponent = std::min(exponent * 10 + (c - '0'), ExponentCap);
        if (exponentNegative)
            exponent = -exponent;
    }
    if (pos != text.size())
        return TCoordinateRead::Malformed;

    // The value is 0.d1d2d3... times 10^pointAt: digits before pointAt make
    // the whole part, the rest the fraction.
    const int64_t pointAt = static_cast<int64_t>(digits.Whole.size()) + exponent;
    uint64_t magnitude = 0;
    for (int64_t i = 0; i < std::min(pointAt, digits.Size()); ++i) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(digits.At(i) - '0');
        if (magnitude > NegativeLimit)
            return TCoordinateRead::OutOfRange;
    }
    for (int64_t i = digits.Size(); i < pointAt && magnitude != 0; ++i) {
        magnitude *= 10;
        if (magnitude > NegativeLimit)
            return TCoordinateRead::OutOfRange;
    }
    bool rounded = false;
    for (int64_t i = std::clamp<int64_t>(pointAt, 0, digits.Size()); i < digits.Size(); ++i)
        rounded = rounded || digits.At(i) != '0';
    if (pointAt >= 0 && pointAt < digits.Size() && digits.At(pointAt) >= '5')
        ++magnitude;
    if (magnitude > (negative ? NegativeLimit : PositiveLimit))
        return TCoordinateRead::OutOfRange;
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    return rounded ? TCoordinateRead::Rounded : TCoordinateRead::Whole;
}

std::string_view TakeLine(std::string_view& rest)
{
    const size_t end = rest.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        const std::string_view line = rest;
        rest = {};
        return line;
    }
    const std::string_view line = rest.substr(0, end);
    size_t next = end + 1;
    if (rest[end] == '\r' && next < rest.size() && rest[next] == '\n')
        ++next;
    rest.remove_prefix(next);
    return line;
}

std::string_view SkipByteOrderMark(std::string_view text)
{
    constexpr std::string_view Mark = "\xEF\xBB\xBF";
    if (text.substr(0, Mark.size()) == Mark)
        text.remove_prefix(Mark.size());
    return text;
}

std::string_view TrimBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string QuotedExcerpt(std::string_view text)
{
    constexpr size_t LongestBytes = 40;
    if (text.size() <= LongestBytes)
        return QuotedName(text);
    size_t cut = LongestBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return "„" + PrintableText(text.substr(0, cut)) + "…”";
}

std::string LineMessage(int64_t lineNumber, const std::string& message)
{
    return "wiersz " + std::to_string(lineNumber) + ": " + message;
}

std::string TooManyPointsText(std::string_view count, int32_t limit)
{
    return "Zbyt wiele punktów w pliku: " + std::string(count) + " (najwyżej " + std::to_string(limit) + ")";
}

std::string TooManyPointsText(size_t count, int32_t limit)
{
    return TooManyPointsText(std::to_string(count), limit);
}

const char* PolishPlural(int64_t count, const char* one, const char* few, const char* many)
{
    const int64_t n = count < 0 ? -count : count;
    if (n == 1)
        return one;
    const int64_t lastDigit = n % 10;
    const int64_t lastTwo = n % 100;
    if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14))
        return few;
    return many;
}

std::string RoundedCoordinatesText(int32_t count)
{
    return std::to_string(count) + " " +
           PolishPlural(count, "współrzędną zaokrąglono do liczby całkowitej",
                        "współrzędne zaokrąglono do liczb całkowitych",
                        "współrzędnych zaokrąglono do liczb całkowitych");
}
