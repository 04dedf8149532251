#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

std::string GroupDigits(const std::string& digits, const std::string& separator)
{
    std::string grouped;
    const size_t count = digits.size();
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

// Splits |value| rounded to the given decimals into its integer digits and
// its decimal digits. Scaling by a power of ten is exact in extended
// precision for the decimals used here, so halves are recognised exactly.
void SplitRounded(double value, int decimals, std::string& integerDigits, std::string& fraction)
{
    long double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const long double scaled = std::fabs(static_cast<long double>(value)) * scale;
    char buffer[64];
    if (scaled < 1e18L) {
        const unsigned long long units = static_cast<unsigned long long>(std::roundl(scaled));
        std::snprintf(buffer, sizeof buffer, "%0*llu", decimals + 1, units);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.0Lf", std::roundl(scaled));
    }
    const std::string all = buffer;
    integerDigits = all.substr(0, all.size() - static_cast<size_t>(decimals));
    fraction = all.substr(all.size() - static_cast<size_t>(decimals));
}

}  // namespace

std::string FormatNumber(double value, int decimals, const TNumberFormat& format)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    std::string integerDigits;
    std::string fraction;
    SplitRounded(value, decimals, integerDigits, fraction);
    std::string text = GroupDigits(integerDigits, format.ThousandSeparator);
    if (decimals > 0)
        text += format.DecimalSeparator + fraction;
    const bool zero = integerDigits.find_first_not_of('0') == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !zero)
        text = "-" + text;
    return text;
}

std::string FormatFixed2(double value, const TNumberFormat& format)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    std::string integerDigits;
    std::string fraction;
    SplitRounded(value, 2, integerDigits, fraction);
    std::string text = integerDigits + format.DecimalSeparator + fraction;
    if (value < 0 && (integerDigits.find_first_not_of('0') != std::string::npos ||
                      fraction.find_first_not_of('0') != std::string::npos))
        text = "-" + text;
    return text;
}

long double FactorialExtended(int32_t count)
{
    long double product = 1;
    for (int32_t i = 2; i <= count; ++i)
        product *= i;
    return product;
}

namespace {

// count! as a mantissa in [1, 10) and a decimal exponent, for counts whose
// product leaves even the extended range (from 1755 points on). The
// mantissa is renormalised after every factor, so its relative error grows
// only by a rounding per factor: about 1e-15 at 10 000 points.
std::string ScaledPermutationCount(int32_t count, const TNumberFormat& format)
{
    long double mantissa = 1;
    int64_t exponent = 0;
    for (int32_t i = 2; i <= count; ++i) {
        mantissa *= i;
        while (mantissa >= 10) {
            mantissa /= 10;
            ++exponent;
        }
    }
    // Fifteen significant digits: the ones the product still holds exactly.
    // The digits as a whole number, so no locale's decimal point gets in.
    long long digits = std::llroundl(mantissa * 1e14L);
    if (digits >= 1000000000000000LL) {
        digits /= 10;
        ++exponent;
    }
    std::string fraction = std::to_string(digits).substr(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = std::to_string(digits / 100000000000000LL);
    if (!fraction.empty())
        text += format.DecimalSeparator + fraction;
    return text + "E" + std::to_string(exponent);
}

}  // namespace

std::string FormatPermutationCount(int32_t count, const TNumberFormat& format)
{
    const long double value = FactorialExtended(count);
    if (!std::isfinite(value))
        return ScaledPermutationCount(count, format);
    char buffer[128];
    if (value < 1e18L) {
        std::snprintf(buffer, sizeof buffer, "%.0Lf", value);
        return GroupDigits(buffer, format.ThousandSeparator);
    }
    // d.ddddddddddddddddde+XX, trailing zeros of the mantissa dropped.
    // to_chars, unlike printf, never takes LC_NUMERIC's decimal point, which
    // the window sets from the user's locale.
    const std::string text(buffer,
                           std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 17).ptr);
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const int exponent = std::stoi(text.substr(e + 1));
    while (!mantissa.empty() && mantissa.back() == '0')
        mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.')
        mantissa.pop_back();
    const size_t point = mantissa.find('.');
    if (point != std::string::npos)
        mantissa.replace(point, 1, format.DecimalSeparator);
    return mantissa + "E" + std::to_string(exponent);
}

std::string PermutationCountText(int32_t count, const TNumberFormat& format)
{
    // The same number as the scientific form, whose 15 or more significant
    // digits are rounded here to three.
    const std::string full = FormatPermutationCount(count, format);
    const size_t e = full.find('E');
    if (e == std::string::npos)
        return full;
    std::string digits;
    for (const char c : full.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    int64_t exponent = std::stoll(full.substr(e + 1));
    digits.resize(std::max<size_t>(digits.size(), 4), '0');
    int32_t kept = (digits[0] - '0') * 100 + (digits[1] - '0') * 10 + (digits[2] - '0');
    if (digits[3] >= '5')
        ++kept;
    if (kept >= 1000) {
        kept /= 10;
        ++exponent;
    }
    const std::string mantissa = std::to_string(kept);
    static const char* const superscripts[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3", "\u2074",
                                               "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
    std::string power;
    for (const char c : std::to_string(exponent))
        power += superscripts[c - '0'];
    return mantissa.substr(0, 1) + format.DecimalSeparator + mantissa.substr(1) + " \u00b7 10" + power;
}

std::string FormatElapsedTime(int64_t milliseconds, const std::string& pattern)
{
    const int64_t secondsOfDay = (milliseconds / 1000) % 86400;
    const int hours = static_cast<int>(secondsOfDay / 3600);
    const int minutes = static_cast<int>(secondsOfDay / 60 % 60);
    const int seconds = static_cast<int>(secondsOfDay % 60);
    std::string text;
    size_t i = 0;
    auto two = [](int v) {
        char b[8];
        std::snprintf(b, sizeof b, "%02d", v);
        return std::string(b);
    };
    while (i < pattern.size()) {
        const char c = pattern[i];
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        const bool twoDigits = run >= 2;
        if (c == 'H' || c == 'h') {
            int shown = hours;
            if (c == 'h' && (pattern.find("AP") != std::string::npos || pattern.find("ap") != std::string::npos)) {
                shown = hours % 12;
                if (shown == 0)
                    shown = 12;
            }
            text += twoDigits ? two(shown) : std::to_string(shown);
        } else if (c == 'm') {
            text += twoDigits ? two(minutes) : std::to_string(minutes);
        } else if (c == 's') {
            text += twoDigits ? two(seconds) : std::to_string(seconds);
        } else if ((c == 'A' || c == 'a') && i + 1 < pattern.size() &&
                   (pattern[i + 1] == 'P' || pattern[i + 1] == 'p')) {
            text += hours < 12 ? (c == 'A' ? "AM" : "am") : (c == 'A' ? "PM" : "pm");
            run = 2;
        } else if (c == 't') {
            // The time zone makes no sense for a duration.
        } else if (c == '\'') {
            const size_t close = pattern.find('\'', i + 1);
            const size_t end = close == std::string::npos ? pattern.size() : close;
            text += pattern.substr(i + 1, end - i - 1);
            run = end - i + 1;
        } else {
            text.append(run, c);
        }
        i += run;
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}
