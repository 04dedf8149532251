#include "core/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether the text has the shape of a decimal number, and whether its
// digits before the exponent are all zero (then so is the value, however
// large the exponent).
bool DecimalShape(std::string_view text, bool& zero)
{
    size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    size_t digits = 0;
    zero = true;
    const auto takeDigits = [&] {
        while (pos < text.size() && IsDigit(text[pos])) {
            zero = zero && text[pos] == '0';
            ++digits;
            ++pos;
        }
    };
    takeDigits();
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        takeDigits();
    }
    if (digits == 0)
        return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            ++pos;
        const size_t exponentStart = pos;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
        if (pos == exponentStart)
            return false;
    }
    return pos == text.size();
}

// The power of ten just above the value of a text of DecimalShape whose
// digits are not all zero: 1 for "0.5e1", 0 for "0.5", -1 for "0.05".
int64_t DecimalOrder(std::string_view text)
{
    // Beyond this an exponent only says "very large" or "very small".
    constexpr int64_t ExponentCap = 1000000;
    size_t pos = text[0] == '-' || text[0] == '+' ? 1 : 0;
    int64_t order = 0;
    bool significant = false;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        significant = significant || text[pos] != '0';
        if (significant)
            ++order;
    }
    if (pos < text.size() && text[pos] == '.')
        for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) {
            if (!significant && text[pos] == '0')
                --order;
            significant = significant || text[pos] != '0';
        }
    int64_t exponent = 0;
    if (pos < text.size()) {
        ++pos;
        const bool negative = text[pos] == '-';
        if (text[pos] == '-' || text[pos] == '+')
            ++pos;
        for (; pos < text.size(); ++pos)
            exponent = std::min(exponent * 10 + (text[pos] - '0'), ExponentCap);
        if (negative)
            exponent = -exponent;
    }
    return order + exponent;
}

}  // namespace

bool ReadDecimal(std::string_view text, double& value)
{
    bool zero = true;
    if (!DecimalShape(text, zero))
        return false;
    const bool negative = !text.empty() && text[0] == '-';
    if (zero) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    // from_chars takes a minus but no plus.
    if (text[0] == '+')
        text.remove_prefix(1);
    double read = 0.0;
    const std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), read);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small or too large: where the first significant digit stands
        // says which.
        if (DecimalOrder(text) > 0)
            return false;
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(read))
        return false;
    value = read;
    return true;
}

std::string ShortestDecimal(double value)
{
    if (value == 0.0)
        return "0";
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
