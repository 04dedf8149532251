#include "cli/option_values.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "cli/exit_status.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "„" + text + "”";
}

bool ParseWhole(const std::string& text, int64_t& value)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    // from_chars takes a minus sign but no plus, and nothing after the sign
    // but digits.
    if (first == last || (*first == '-' && first + 1 == last))
        return false;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        value = (*first == '-') ? INT64_MIN : INT64_MAX;
        return end == last;
    }
    return error == std::errc() && end == last;
}

// A range end as the user would type it: "1", "3600", "0.5".
std::string DecimalText(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

int64_t ParseIntOption(const std::string& option, const std::string& text, int64_t min, int64_t max)
{
    int64_t value = 0;
    if (!ParseWhole(text, value))
        throw TUsageError(option + ": oczekiwano liczby całkowitej, podano " + Quoted(text));
    if (value < min || value > max)
        throw TUsageError(option + ": wartość " + text + " poza zakresem " + std::to_string(min) + ".." +
                          std::to_string(max));
    return value;
}

double ParseDecimalOption(const std::string& option, const std::string& text)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (first == last || error != std::errc() || end != last || !std::isfinite(value))
        throw TUsageError(option + ": oczekiwano liczby dziesiętnej z kropką (np. 0.5), podano " + Quoted(text));
    return value;
}

double ParseDecimalOption(const std::string& option, const std::string& text, double min, double max)
{
    const double value = ParseDecimalOption(option, text);
    if (value < min || value > max)
        throw TUsageError(option + ": wartość " + text + " poza zakresem " + DecimalText(min) + ".." +
                          DecimalText(max));
    return value;
}

TMapSize ParseMapSize(const std::string& option, const std::string& text, int32_t maxSide)
{
    // "x" as typed, or the multiplication sign as printed ("495×382").
    const std::string times = "\u00d7";
    size_t x = text.find(times);
    size_t separator = times.size();
    if (x == std::string::npos) {
        x = text.find_first_of("xX");
        separator = 1;
    }
    int64_t width = 0;
    int64_t height = 0;
    if (x == std::string::npos || !ParseWhole(text.substr(0, x), width) ||
        !ParseWhole(text.substr(x + separator), height))
        throw TUsageError(option + ": oczekiwano rozmiaru SZERxWYS (np. 495x382), podano " + Quoted(text));
    if (width < 1 || width > maxSide || height < 1 || height > maxSide)
        throw TUsageError(option + ": rozmiar " + text + " poza zakresem 1x1.." + std::to_string(maxSide) + "x" +
                          std::to_string(maxSide));
    return TMapSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

std::vector<int32_t> ParseIndexList(const std::string& option, const std::string& text)
{
    std::vector<int32_t> indices;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int64_t value = 0;
        // Point numbers are plain digits, as in a tour file: no plus sign.
        if (item.rfind('+', 0) == 0 || !ParseWhole(item, value) || value < INT32_MIN || value > INT32_MAX)
            throw TUsageError(option + ": oczekiwano indeksów punktów rozdzielonych przecinkami (np. 0,2,1), podano " +
                              Quoted(text));
        indices.push_back(static_cast<int32_t>(value));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return indices;
}

void CheckIndices(const std::string& option, const std::vector<int32_t>& indices, size_t count, bool allowNoPoint)
{
    for (const int32_t index : indices) {
        if ((index >= 0 && static_cast<size_t>(index) < count) || (allowNoPoint && index == -1))
            continue;
        const std::string known = count == 0 ? "zbiór jest pusty" : "indeksy punktów: 0.." + std::to_string(count - 1);
        throw TUsageError(option + ": nie ma punktu " + std::to_string(index) + " (" + known + ")");
    }
}
